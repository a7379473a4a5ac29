# Prints what GoogleTest lists of each program in PROGRAMS (a list of test
# programs), parameters included.
foreach(program IN LISTS PROGRAMS)
  execute_process(COMMAND "${program}" --gtest_list_tests OUTPUT_VARIABLE listed COMMAND_ERROR_IS_FATAL ANY)
  message("${listed}")
endforeach()
