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

# Without the switch and without a usable display the window error is reported.
# The run keeps its own lock folder: a game started by another test at the
# same time would otherwise make this one the second copy.
string(RANDOM LENGTH 8 token)
set(ENV{XDG_RUNTIME_DIR} "$ENV{XDG_RUNTIME_DIR}/unittest-switch-${token}")
file(MAKE_DIRECTORY "$ENV{XDG_RUNTIME_DIR}")
execute_process(COMMAND ${GAME} RESULT_VARIABLE status ERROR_VARIABLE errors TIMEOUT 20)
if(status EQUAL 0 OR NOT errors MATCHES "game-window")
  message(FATAL_ERROR "without a display: exit ${status}, '${errors}'")
endif()
file(REMOVE_RECURSE "$ENV{XDG_RUNTIME_DIR}")
