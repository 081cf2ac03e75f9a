// The game scene fixture is shared with the scenes' tests.
#include "game/scenes/LevelSceneFixture.cpp"
