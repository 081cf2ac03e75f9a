// The game's process entry point.
#include "app/TorteluneMain.h"

int main(int argc, char** argv)
{
    return runTortelune(argc, argv);
}
