# The layer order of the modules under src/, lowest first. This list is the one place it is
# written down. A module may include the headers of modules before it, and then links them;
# it never includes one after it. Window shells ("<module>/win") come after every portable
# module, so that no portable code reaches for <windows.h>. The check that holds the code to
# this order is cmake/CheckLayers.cmake, run as the ctest test `orx_layering`.
set(ORX_LAYERS
  platform
  text
  ui
  worker
  document
  localization
  structview
  inspector
  hexview
  search
  checksum
  compare
  settings
  bookmarks
  app
  cli
  ui/win
  hexview/win
  inspector/win
  structview/win
  app/win)

# The folders to add under src/, tests/, bench/ and fuzz/: the first part of every module.
# A folder without a CMakeLists.txt is skipped, so a module can arrive without touching this.
set(ORX_SUBSYSTEMS "")
foreach(layer ${ORX_LAYERS})
  string(REGEX REPLACE "/.*" "" folder "${layer}")
  list(APPEND ORX_SUBSYSTEMS ${folder})
endforeach()
list(REMOVE_DUPLICATES ORX_SUBSYSTEMS)
