# The test programs that start threads, built with ThreadSanitizer by
# tests/scripts/tsan.sh (as test.sh does) and run here; skipped when that tree
# has not been built (failed when the variable CI is set). The programs are
# listed once, in tsan_programs.txt. A slow program is split into shards that
# run side by side; together they run every case but the parameterised batches
# (every level won, every arcade set, the shards of killed saves), which add
# long play and no thread of their own.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/scripts/tsan_programs.txt)
file(STRINGS ${CMAKE_CURRENT_SOURCE_DIR}/scripts/tsan_programs.txt TSAN_LINES REGEX "^[ \t]*[^# \t]")
file(MAKE_DIRECTORY ${CMAKE_SOURCE_DIR}/build-tsan)
foreach(line ${TSAN_LINES})
  string(STRIP "${line}" line)
  string(REGEX REPLACE "[ \t]+" ";" fields "${line}")
  list(GET fields 0 program)
  set(shards 1)
  list(LENGTH fields field_count)
  if(field_count GREATER 1)
    list(GET fields 1 shards)
  endif()
  if(NOT TARGET ${program})
    message(FATAL_ERROR "tests/scripts/tsan_programs.txt names ${program}, which is no test program")
  endif()
  math(EXPR last_shard "${shards} - 1")
  foreach(shard RANGE ${last_shard})
    set(test_name tsan_${program})
    if(shards GREATER 1)
      set(test_name tsan_${program}.${shard})
    endif()
    add_test(NAME ${test_name}
      COMMAND ${OWN_FOLDERS} bash -c "if [ ! -x \"$0\" ]; then bash \"$1\" \"$0 not built (run ./test.sh)\"; exit $?; fi; exec \"$0\" --gtest_filter='-Career/*:Arcade/*:Shards/*'"
        ${CMAKE_SOURCE_DIR}/build-tsan/tests/${program} ${CMAKE_SOURCE_DIR}/tests/scripts/helpers/missing_tool.sh
      WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}/build-tsan)
    set_tests_properties(${test_name} PROPERTIES
      SKIP_RETURN_CODE 77 TIMEOUT 1800 COST 10000
      ENVIRONMENT "${TEST_ENV};TSAN_OPTIONS=halt_on_error=1 second_deadlock_stack=1;GTEST_TOTAL_SHARDS=${shards};GTEST_SHARD_INDEX=${shard}")
  endforeach()
endforeach()
