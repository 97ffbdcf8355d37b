# Installing and packaging. The same rules lay out dist/ for scripts/run, the folder tree of
# `cmake --install`, and the ZIP that CPack makes of the Windows build:
#
#   orlin.exe  orlin-cli.exe  LICENSE.txt  demo.bin  resources/strings/*.txt  patterns/*.orpat
#
# The programs look for resources/ and patterns/ beside themselves, so on Windows everything
# sits in one folder. Elsewhere only orlin-cli is built: it goes to bin/ and, having its
# English texts built in, needs nothing beside it; the data goes to share/orlin/.

if(WIN32)
  set(ORX_INSTALL_BINDIR .)
  set(ORX_INSTALL_DATADIR .)
else()
  include(GNUInstallDirs)
  set(ORX_INSTALL_BINDIR ${CMAKE_INSTALL_BINDIR})
  set(ORX_INSTALL_DATADIR ${CMAKE_INSTALL_DATADIR}/orlin)
endif()

# The numbers in the Windows version resource: "1.03" is major 1, minor 3.
math(EXPR PROJECT_VERSION_MAJOR_NUMBER "${PROJECT_VERSION_MAJOR}")
math(EXPR PROJECT_VERSION_MINOR_NUMBER "${PROJECT_VERSION_MINOR}")
set(ORX_VERSION_QUAD "${PROJECT_VERSION_MAJOR_NUMBER}.${PROJECT_VERSION_MINOR_NUMBER}.0.0")
set(ORX_GENERATED_RESOURCES ${PROJECT_BINARY_DIR}/resources/win)
configure_file(${PROJECT_SOURCE_DIR}/resources/win/OrxVersion.h.in ${ORX_GENERATED_RESOURCES}/OrxVersion.h @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/resources/win/orlin.manifest.in ${ORX_GENERATED_RESOURCES}/orlin.manifest @ONLY)

# orx_windows_resources(TARGET RC_FILE): lets the .rc among an executable's sources include
# resources/win/VersionInfo.rc for its manifest and version information.
function(orx_windows_resources target rc_file)
  target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR}/resources/win ${ORX_GENERATED_RESOURCES})
  set_property(SOURCE ${rc_file} APPEND PROPERTY OBJECT_DEPENDS
    ${PROJECT_SOURCE_DIR}/resources/win/VersionInfo.rc
    ${ORX_GENERATED_RESOURCES}/OrxVersion.h ${ORX_GENERATED_RESOURCES}/orlin.manifest)
endfunction()

# orx_install_program(TARGET): an executable of the package.
function(orx_install_program target)
  install(TARGETS ${target} RUNTIME DESTINATION ${ORX_INSTALL_BINDIR})
endfunction()

install(FILES ${PROJECT_SOURCE_DIR}/resources/LICENSE.txt DESTINATION ${ORX_INSTALL_DATADIR})
install(FILES ${PROJECT_SOURCE_DIR}/resources/demo/demo.bin DESTINATION ${ORX_INSTALL_DATADIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/resources/strings DESTINATION ${ORX_INSTALL_DATADIR}/resources
  FILES_MATCHING PATTERN "*.txt")
install(DIRECTORY ${PROJECT_SOURCE_DIR}/patterns/ DESTINATION ${ORX_INSTALL_DATADIR}/patterns
  FILES_MATCHING PATTERN "*.orpat")

# `cpack` in the Windows build tree makes orlin-<version>-win64.zip, whose one top folder
# has the same name.
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME orlin)
set(CPACK_PACKAGE_VENDOR "the Orlin developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Orlin, a hex editor for 64-bit Windows")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/resources/LICENSE.txt)
if(WIN32)
  set(CPACK_SYSTEM_NAME win64)
else()
  set(CPACK_SYSTEM_NAME ${CMAKE_SYSTEM_NAME})
endif()
set(CPACK_PACKAGE_FILE_NAME orlin-${PROJECT_VERSION}-${CPACK_SYSTEM_NAME})
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/package)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
include(CPack)
