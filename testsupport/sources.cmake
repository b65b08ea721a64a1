# The sources of the test support, for the Linux build (CMakeLists.txt) and
# the Windows build (windows/CMakeLists.txt) alike.
set(testsupport_sources ${CMAKE_CURRENT_LIST_DIR}/scratchfolder.cpp)
set(testsupport_main_sources ${CMAKE_CURRENT_LIST_DIR}/main.cpp)
