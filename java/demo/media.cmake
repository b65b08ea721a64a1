# The demo installation's recordings, made at build time: each sample word
# of Demo.java spoken by espeak-ng, resampled to 44.1 kHz stereo, encoded by
# lame at 160 kbit/s CBR and packed by resdll into the recording library the
# word model looks up for the demo's audio kind 3 ("mr"): recording w<n>a is
# resource 1000 + 3n of media/de_de/aud_de_de_mr_01.dll. media/words.txt
# tells the demo which word has which recording.
find_program(ESPEAK_NG espeak-ng REQUIRED)
find_program(SOX sox REQUIRED)
find_program(LAME lame REQUIRED)

set(QUILL_DEMO_MEDIA ${PROJECT_BINARY_DIR}/demo/media/)
set(demo_work ${CMAKE_CURRENT_BINARY_DIR}/demo-recordings)
set(demo_library ${QUILL_DEMO_MEDIA}de_de/aud_de_de_mr_01.dll)
# The same words, in the same order, as Demo.SAMPLE_WORDS.
set(demo_words Haus Schule fahren Eier See Fahrrad Straße Wasser Tomatensalat Häuser Übung
               Bananenplantage pst 123)

# espeak-ng cuts a long file name and sox takes brackets for patterns: both
# get names relative to the folder they run in.
file(MAKE_DIRECTORY ${demo_work})
set(recordings "")
set(entries "")
set(index "")
set(number 0)
foreach(word IN LISTS demo_words)
  math(EXPR number "${number} + 1")
  math(EXPR id "1000 + 3 * ${number}")
  set(stem ${demo_work}/w${number})
  add_custom_command(
    OUTPUT ${stem}.mp3
    COMMAND ${ESPEAK_NG} -v de -w w${number}.wav ${word}
    COMMAND ${SOX} w${number}.wav -r 44100 -c 2 w${number}44.wav
    COMMAND ${LAME} --quiet -b 160 --cbr -m s w${number}44.wav w${number}.mp3
    WORKING_DIRECTORY ${demo_work}
    COMMENT "Recording the demo word ${word}"
    VERBATIM)
  list(APPEND recordings ${stem}.mp3)
  list(APPEND entries MP3:${id}=${stem}.mp3)
  string(APPEND index "${word}=w${number}a\n")
endforeach()

file(GENERATE OUTPUT ${QUILL_DEMO_MEDIA}words.txt CONTENT "${index}")
add_custom_command(
  OUTPUT ${demo_library}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${QUILL_DEMO_MEDIA}de_de
  COMMAND resdll -l 1031 -o ${demo_library} ${entries}
  DEPENDS resdll ${recordings}
  COMMENT "Packing the demo's recording library"
  VERBATIM)
add_custom_target(demo_media ALL DEPENDS ${demo_library})
