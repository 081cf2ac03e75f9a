# Content checks: the game's data files are read the way the game reads them
# and every reference between them is followed (tools/content/check_content.py);
# the generated data files must match their generator.
find_program(CONTENT_PYTHON NAMES python3 PATHS /usr/bin NO_DEFAULT_PATH)
if(NOT CONTENT_PYTHON)
  find_program(CONTENT_PYTHON NAMES python3)
endif()
if(CONTENT_PYTHON)
  add_test(NAME content_check
    COMMAND ${CONTENT_PYTHON} ${CMAKE_SOURCE_DIR}/tools/content/check_content.py ${CMAKE_SOURCE_DIR})
  add_test(NAME content_check_selftest
    COMMAND ${CONTENT_PYTHON} ${CMAKE_SOURCE_DIR}/tools/content/test_check_content.py)
  add_test(NAME content_data_up_to_date
    COMMAND ${CONTENT_PYTHON} ${CMAKE_SOURCE_DIR}/tools/content/check_generated.py ${CMAKE_SOURCE_DIR})
else()
  # Still registered, so that a run without Python shows as skipped (or, with
  # the variable CI set, fails) instead of passing without the checks.
  message(STATUS "python3 not found: content checks skipped")
  foreach(check content_check content_check_selftest content_data_up_to_date)
    add_test(NAME ${check} COMMAND bash ${CMAKE_SOURCE_DIR}/tests/scripts/helpers/missing_tool.sh
             "${check}: python3 is not installed")
    set_tests_properties(${check} PROPERTIES SKIP_RETURN_CODE 77)
  endforeach()
endif()
