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
  orx_check_target(${name})
endfunction()

# orx_test(NAME SOURCES ... DEPS ...): one GoogleTest program, registered with ctest.
# In the cross build ctest runs it through the emulator (wine).
function(orx_test name)
  cmake_parse_arguments(ARG "" "TIMEOUT" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests)
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} orx_gtest_main)
  orx_warnings(${name})
  orx_check_target(${name})
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
  orx_check_target(${name})
endfunction()

# Adds <dir>/<subsystem> for every subsystem that has a CMakeLists.txt there, and in Windows
# builds its window shell <dir>/<subsystem>/win as well.
macro(orx_add_subsystem_dirs)
  foreach(sub ${ORX_SUBSYSTEMS})
    if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${sub}/CMakeLists.txt)
      add_subdirectory(${sub})
    endif()
    if(WIN32 AND EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${sub}/win/CMakeLists.txt)
      add_subdirectory(${sub}/win)
    endif()
  endforeach()
endmacro()

# orx_subsystem_library(NAME DEPS ...): every .cpp of the current folder in one library.
# Several people can add files to a subsystem without editing its build file. A window
# shell is a library of its own, in the win/ folder beside.
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
    orx_check_target(${name})
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

# orx_check_target(NAME): hands a target to the layering check (see OrxLayers.cmake). Every
# target made by the helpers above is handed over; a target made by hand calls this itself.
function(orx_check_target name)
  set_property(GLOBAL APPEND PROPERTY ORX_CHECKED_TARGETS ${name})
endfunction()

# Writes what the layering check needs to know of each checked target (its folder, what it
# links, its sources) to orx_layering.txt in the build tree, and registers the check with
# ctest. Called once, after every folder has been added.
function(orx_write_layering_manifest)
  get_property(targets GLOBAL PROPERTY ORX_CHECKED_TARGETS)
  set(manifest "")
  foreach(target ${targets})
    get_target_property(type ${target} TYPE)
    get_target_property(dir ${target} SOURCE_DIR)
    if(type STREQUAL "INTERFACE_LIBRARY")
      get_target_property(links ${target} INTERFACE_LINK_LIBRARIES)
      set(sources "")
    else()
      get_target_property(links ${target} LINK_LIBRARIES)
      get_target_property(sources ${target} SOURCES)
    endif()
    set(deps "")
    foreach(link ${links})
      if(TARGET ${link} AND link MATCHES "^orx_")
        list(APPEND deps ${link})
      endif()
    endforeach()
    set(files "")
    foreach(source ${sources})
      cmake_path(ABSOLUTE_PATH source BASE_DIRECTORY ${dir} NORMALIZE OUTPUT_VARIABLE source)
      list(APPEND files ${source})
    endforeach()
    list(JOIN deps "," deps)
    list(JOIN files "," files)
    string(APPEND manifest "target ${target}\ntype ${type}\ndir ${dir}\nlinks ${deps}\nsources ${files}\n")
  endforeach()
  file(WRITE ${CMAKE_BINARY_DIR}/orx_layering.txt "${manifest}")
  add_test(NAME orx_layering
    COMMAND ${CMAKE_COMMAND} -DORX_ROOT=${PROJECT_SOURCE_DIR}
            -DORX_MANIFEST=${CMAKE_BINARY_DIR}/orx_layering.txt
            -P ${PROJECT_SOURCE_DIR}/cmake/CheckLayers.cmake)
endfunction()

# orx_wine_bench(NAME SOURCES ... DEPS ...): a Windows benchmark program, built only on
# request (its script under bench/app builds and runs it under Wine).
function(orx_wine_bench name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} EXCLUDE_FROM_ALL ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS})
  orx_warnings(${name})
  if(MINGW)
    target_link_options(${name} PRIVATE -municode)
  endif()
  orx_check_target(${name})
endfunction()

# orx_delay_import(NAME DLL FUNCTION...): the link target NAME for the system DLL, loaded at
# the first call of one of the FUNCTIONs rather than with the program (a delay-import library
# made by MinGW-w64's dlltool); elsewhere the plain import library. Under Wine, comctl32
# alone takes 30 to 50 ms to load; the first rows need none of what it offers.
function(orx_delay_import name dll)
  add_library(${name} INTERFACE)
  string(REGEX REPLACE "\\.dll$" "" plain "${dll}")
  if(NOT MINGW)
    target_link_libraries(${name} INTERFACE ${plain})
    return()
  endif()
  find_program(ORX_DLLTOOL NAMES ${TOOLCHAIN_PREFIX}-dlltool x86_64-w64-mingw32-dlltool dlltool
               REQUIRED)
  set(def "${CMAKE_BINARY_DIR}/delay-import/${plain}.def")
  set(lib "${CMAKE_BINARY_DIR}/delay-import/lib${plain}-delayed.a")
  list(JOIN ARGN "\n" exports)
  file(WRITE "${def}" "LIBRARY ${dll}\nEXPORTS\n${exports}\n")
  add_custom_command(OUTPUT "${lib}"
    COMMAND ${ORX_DLLTOOL} --input-def "${def}" --dllname ${dll} --output-delaylib "${lib}"
    DEPENDS "${def}" VERBATIM)
  add_custom_target(${name}_library DEPENDS "${lib}")
  add_dependencies(${name} ${name}_library)
  target_link_libraries(${name} INTERFACE "${lib}" delayimp)
endfunction()
