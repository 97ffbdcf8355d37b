# Helpers shared by every subsystem's CMakeLists.txt.

function(orx_warnings target)
  if(MSVC)
    target_compile_options(${target} PRIVATE /W4 /utf-8 $<$<BOOL:${ORX_WERROR}>:/WX>)
  else()
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic $<$<BOOL:${ORX_WERROR}>:-Werror>)
  endif()
  if(WIN32)
    target_compile_definitions(${target} PRIVATE UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0A00)
  endif()
endfunction()

# orx_library(NAME SOURCES ... DEPS ...): a static library of the portable core or a shell.
function(orx_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${ARG_DEPS})
  orx_warnings(${name})
endfunction()

# orx_test(NAME SOURCES ... DEPS ...): one GoogleTest program, registered with ctest.
# In the cross build ctest runs it through the emulator (wine).
function(orx_test name)
  cmake_parse_arguments(ARG "" "TIMEOUT" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests)
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} orx_gtest_main)
  orx_warnings(${name})
  add_test(NAME ${name} COMMAND ${name})
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 600)
  endif()
  set_tests_properties(${name} PROPERTIES TIMEOUT ${ARG_TIMEOUT}
    ENVIRONMENT "ORX_SOURCE_DIR=${PROJECT_SOURCE_DIR};ORX_BINARY_DIR=${PROJECT_BINARY_DIR}")
endfunction()

# orx_fuzzer(NAME SOURCES ... DEPS ...): a libFuzzer target (clang, ORX_FUZZ=ON).
function(orx_fuzzer name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PRIVATE ${ARG_DEPS})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  orx_warnings(${name})
endfunction()

# Adds <dir>/<subsystem> for every subsystem that has a CMakeLists.txt there.
macro(orx_add_subsystem_dirs)
  foreach(sub ${ORX_SUBSYSTEMS})
    if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${sub}/CMakeLists.txt)
      add_subdirectory(${sub})
    endif()
  endforeach()
endmacro()

# orx_subsystem_library(NAME DEPS ...): every .cpp of the current folder in one library,
# plus the win/ shell folder on Windows when it exists. Several people can add files to a
# subsystem without editing its build file.
function(orx_subsystem_library name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(sources)
    orx_library(${name} SOURCES ${sources} DEPS ${ARG_DEPS})
  else()
    # Headers only so far.
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} INTERFACE ${ARG_DEPS})
  endif()
endfunction()

# orx_subsystem_tests(NAME DEPS ...): every *Test.cpp of the current folder in one program.
function(orx_subsystem_tests name)
  cmake_parse_arguments(ARG "" "TIMEOUT" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*Test.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*Tests.cpp)
  file(GLOB support CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/support/*.cpp)
  if(sources)
    orx_test(${name} SOURCES ${sources} ${support} DEPS ${ARG_DEPS} TIMEOUT ${ARG_TIMEOUT})
  endif()
endfunction()
