# The test programs that start threads, built with ThreadSanitizer by
# tests/scripts/tsan.sh (as test.sh does) and run whole here; skipped when
# that tree has not been built (failed when the variable CI is set). The
# programs are listed once, in tsan_programs.txt.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/scripts/tsan_programs.txt)
file(STRINGS ${CMAKE_CURRENT_SOURCE_DIR}/scripts/tsan_programs.txt TSAN_PROGRAMS REGEX "^[ \t]*[^# \t]")
file(MAKE_DIRECTORY ${CMAKE_SOURCE_DIR}/build-tsan)
foreach(program ${TSAN_PROGRAMS})
  string(STRIP "${program}" program)
  if(NOT TARGET ${program})
    message(FATAL_ERROR "tests/scripts/tsan_programs.txt names ${program}, which is no test program")
  endif()
  add_test(NAME tsan_${program}
    COMMAND ${OWN_FOLDERS} bash -c "if [ ! -x \"$0\" ]; then bash \"$1\" \"$0 not built (run ./test.sh)\"; exit $?; fi; exec \"$0\""
      ${CMAKE_SOURCE_DIR}/build-tsan/tests/${program} ${CMAKE_SOURCE_DIR}/tests/scripts/helpers/missing_tool.sh
    WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}/build-tsan)
  set_tests_properties(tsan_${program} PROPERTIES
    SKIP_RETURN_CODE 77 TIMEOUT 1800
    ENVIRONMENT "${TEST_ENV};TSAN_OPTIONS=halt_on_error=1 second_deadlock_stack=1")
endforeach()
