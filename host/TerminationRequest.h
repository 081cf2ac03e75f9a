#pragma once

// SIGTERM and SIGINT, caught for the whole process: a signal only notes the
// request, at any moment of the start or the run; the window hands it to the
// game as WM_ENDSESSION at its next message, so that the game saves and ends
// as on the system's logout.

// Installs the handlers (once; later calls do nothing). SDL then leaves them be.
void catchTerminationSignals();
// Whether a terminating signal came since the last call; clears the note.
bool takeTerminationRequest();
