# Runs a client program under the emulator with a given standard input and
# compares its standard output and standard error, each byte for byte, with
# the expected files.
execute_process(COMMAND ${EMULATOR} ${PROGRAM}
  INPUT_FILE ${INPUT}
  OUTPUT_VARIABLE output ERROR_VARIABLE errors RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${PROGRAM} exited with ${status}\n${errors}\n${output}")
endif()
foreach(stream output errors)
  file(READ ${EXPECTED_PREFIX}.${stream} expected)
  if(NOT "${${stream}}" STREQUAL "${expected}")
    file(WRITE ${PROGRAM}.${stream} "${${stream}}")
    message(FATAL_ERROR "${stream} differs from ${EXPECTED_PREFIX}.${stream}; actual in ${PROGRAM}.${stream}:\n${${stream}}")
  endif()
endforeach()
