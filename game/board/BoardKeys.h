#pragma once

#include <string>

class PastryStation;
class TortelunePlayer;
struct GameDataState;

// The board's geometry and refill keys, checked against the tuning table on
// every read: a zero or negative value (which would divide by zero, take a
// modulo by zero or never refill) is logged once and replaced by a safe one.
struct BoardKeys {
    int gridWidth = 8;
    int gridHeight = 8;
    int cellWidth = 50;
    int cellHeight = 50;
    int replenishDelay = 60;
};

const BoardKeys& boardKeys();

// The session's animation speed factor s (1.0 without a session).
float boardSpeed();
// A board duration: trunc(ms * (2 - s)), with (2 - s) kept at 0 or more so a
// large speed factor never makes durations negative.
int scaledDuration(int ms);

// The per-game state, or null before the game data exist.
GameDataState* boardState();
// Career play outside the exam levels (tools and quality effects apply).
bool isCareerPlay();
// The arcade or an exam level (arcade pictures, the belt).
bool isArcadeLook();
// The current player, or null.
TortelunePlayer* boardPlayer();
// The ingredient book's key word for a name (the name itself when the book lacks it).
std::string ingredientWord(const std::string& name);
// True when `name` names a bonus.
inline bool isBonusName(const std::string& name) { return name.find("bonus") != std::string::npos; }
