# The suite from a checkout at a deep path (over 150 characters, as under
# ~/projects/games/...): a copy of this checkout is built there and the host
# layer's tests, its single-instance lock among them, run in it. The copy
# lives in the build folder and is rebuilt only where it changed.
add_test(NAME deep_checkout.test_host
  COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/scripts/helpers/deep_checkout.sh
          ${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR} ${CMAKE_BUILD_TYPE} ${TORTELUNE_SANITIZE}
          ${TORTELUNE_SHARED_AREAS})
# It builds with two processors' worth of jobs beside the other tests.
set_tests_properties(deep_checkout.test_host PROPERTIES TIMEOUT 1500 PROCESSORS 2)
