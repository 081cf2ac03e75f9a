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
  message(STATUS "python3 with cairo and PIL not found: art checks skipped")
endif()
