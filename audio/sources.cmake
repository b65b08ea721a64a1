# The sources of audio/ and of its tests, for the Linux build (CMakeLists.txt)
# and the Windows build (windows/CMakeLists.txt) alike.
set(audio_sources devicechoice.cpp directsound.cpp dsounderror.cpp fileimage.cpp mp3decode.cpp
  mp3decoder.cpp playback.cpp soundformat.cpp wave.cpp wavedata.cpp)
# Tests that run on both systems; those after them need the platform
# layer's test controls, which only the Linux build has.
set(audio_tests audio_testenv.cpp dsounderror_test.cpp soundformat_test.cpp wavedata_test.cpp)
set(audio_layer_tests directsound_test.cpp mp3decoder_test.cpp)
# A program of its own on both systems: it replaces the program's operator
# new to run memory out, which no other test should run on.
set(audio_allocation_tests devicechoice_test.cpp)
foreach(list audio_sources audio_tests audio_layer_tests audio_allocation_tests)
  list(TRANSFORM ${list} PREPEND ${CMAKE_CURRENT_LIST_DIR}/)
endforeach()
