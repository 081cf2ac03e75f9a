#pragma once

#include <string>

#include "framework/core/BaseObject.h"

class AbstractProperty;
class PropertyNode;

// One row of a high-score table; games derive their own rows from it.
class HighScoreEntry : public BaseObject {
    TT_CLASS_RECORD(HighScoreEntry)
public:
    HighScoreEntry() = default;
    HighScoreEntry(const std::string& playerName, int scoreValue, bool isPlayerScore = true)
        : playerName(playerName), scoreValue(scoreValue), isPlayerScore(isPlayerScore)
    {
    }
    // Reads "playername", "scorevalue" and "isplayerscore" (false when missing).
    explicit HighScoreEntry(AbstractProperty* node);

    // Sets the tag to "HighScoreEntry" and adds the three untyped values.
    virtual void writeTo(PropertyNode* node);
    virtual bool isNotAbove(const HighScoreEntry& other) const { return scoreValue <= other.scoreValue; }

    std::string playerName;
    int scoreValue = 0;
    bool isPlayerScore = true;
};
