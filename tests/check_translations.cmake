# Runs lupdate over every source folder into a copy of the Korean catalogue and
# fails when any text is new (unfinished) or has an empty translation. lupdate
# follows the includes from the source root, so it sees the namespace a class
# is declared in and names the context as tr() does at run time
# ("pomelark::WelcomeView", not "WelcomeView").
file(MAKE_DIRECTORY "${WORK_DIR}")
set(copy "${WORK_DIR}/pomelark_ko.ts")
file(COPY_FILE "${TS_FILE}" "${copy}")

set(folders)
foreach(folder platform services look app browsing tidy_send)
  if(EXISTS "${SOURCE_ROOT}/${folder}")
    list(APPEND folders "${SOURCE_ROOT}/${folder}")
  endif()
endforeach()

execute_process(
  COMMAND "${LUPDATE}" -silent -no-obsolete -locations none -extensions cpp,h -I "${SOURCE_ROOT}" ${folders} -ts "${copy}"
  RESULT_VARIABLE status
  OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "lupdate failed: ${out}${err}")
endif()

file(READ "${copy}" catalogue)
string(REGEX MATCHALL "<message[^>]*>([^<]|<[^/]|</[^m])*</message>" messages "${catalogue}")
set(missing "")
set(count 0)
foreach(message IN LISTS messages)
  math(EXPR count "${count} + 1")
  if(message MATCHES "type=\"unfinished\"" OR message MATCHES "<translation>[ \t\r\n]*</translation>"
     OR message MATCHES "<translation/>" OR message MATCHES "<translation type=\"vanished\""
     OR message MATCHES "<numerusform>[ \t\r\n]*</numerusform>")
    string(REGEX MATCH "<source>([^<]*)</source>" source "${message}")
    string(APPEND missing "\n  ${CMAKE_MATCH_1}")
  endif()
endforeach()
if(count EQUAL 0)
  message(FATAL_ERROR "No translatable texts were found; lupdate did not read the sources.")
endif()
if(NOT missing STREQUAL "")
  message(FATAL_ERROR "Texts without a Korean translation in translations/pomelark_ko.ts:${missing}")
endif()
message(STATUS "All ${count} texts have a Korean translation.")
