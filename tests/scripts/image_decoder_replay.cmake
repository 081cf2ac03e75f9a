# The image decoder fuzz target, built without libFuzzer, replays its seed
# corpus with truncated and bit-flipped variants in every test run.
add_executable(fuzz_image_decoder_replay
  ${CMAKE_SOURCE_DIR}/fuzz/fuzz_image_decoder.cpp $<TARGET_OBJECTS:fuzz_replay_main>)
target_link_libraries(fuzz_image_decoder_replay PRIVATE tortelune_all)
file(GLOB IMAGE_DECODER_CORPUS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/fuzz/corpus/image_decoder/*)
add_test(NAME fuzz_image_decoder_replay COMMAND ${OWN_FOLDERS} $<TARGET_FILE:fuzz_image_decoder_replay> ${IMAGE_DECODER_CORPUS})
set_tests_properties(fuzz_image_decoder_replay PROPERTIES ENVIRONMENT "${TEST_ENV}" TIMEOUT 300)
