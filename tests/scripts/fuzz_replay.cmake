# The saved-game fuzz target, built without libFuzzer, replays its corpus with
# truncated and bit-flipped variants in every test run.
add_executable(fuzz_saved_game_replay
  ${CMAKE_SOURCE_DIR}/fuzz/fuzz_saved_game.cpp $<TARGET_OBJECTS:fuzz_replay_main>)
target_link_libraries(fuzz_saved_game_replay PRIVATE tortelune_all)
file(GLOB SAVED_GAME_CORPUS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/fuzz/corpus/saved_game/*)
add_test(NAME fuzz_saved_game_replay COMMAND ${OWN_FOLDERS} $<TARGET_FILE:fuzz_saved_game_replay> ${SAVED_GAME_CORPUS})
set_tests_properties(fuzz_saved_game_replay PROPERTIES ENVIRONMENT "${TEST_ENV}" TIMEOUT 300)
