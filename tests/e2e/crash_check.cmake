# Script mode: runs the crash probe through the emulator (Wine) and passes
# when the probe started, crashed, and the crash ended it with a failure well
# within the time limit, rather than waiting in a debugger.
execute_process(COMMAND ${EMULATOR} ${PROBE}
  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 60)
if(NOT out MATCHES "about to crash")
  message(FATAL_ERROR "the probe did not start (${rc}): ${out}${err}")
endif()
if(rc EQUAL 0 OR NOT rc MATCHES "^[0-9]+$")
  message(FATAL_ERROR "the crash did not end the probe with a failure: ${rc}")
endif()
message(STATUS "the crash ended the probe with exit code ${rc}")
