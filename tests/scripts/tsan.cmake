# The threaded test programs built with ThreadSanitizer by tests/scripts/tsan.sh
# (as test.sh does); skipped when that tree has not been built (failed when
# the variable CI is set).
foreach(program test_framework_resources test_framework_core)
  add_test(NAME tsan_${program}
    COMMAND ${OWN_FOLDERS} bash -c "if [ ! -x \"$0\" ]; then bash \"$1\" \"$0 not built (run ./test.sh)\"; exit $?; fi; exec \"$0\""
      ${CMAKE_SOURCE_DIR}/build-tsan/tests/${program} ${CMAKE_SOURCE_DIR}/tests/scripts/helpers/missing_tool.sh
    WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}/build-tsan)
  file(MAKE_DIRECTORY ${CMAKE_SOURCE_DIR}/build-tsan)
  set_tests_properties(tsan_${program} PROPERTIES
    SKIP_RETURN_CODE 77 TIMEOUT 300
    ENVIRONMENT "${TEST_ENV};TSAN_OPTIONS=halt_on_error=1 second_deadlock_stack=1")
endforeach()
