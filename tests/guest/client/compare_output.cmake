# Runs a client program under the emulator and compares its standard output
# with the expected file, byte for byte.
execute_process(COMMAND ${EMULATOR} ${PROGRAM}
  OUTPUT_VARIABLE output ERROR_VARIABLE errors RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${PROGRAM} exited with ${status}\n${errors}\n${output}")
endif()
file(READ ${EXPECTED} expected)
if(NOT output STREQUAL expected)
  file(WRITE ${PROGRAM}.actual "${output}")
  message(FATAL_ERROR "output differs from ${EXPECTED}; actual output in ${PROGRAM}.actual:\n${output}")
endif()
