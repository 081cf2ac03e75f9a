#pragma once

#include <string>

#include "host/HostPlatform.h"

// SDL's message box, shown from a process of the game's own (a fresh start of
// the game's executable that shows the box and ends), so that the game can
// close it: SDL waits for its box in a child process that nobody but the
// game could end. The box's processes form a group of their own that ends
// with the game, also when the game is killed.

enum class MessageBoxOutcome {
    Answered,         // the player closed the box
    ClosedByRequest,  // `shouldClose` said so, and the box is gone
    NotShown          // no box could be shown (no display, no font)
};

// Shows the box and waits for it, asking `shouldClose` every 50 ms; when it
// answers true, the box's processes are ended and waited for. When no process
// can be started, the box is shown from the calling process.
MessageBoxOutcome showClosableMessageBox(const std::string& title, const std::string& text, MessageBoxKind kind,
                                         bool (*shouldClose)());
