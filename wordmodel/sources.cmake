# The sources of wordmodel/ and of its tests, for the Linux build
# (CMakeLists.txt) and the Windows build (windows/CMakeLists.txt) alike.
set(wordmodel_sources graphemeindex.cpp javatext.cpp library.cpp recording.cpp references.cpp
  syllables.cpp taggedword.cpp word.cpp wordchecks.cpp wordgroups.cpp wordkinds.cpp
  wordmerge.cpp wordoutput.cpp wordtables.cpp)
set(wordmodel_tests graphemeindex_test.cpp library_test.cpp syllables_test.cpp word_test.cpp
  taggedword_test.cpp wordkinds_test.cpp references_test.cpp wordgroups_test.cpp
  wordoutput_test.cpp wordchecks_test.cpp wordmerge_test.cpp javatext_test.cpp
  wordmodel_testenv.cpp)
# The state before set-up and the set-up itself can only be seen once per
# process, so they get programs of their own.
set(wordmodel_setup_tests setup_test.cpp)
set(wordmodel_recording_unset_tests recording_unset_test.cpp)
foreach(list wordmodel_sources wordmodel_tests wordmodel_setup_tests
             wordmodel_recording_unset_tests)
  list(TRANSFORM ${list} PREPEND ${CMAKE_CURRENT_LIST_DIR}/)
endforeach()
