// The game's process entry point.
#include "app/TorteluneMain.h"
#include "host/TerminationRequest.h"

int main(int argc, char** argv)
{
    // First of all: a SIGTERM during the start ends the game as cleanly as
    // one in play, once its window takes messages.
    catchTerminationSignals();
    return runTortelune(argc, argv);
}
