# The JDK that builds and runs the Java side: java, javac and the JNI headers
# (JNI_INCLUDE_DIRS). Nothing links the JVM; it loads our libraries itself.
#
# FindJNI knows only some JDK directory names; unless JAVA_HOME says which
# JDK to use, take the one whose javac is on the path.
find_package(Java 17 REQUIRED COMPONENTS Runtime Development)
if(NOT JAVA_HOME AND NOT DEFINED ENV{JAVA_HOME})
  get_filename_component(quill_javac "${Java_JAVAC_EXECUTABLE}" REALPATH)
  get_filename_component(quill_jdk_bin "${quill_javac}" DIRECTORY)
  get_filename_component(JAVA_HOME "${quill_jdk_bin}" DIRECTORY)
endif()
find_package(JNI REQUIRED)

# quill_jni_exports(<target> <version script>)
# The JNI library <target> exports what the linker version script lists and
# nothing else, and links only when every symbol is resolved. The script's
# path goes to the linker whole (-Xlinker), since the linker's option
# prefixes split at commas, which a checkout's path may hold.
function(quill_jni_exports target script)
  target_link_options(${target} PRIVATE "SHELL:-Xlinker \"--version-script=${script}\"")
  if(NOT QUILL_SANITIZE AND NOT QUILL_FUZZ)
    # Instrumented builds leave the sanitizer runtime to the loading process.
    target_link_options(${target} PRIVATE "LINKER:--no-undefined")
  endif()
  set_target_properties(${target} PROPERTIES LINK_DEPENDS ${script})
endfunction()

# quill_jar(<name> SOURCES <files...> [ENTRY_POINT <class>] [OUTPUT_NAME <stem>]
#           [OUTPUT_DIR <dir>] [INCLUDE_JARS <quill_jar targets...>])
# Compiles the sources and packs their classes into <stem>.jar (default
# <name>.jar) in <dir> (default the current binary folder); the target's
# JAR_FILE property names it. javac and jar run in a UTF-8 locale whatever
# the caller's, so that a path with letters outside ASCII reaches them whole,
# and jar takes the class folder itself rather than a list of the classes
# found by a pattern, which brackets in the path would spoil.
function(quill_jar name)
  cmake_parse_arguments(ARG "" "ENTRY_POINT;OUTPUT_NAME;OUTPUT_DIR" "SOURCES;INCLUDE_JARS" ${ARGN})
  if(NOT ARG_OUTPUT_NAME)
    set(ARG_OUTPUT_NAME ${name})
  endif()
  if(NOT ARG_OUTPUT_DIR)
    set(ARG_OUTPUT_DIR ${CMAKE_CURRENT_BINARY_DIR})
  endif()
  set(jar ${ARG_OUTPUT_DIR}/${ARG_OUTPUT_NAME}.jar)
  set(classes ${CMAKE_CURRENT_BINARY_DIR}/CMakeFiles/${name}.dir/classes)
  list(TRANSFORM ARG_SOURCES PREPEND ${CMAKE_CURRENT_SOURCE_DIR}/ REGEX "^[^/]")
  set(classpath "")
  set(jar_files "")
  foreach(included IN LISTS ARG_INCLUDE_JARS)
    list(APPEND jar_files $<TARGET_PROPERTY:${included},JAR_FILE>)
  endforeach()
  list(JOIN jar_files ":" classpath)
  set(main "")
  if(ARG_ENTRY_POINT)
    set(main --main-class ${ARG_ENTRY_POINT})
  endif()
  set(utf8 ${CMAKE_COMMAND} -E env LC_ALL=C.UTF-8 --)
  add_custom_command(
    OUTPUT ${jar}
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${classes}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${classes} ${ARG_OUTPUT_DIR}
    COMMAND ${utf8} ${Java_JAVAC_EXECUTABLE} -encoding UTF-8 -Xlint:all -Werror
            -classpath "${classpath}" -d ${classes} ${ARG_SOURCES}
    COMMAND ${utf8} ${Java_JAR_EXECUTABLE} --create --file ${jar} ${main} -C ${classes} .
    DEPENDS ${ARG_SOURCES} ${jar_files}
    COMMENT "Building the Java archive ${ARG_OUTPUT_NAME}.jar"
    VERBATIM)
  add_custom_target(${name} ALL DEPENDS ${jar})
  set_target_properties(${name} PROPERTIES JAR_FILE ${jar})
  if(ARG_INCLUDE_JARS)
    add_dependencies(${name} ${ARG_INCLUDE_JARS})
  endif()
endfunction()
