#pragma once

// SIGTERM, SIGINT and SIGHUP, caught for the whole process: a signal only notes the
// request, at any moment of the start or the run; the window hands it to the
// game as WM_ENDSESSION at its next message, so that the game saves and ends
// as on the system's logout.

// Installs the handlers (once; later calls do nothing). SDL then leaves them be.
void catchTerminationSignals();
// Whether a terminating signal came since the last call; clears the note.
bool takeTerminationRequest();
// Whether a request is noted and not yet taken; leaves the note (a message box
// asks it while it waits, and the window still takes it afterwards).
bool terminationRequestPending();

// The display's connection lost (a logout, a crashed X server) cannot wait
// for the next message: the call that found it is not allowed to return.
// The action saves what a termination saves and answers the exit code; it
// runs once, on the thread that found the loss, and the process then ends
// at once, with nothing touching the dead connection again.
using DisplayLostAction = int (*)();
void setDisplayLostAction(DisplayLostAction action);
// Called where the loss is found; never returns. Found again while the
// action runs (the action met the display after all), it ends at once.
[[noreturn]] void endAfterDisplayLoss();
// Whether the display's connection is lost: nothing may use it any more.
bool displayConnectionLost();
