#pragma once

#include <cstdint>
#include <map>
#include <string>

class AbstractProperty;
class PropertyNode;

// The record of the level being played: score, stars, counters, times, the
// two tools taken into the level and the multipliers they and the frenzy give.
class PlaySessionInfo {
public:
    PlaySessionInfo();

    // Level start: counters and times back to 0; the multipliers (except the
    // exam one) and the tools stay.
    void reset();
    void applyTools(int toolId1, int toolId2);
    // False for -1, in the arcade and on exam levels.
    bool hasTool(int toolId) const;
    float getScoreMultiplier() const;
    float getQualityMultiplier(const std::string& ingredientName) const;
    float getAnimationSpeedMultiplier() const;
    // Adds a gain truncated toward zero; the score never drops below 0.
    void addScore(float gain);

    // Saves with the calendar time now; the elapsed playing time is carried
    // over to the loading moment.
    void save(PropertyNode* node) const;
    void load(AbstractProperty* node);
    // The same at a given calendar time (seconds), for tests.
    void save(PropertyNode* node, int32_t nowSeconds) const;
    void load(AbstractProperty* node, int32_t nowSeconds);

    static int32_t currentCalendarTime();

    int32_t score = 0;
    int32_t starCount = 0;
    int32_t bonusPlusCounter = 0;
    int32_t forgotFullCounter = 0;
    int32_t startTime = 0;
    int32_t endTime = 0;
    int32_t pauseTime = 0;
    // When a saved level went on (not saved).
    int32_t resumeTime = 0;
    std::map<int32_t, int32_t> matches;
    bool hasCheated = false;
    bool allFullQuality = true;
    int32_t toolIds[2] = {-1, -1};
    float multiplierScore = 1.0f;
    float multiplierScoreExam = 1.0f;
    float multiplierScoreFrenzy = 1.0f;
    float multiplierQualityFruit = 1.0f;
    float multiplierQualityChocolate = 1.0f;
    float multiplierQualityPastry = 1.0f;
    float multiplierQualityCream = 1.0f;
    float multiplierQualityFrenzy = 1.0f;
    float multiplierBonusCollect = 1.0f;
    float multiplierBonusTime = 1.0f;
    float multiplierAnimationFastGame = 1.0f;
    float multiplierAnimationFrenzy = 1.0f;
    int32_t arcadeLevel = 0;
};
