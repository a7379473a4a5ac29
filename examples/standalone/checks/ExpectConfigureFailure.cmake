# cmake -DPROBE=<source> -DBINARY=<build> -DARGS=<list> -DEXPECT=<regexes> -P ExpectConfigureFailure.cmake
#
# Configures the probe project and passes only when that fails with output
# matching every regular expression of EXPECT.
file(REMOVE_RECURSE "${BINARY}")
execute_process(COMMAND "${CMAKE_COMMAND}" -S "${PROBE}" -B "${BINARY}" ${ARGS}
                RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
message("${output}")
if(result EQUAL 0)
  message(FATAL_ERROR "The probe configured, but it should have failed")
endif()
foreach(pattern IN LISTS EXPECT)
  if(NOT output MATCHES "${pattern}")
    message(FATAL_ERROR "The probe's error does not say ${pattern}")
  endif()
endforeach()
