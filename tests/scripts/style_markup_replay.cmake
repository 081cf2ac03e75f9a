# The styled-text markup fuzz target, built without libFuzzer, replays its seed
# corpus (and any kept crash inputs) with truncated and bit-flipped variants in
# every test run.
add_executable(fuzz_style_markup_replay
  ${CMAKE_SOURCE_DIR}/fuzz/fuzz_style_markup.cpp $<TARGET_OBJECTS:fuzz_replay_main>)
target_link_libraries(fuzz_style_markup_replay PRIVATE tortelune_all)
file(GLOB STYLE_MARKUP_CORPUS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/fuzz/corpus/style_markup/*
  ${CMAKE_SOURCE_DIR}/tests/data/regress/style_markup/*)
add_test(NAME fuzz_style_markup_replay COMMAND ${OWN_FOLDERS} $<TARGET_FILE:fuzz_style_markup_replay> ${STYLE_MARKUP_CORPUS})
set_tests_properties(fuzz_style_markup_replay PROPERTIES ENVIRONMENT "${TEST_ENV}" TIMEOUT 300)
