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
include(UseJava)
