# The saved-board fuzz target, built without libFuzzer, replays its seeds (and
# any kept crash inputs) with truncated and bit-flipped variants in every test run.
add_executable(fuzz_board_save_replay
  ${CMAKE_SOURCE_DIR}/fuzz/fuzz_board_save.cpp ${CMAKE_SOURCE_DIR}/fuzz/FuzzReplayMain.cpp)
target_link_libraries(fuzz_board_save_replay PRIVATE tortelune_all)
file(GLOB BOARD_SAVE_CORPUS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/fuzz/corpus/board_save/*
  ${CMAKE_SOURCE_DIR}/tests/data/regress/board_save/*)
add_test(NAME fuzz_board_save_replay COMMAND ${OWN_FOLDERS} $<TARGET_FILE:fuzz_board_save_replay> ${BOARD_SAVE_CORPUS})
set_tests_properties(fuzz_board_save_replay PROPERTIES ENVIRONMENT "${TEST_ENV}" TIMEOUT 300)
