#pragma once

class PropertyNode;

// One sitting of play for the usage statistics: when it began and ended
// (seconds since 1970, UTC; the end is 0 until stamped), the game mode and
// number of players the selection scene reported, and the screen it ran on.
struct PlayingSession {
    int startTime = 0;
    int endTime = 0;
    int gameMode = 0;
    int numPlayers = 0;
    bool fullScreen = false;
    int bitDepth = 0;
    int screenWidth = 0;
    int screenHeight = 0;

    // Writes the eight values, untyped, in the statistics file's order.
    void writeTo(PropertyNode* node) const;
};
