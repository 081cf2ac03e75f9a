# "-unittest" in any case and anywhere on the command line ends the game at
# once with 0, before it touches a display (a broken video driver would
# otherwise print the window error).
set(ENV{SDL_VIDEODRIVER} "no-such-driver")
foreach(arguments "-unittest" "-UnitTest" "--x -UNITTEST --y" "foo-unittestbar")
  separate_arguments(list UNIX_COMMAND "${arguments}")
  execute_process(COMMAND ${GAME} ${list} RESULT_VARIABLE status
                  OUTPUT_VARIABLE output ERROR_VARIABLE errors TIMEOUT 20)
  if(NOT status EQUAL 0 OR NOT errors STREQUAL "" OR NOT output STREQUAL "")
    message(FATAL_ERROR "'${arguments}': exit ${status}, output '${output}${errors}'")
  endif()
endforeach()

# Without the switch and without a usable display the game says so and ends with 1.
# The run keeps its own data folder, where the instance lock lives: a game
# started by another test at the same time would otherwise make this one the
# second copy.
string(RANDOM LENGTH 8 token)
set(own_data "$ENV{XDG_DATA_HOME}/unittest-switch-${token}")
set(ENV{XDG_DATA_HOME} "${own_data}")
file(MAKE_DIRECTORY "${own_data}")
execute_process(COMMAND ${GAME} RESULT_VARIABLE status ERROR_VARIABLE errors TIMEOUT 20)
file(REMOVE_RECURSE "${own_data}")
if(NOT status EQUAL 1 OR NOT errors MATCHES "no display")
  message(FATAL_ERROR "without a display: exit ${status}, '${errors}'")
endif()
