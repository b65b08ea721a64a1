# Helpers for tests, benchmarks and fuzz targets.

# quill_test(<name> SOURCES <files...> LIBS <targets...> [TIMEOUT <seconds>])
# A GoogleTest program; every test in it becomes a CTest test. Its main
# function (testsupport_main) gives it a temporary directory of its own.
# Each test is ended after TIMEOUT seconds, in both builds. Without it, 30
# seconds: no unit test takes two here, even on a machine loaded five times
# over; and 90 in the sanitizer build, whose unoptimised, checked code runs
# the heaviest twenty times as long (a registry file at its limit, 12 s).
function(quill_test name)
  cmake_parse_arguments(ARG "" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 30)
    if(QUILL_SANITIZE)
      set(ARG_TIMEOUT 90)
    endif()
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} testsupport_main)
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST
    PROPERTIES ENVIRONMENT "QUILL_TEST_DATA=${PROJECT_BINARY_DIR}/testdata"
               TIMEOUT ${ARG_TIMEOUT})
endfunction()

# quill_benchmark(<name> SOURCES <files...> LIBS <targets...>)
# Built by every normal build, never run as a test.
function(quill_benchmark name)
  if(QUILL_SANITIZE)
    return()
  endif()
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} benchmark::benchmark benchmark::benchmark_main)
endfunction()

# quill_fuzzer(<name> SOURCES <files...> LIBS <targets...> [CORPUS <dir>])
# A libFuzzer target; in a fuzz build it also runs as a test for
# QUILL_FUZZ_SECONDS seconds.
function(quill_fuzzer name)
  if(NOT QUILL_FUZZ)
    return()
  endif()
  cmake_parse_arguments(ARG "" "CORPUS" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  set(work ${CMAKE_CURRENT_BINARY_DIR}/${name}.corpus)
  set(seeds "")
  if(ARG_CORPUS)
    set(seeds ${ARG_CORPUS})
  endif()
  add_test(NAME ${name}
    COMMAND ${PROJECT_SOURCE_DIR}/tools/run-fuzzer
            $<TARGET_FILE:${name}> ${QUILL_FUZZ_SECONDS} ${work} ${seeds})
  # libFuzzer stops itself after the seconds asked for; the limit only
  # catches one that hangs, with a margin for reading the seeds and the
  # final report on a loaded machine.
  math(EXPR limit "${QUILL_FUZZ_SECONDS} + 120")
  set_tests_properties(${name} PROPERTIES LABELS fuzz TIMEOUT ${limit})
endfunction()

# quill_embed_resources(<target> <image>)
# Builds the resources of a PE image (a resource library, such as resdll
# makes) into the program <target>: GetModuleHandleA(NULL), and a null module
# handle in the resource functions, then find them. When the image is made by
# the build in another folder, also add_dependencies on the target making it.
function(quill_embed_resources target image)
  get_filename_component(image ${image} ABSOLUTE BASE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
  set(source ${CMAKE_CURRENT_BINARY_DIR}/${target}_resources.cpp)
  set(script ${PROJECT_SOURCE_DIR}/cmake/EmbedResources.cmake)
  add_custom_command(
    OUTPUT ${source}
    COMMAND ${CMAKE_COMMAND} -DIMAGE=${image} -DSOURCE=${source} -P ${script}
    DEPENDS ${image} ${script}
    COMMENT "Embedding the resources of ${image} into ${target}"
    VERBATIM)
  target_sources(${target} PRIVATE ${source})
endfunction()
