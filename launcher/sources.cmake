# The sources of the launcher and of its unit tests, for the Linux build
# (CMakeLists.txt) and the Windows build (windows/CMakeLists.txt) alike.
set(launcher_sources palette.cpp canvas.cpp resourcetext.cpp splash.cpp messageloop.cpp
  launcher.cpp commandline.cpp)
set(launcher_unit_tests palette_test.cpp canvas_test.cpp commandline_test.cpp
  resourcetext_test.cpp)
foreach(list launcher_sources launcher_unit_tests)
  list(TRANSFORM ${list} PREPEND ${CMAKE_CURRENT_LIST_DIR}/)
endforeach()
