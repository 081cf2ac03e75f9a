# Generated art: the manifest matches the files, and contact sheets of the art are written
# into the build folder for a look (build/contact). Needs Debian's python3 with cairo and PIL;
# without it the checks are left out.
execute_process(COMMAND /usr/bin/python3 -c "import cairo, PIL"
                RESULT_VARIABLE TORTELUNE_ART_PYTHON_MISSING OUTPUT_QUIET ERROR_QUIET)
if(TORTELUNE_ART_PYTHON_MISSING EQUAL 0)
  add_test(NAME art_media_check
           COMMAND /usr/bin/python3 ${CMAKE_SOURCE_DIR}/tools/art/check_media.py)
  add_test(NAME art_contact_sheet
           COMMAND /usr/bin/python3 ${CMAKE_SOURCE_DIR}/tools/art/contact_sheet.py ${CMAKE_BINARY_DIR}/contact)
else()
  # Still registered, so that a run without them shows as skipped (or, with
  # the variable CI set, fails) instead of passing without them.
  message(STATUS "python3 with cairo and PIL not found: art checks skipped")
  foreach(check art_media_check art_contact_sheet)
    add_test(NAME ${check} COMMAND bash ${CMAKE_SOURCE_DIR}/tests/scripts/helpers/missing_tool.sh
             "${check}: /usr/bin/python3 with cairo and PIL is not installed")
    set_tests_properties(${check} PROPERTIES SKIP_RETURN_CODE 77)
  endforeach()
endif()
