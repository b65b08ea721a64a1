# The sources of the test support, for the Linux build (CMakeLists.txt) and
# the Windows build (windows/CMakeLists.txt) alike.
set(testsupport_sources scratchfolder.cpp testdata.cpp wholefile.cpp)
list(TRANSFORM testsupport_sources PREPEND ${CMAKE_CURRENT_LIST_DIR}/)
set(testsupport_main_sources ${CMAKE_CURRENT_LIST_DIR}/main.cpp)
