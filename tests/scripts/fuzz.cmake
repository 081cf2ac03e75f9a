# Bounded fuzz runs of the programs that tests/scripts/fuzz.sh builds in
# build-fuzz with clang: TORTELUNE_FUZZ_SECONDS each (at run time; 10 by
# default, which keeps ./test.sh within its budget on two cores). Longer
# fuzzing is tools/fuzz-long.sh. Skipped when the programs were not built
# (failed when the variable CI is set). The replay of every kept crash input
# is the unit test program test_fuzz.
find_program(FUZZ_CLANGXX NAMES clang++)
file(GLOB FUZZ_TARGET_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/fuzz/fuzz_*.cpp)
foreach(source ${FUZZ_TARGET_SOURCES})
  get_filename_component(target ${source} NAME_WE)
  if(FUZZ_CLANGXX)
    add_test(NAME ${target}
      COMMAND bash ${CMAKE_SOURCE_DIR}/tests/scripts/helpers/run_fuzzer.sh
        ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/build-fuzz ${target} 10)
  else()
    add_test(NAME ${target} COMMAND bash ${CMAKE_SOURCE_DIR}/tests/scripts/helpers/missing_tool.sh
             "${target}: clang++ is not installed")
  endif()
  set_tests_properties(${target} PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 200)
endforeach()
if(TARGET test_fuzz)
  target_sources(test_fuzz PRIVATE ${CMAKE_SOURCE_DIR}/fuzz/FuzzTargets.cpp)
endif()
