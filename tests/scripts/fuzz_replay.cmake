# Every fuzz target, built without libFuzzer, replays its seeds
# (fuzz/corpus/<name>, where fuzz_<name>.cpp is the target) and any kept
# crash inputs (tests/data/regress/<name>) with truncated and bit-flipped
# variants in every test run, so that the sanitizers see each corpus.
# fuzz.seeds_for_every_target fails when a target has no seeds or a seed
# folder belongs to no target (the libFuzzer runs would start from nothing).
add_library(fuzz_replay_bodies OBJECT ${CMAKE_SOURCE_DIR}/fuzz/FuzzTargets.cpp)
target_link_libraries(fuzz_replay_bodies PRIVATE tortelune_all)
file(GLOB FUZZ_REPLAY_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/fuzz/fuzz_*.cpp)
foreach(source ${FUZZ_REPLAY_SOURCES})
  get_filename_component(target ${source} NAME_WE)
  string(REGEX REPLACE "^fuzz_" "" corpus ${target})
  add_executable(${target}_replay ${source}
    $<TARGET_OBJECTS:fuzz_replay_main> $<TARGET_OBJECTS:fuzz_replay_bodies>)
  target_link_libraries(${target}_replay PRIVATE tortelune_all)
  file(GLOB inputs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/fuzz/corpus/${corpus}/*
    ${CMAKE_SOURCE_DIR}/tests/data/regress/${corpus}/*)
  add_test(NAME ${target}_replay COMMAND ${OWN_FOLDERS} $<TARGET_FILE:${target}_replay> ${inputs})
  set_tests_properties(${target}_replay PROPERTIES ENVIRONMENT "${TEST_ENV}" TIMEOUT 300)
endforeach()

add_test(NAME fuzz.seeds_for_every_target
  COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/scripts/helpers/fuzz_seeds.sh ${CMAKE_SOURCE_DIR} --check)
