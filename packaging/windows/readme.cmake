# Writes the zip's README.txt from its template, with the program's --help
# (printed by print_help) in place of @NUDGEWICK_HELP@:
#   cmake -DTEMPLATE=README.txt.in -DPRINT_HELP=print_help -DOUT=README.txt
#         -DNUDGEWICK_DISPLAY_VERSION=... -DNUDGEWICK_ADDRESS=... -P readme.cmake
execute_process(COMMAND ${PRINT_HELP} OUTPUT_VARIABLE help RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "${PRINT_HELP} failed: ${status}")
endif()
string(REGEX REPLACE "\n$" "" help "${help}")
string(REPLACE "\n" "\n  " NUDGEWICK_HELP "  ${help}")
file(READ ${TEMPLATE} text)
string(CONFIGURE "${text}" text @ONLY)
string(REPLACE "\n" "\r\n" text "${text}")  # Notepad's line ends
file(WRITE ${OUT} "${text}")
