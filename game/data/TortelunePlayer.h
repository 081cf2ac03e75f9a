#pragma once

#include <map>
#include <string>
#include <vector>

#include "framework/core/RefPointer.h"
#include "framework/players/AbstractPlayer.h"
#include "game/dialogs/Trophies.h"

class AbstractProperty;
class PropertyNode;

// The game's player profile: progress per career and arcade level, seen hints
// and bonuses, tools, rank, lifetime counters and the trophy record. The whole
// profile is one node of the players file.
class TortelunePlayer : public AbstractPlayer {
    TT_CLASS_RECORD(TortelunePlayer)
public:
    explicit TortelunePlayer(const std::string& name);
    // Rebuilds a saved profile; missing keys keep the start values.
    explicit TortelunePlayer(AbstractProperty* node);

    void writeTo(PropertyNode* node) override;

    bool hasSeenHint(const std::string& hint) const;
    void setHintSeen(const std::string& hint);
    // Keeps the smallest value recorded for the bonus.
    void setBonusSeen(const std::string& bonus, int value);
    // Each keeps the larger of the old value (0 when absent) and the new one.
    void updateLevelScore(int level, int score);
    void updateLevelStars(int level, int stars);
    void updateArcadeScore(int key, int score);
    void updateArcadeLevel(int key, int level);
    int getTotalStars() const;
    // Stars the player can spend.
    int getSpendableStars() const { return getTotalStars() + starsOffset; }
    void buyTool(int toolId);
    bool hasTool(int toolId) const;
    void addToolLevel(int level);
    bool hasToolLevel(int level) const;
    // The catalogue's tool exists, its level is unlocked and it is in a slot.
    bool isToolSelectable(int toolId) const;
    // Clears the eleven notice flags.
    void clearNotices();

    Trophies* getTrophies() const { return trophies.get(); }

    static constexpr int kToolSlotCount = 2;
    static constexpr int kToolCount = 14;

    bool showHints = true;
    int highestLevelReached = -1;
    // Transient notices of what the player has just unlocked; never saved.
    bool newLevelNotice = false;
    bool toolLevel0Notice = false;
    bool starBonus0Notice = false;
    bool arcadeSet0Notice = false;
    bool arcadeSet1Notice = false;
    bool starBonus1Notice = false;
    bool arcadeSets2And3Notice = false;
    bool starBonus2Notice = false;
    bool toolLevel1Notice = false;
    bool starBonus3Notice = false;
    bool arcadeSets4And5Notice = false;
    bool arcadeUnlocked = false;
    // Once both tool slots have been filled the board may show "HINT_TOOLS"; never saved.
    bool toolsHintArmed = false;
    std::vector<std::string> seenHints;
    std::map<std::string, int> seenBonus;
    std::vector<int> tools;
    // Always two entries; -1 is an empty slot.
    std::vector<int> toolSlots;
    std::vector<int> toolLevels;
    std::map<int, int> toolBought;
    std::map<int, int> levelScore;
    std::map<int, int> levelStars;
    std::map<int, int> levelTries;
    std::map<int, int> arcadeScore;
    std::map<int, int> arcadeLevel;
    std::map<int, int> arcadeState;
    int starsOffset = 0;
    int score = 0;
    int rank = 0;
    int numMatches = 0;
    int numPastries = 0;
    int numShopVisits = 0;
    int numArcadeVisits = 0;

private:
    RefPointer<Trophies> trophies;
};
