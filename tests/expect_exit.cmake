# Runs the program with ARGS (a ;-list) and checks its exit status and that its standard error
# contains ERROR_TEXT:  cmake -DPROGRAM=... -DARGS=... -DSTATUS=... -DERROR_TEXT=... -P expect_exit.cmake
execute_process(COMMAND ${PROGRAM} ${ARGS} RESULT_VARIABLE status ERROR_VARIABLE error OUTPUT_QUIET)
if(NOT status STREQUAL STATUS)
  message(FATAL_ERROR "exit status ${status}, expected ${STATUS}; standard error: ${error}")
endif()
string(FIND "${error}" "${ERROR_TEXT}" at)
if(at EQUAL -1)
  message(FATAL_ERROR "standard error lacks \"${ERROR_TEXT}\": ${error}")
endif()
