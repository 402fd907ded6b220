# Writes a program's manual page from its --help and --version, compressed without a time
# stamp.   cmake -DHELP2MAN=<help2man> -DPROGRAM=<executable> -DSUMMARY=<one line>
#                -DOUTPUT=<page.1.gz> -P ManPage.cmake
get_filename_component(folder ${OUTPUT} DIRECTORY)
file(MAKE_DIRECTORY ${folder})
# Neither program needs a display for these two options; offscreen keeps Qt quiet if asked.
set(ENV{QT_QPA_PLATFORM} offscreen)
execute_process(
  COMMAND ${HELP2MAN} --no-info --section=1 --name=${SUMMARY} --no-discard-stderr ${PROGRAM}
  COMMAND gzip -9n
  OUTPUT_FILE ${OUTPUT}.part
  RESULTS_VARIABLE rc
  ERROR_VARIABLE err)
if(NOT rc STREQUAL "0;0")
  file(REMOVE ${OUTPUT}.part)
  message(FATAL_ERROR "help2man ${PROGRAM} failed: ${err}")
endif()
file(RENAME ${OUTPUT}.part ${OUTPUT})
