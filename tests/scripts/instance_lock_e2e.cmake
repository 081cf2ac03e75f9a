# The real binary twice on one data folder with different runtime folders:
# the second copy is refused and the first keeps its progress. The dummy
# video driver needs no display, so this runs beside the unit tests.
add_test(NAME app.second_copy_other_runtime_folder
  COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/smoke/second_copy_e2e.bash $<TARGET_FILE:tortelune>)
set_tests_properties(app.second_copy_other_runtime_folder PROPERTIES ENVIRONMENT "${TEST_ENV}" TIMEOUT 180)
