# Floors only look down: host/ includes nothing above it, framework/ nothing of
# the game or the application, game/ nothing of the application.
add_test(NAME layers.floors_look_down
  COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${CMAKE_SOURCE_DIR}
          -P ${CMAKE_CURRENT_SOURCE_DIR}/scripts/helpers/check_layers.cmake)
