# cmake -DRESDLL=<exe> -DOBJDUMP=<exe> -DDATA=<testdata> -DWORK=<dir> -P resdll_objdump_test.cmake
# Builds a library with resdll and checks that binutils' objdump, a reader
# that is not ours, lists its headers and resource directory as built.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
set(dll ${WORK}/aud_de_de_mc_01.dll)
execute_process(
  COMMAND ${RESDLL} -l 1031 -o ${dll} MP3:1702=${DATA}/schule.mp3 MP3:1703=${DATA}/wasser.mp3
          WAVE:Begruessung=${DATA}/tone.wav STRING:1=Schule
  RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "resdll failed: ${result}")
endif()
execute_process(COMMAND ${OBJDUMP} -p ${dll} OUTPUT_VARIABLE listing RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "objdump failed: ${result}")
endif()

function(leaf file)
  file(SIZE ${file} size)
  math(EXPR hex "${size}" OUTPUT_FORMAT HEXADECIMAL)
  string(SUBSTRING "${hex}" 2 -1 digits)
  string(LENGTH "${digits}" length)
  while(length LESS 6)
    string(PREPEND digits 0)
    math(EXPR length "${length} + 1")
  endwhile()
  set(expected ${expected} "Leaf: Addr: 0x[0-9a-f]+, Size: 0x${digits}," PARENT_SCOPE)
endfunction()

set(expected
  "file format pei-i386"
  "Magic[ \t]+010b[ \t]+\\(PE32\\)"
  "Entry 2 00001000 [0-9a-f]+ Resource Directory"
  "Type Table: [^\n]*Num Names: 2, IDs: 1"
  "Entry: name: \\[val: [0-9a-f]+ len 3\\]: MP3,"
  "Entry: name: \\[val: [0-9a-f]+ len 4\\]: WAVE,"
  "Entry: name: \\[val: [0-9a-f]+ len 11\\]: BEGRUESSUNG,"
  "Entry: ID: 0x0006a6,"
  "Entry: ID: 0x0006a7,"
  "Entry: ID: 0x000006,"
  "Entry: ID: 0x000407,")
leaf(${DATA}/schule.mp3)
leaf(${DATA}/wasser.mp3)
leaf(${DATA}/tone.wav)
foreach(pattern IN LISTS expected)
  if(NOT listing MATCHES "${pattern}")
    message(FATAL_ERROR "objdump does not list \"${pattern}\":\n${listing}")
  endif()
endforeach()
