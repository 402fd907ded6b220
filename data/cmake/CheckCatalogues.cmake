# Runs "roviro-cli catalogue check" over the packed archives and insists on a clean result:
# exit code 0 (no message shown, nothing skipped) and exactly EXPECTED motor types listed.
#   cmake -DCLI=... -DCONFIG=... -DEXPECTED=9 -P CheckCatalogues.cmake
execute_process(COMMAND ${CLI} catalogue check ${CONFIG}
  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
message("${out}${err}")
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "catalogue check reported problems (exit code ${rc})")
endif()
string(REGEX MATCHALL "variant [0-2]:" motors "${out}")
list(LENGTH motors count)
if(NOT count EQUAL EXPECTED)
  message(FATAL_ERROR "catalogue check listed ${count} motor types, expected ${EXPECTED}")
endif()
