# tessel_add_test_program(<name> SOURCES <src>... [LIBRARIES <lib>...])
#
# One GoogleTest program. Natively each test case is its own CTest entry;
# under an emulator (Wine) the program is one entry, since every start of
# the emulator is slow. A parameterised case is named by its suite's name
# generator ("Orders/SubmitTest.X/ReadyFirstWithCallbackReady"); the value
# itself is not pasted into the name, where GoogleTest would print most of
# them as raw bytes.
function(tessel_add_test_program name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBRARIES" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBRARIES} tessel_test_support GTest::gtest GTest::gtest_main)
  tessel_use_warnings(${name})
  if(CMAKE_CROSSCOMPILING)
    add_test(NAME ${name} COMMAND ${name})
  else()
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 NO_PRETTY_VALUES)
  endif()
endfunction()
