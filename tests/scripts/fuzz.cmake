# Bounded fuzz runs (about 30 s each) of the programs that tests/scripts/fuzz.sh
# builds in build-fuzz with clang; skipped when they were not built. The
# replay of every kept crash input is the unit test program test_fuzz.
find_program(FUZZ_CLANGXX NAMES clang++)
if(FUZZ_CLANGXX)
  file(GLOB FUZZ_TARGET_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/fuzz/fuzz_*.cpp)
  foreach(source ${FUZZ_TARGET_SOURCES})
    get_filename_component(target ${source} NAME_WE)
    add_test(NAME ${target}
      COMMAND bash ${CMAKE_SOURCE_DIR}/tests/scripts/helpers/run_fuzzer.sh
        ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/build-fuzz ${target} 30)
    set_tests_properties(${target} PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 200)
  endforeach()
endif()
if(TARGET test_fuzz)
  target_sources(test_fuzz PRIVATE ${CMAKE_SOURCE_DIR}/fuzz/FuzzTargets.cpp)
endif()
