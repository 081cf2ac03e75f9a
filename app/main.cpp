// The game's process entry point.
#include "app/TorteluneMain.h"
#include "host/MemoryPolicy.h"
#include "host/TerminationRequest.h"

int main(int argc, char** argv)
{
    // First of all: a SIGTERM during the start ends the game as cleanly as
    // one in play, once its window takes messages.
    catchTerminationSignals();
    useOwnPagesForLargeBlocks();
    return runTortelune(argc, argv);
}
