# The sources of common/ and of its tests, for the Linux build (CMakeLists.txt)
# and the Windows build (windows/CMakeLists.txt) alike.
set(common_sources logger.cpp strings.cpp textconv.cpp numeric.cpp errors.cpp files.cpp
  registry.cpp process.cpp)
# Tests that run on both systems; those after them need the platform
# layer's test controls, which only the Linux build has.
set(common_tests logger_test.cpp strings_test.cpp textconv_test.cpp numeric_test.cpp
  files_test.cpp registry_test.cpp)
set(common_layer_tests errors_test.cpp process_test.cpp)
foreach(list common_sources common_tests common_layer_tests)
  list(TRANSFORM ${list} PREPEND ${CMAKE_CURRENT_LIST_DIR}/)
endforeach()
