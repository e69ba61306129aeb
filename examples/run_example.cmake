# Runs an example program and compares its standard output with the expected text.
#   cmake -DPROGRAM=<program> -DDATA=<data folder> -DEXPECTED=<file> -P run_example.cmake
# With LUMEX_UPDATE_EXAMPLES=1 in the environment the output is written to the expected file.
execute_process(COMMAND ${PROGRAM} ${DATA} OUTPUT_VARIABLE output ERROR_VARIABLE errors
                RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${PROGRAM} exited with ${status}\n${output}${errors}")
endif()
if("$ENV{LUMEX_UPDATE_EXAMPLES}" STREQUAL "1")
  file(WRITE ${EXPECTED} "${output}")
  message(STATUS "wrote ${EXPECTED}")
  return()
endif()
if(NOT EXISTS ${EXPECTED})
  message(FATAL_ERROR "no expected output ${EXPECTED}; the program printed:\n${output}")
endif()
file(READ ${EXPECTED} expected)
if(NOT output STREQUAL expected)
  message(FATAL_ERROR "${PROGRAM}: the output differs from ${EXPECTED}\n"
                      "--- expected\n${expected}--- printed\n${output}")
endif()
