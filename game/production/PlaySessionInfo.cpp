#include "game/production/PlaySessionInfo.h"

#include <algorithm>
#include <cmath>
#include <ctime>

#include "framework/core/PropertyNode.h"
#include "framework/players/PropertyAccess.h"
#include "game/data/GameData.h"
#include "game/data/TuningTable.h"

namespace {

// Arcade and exam levels ignore the chosen tools.
bool toolsIgnored()
{
    GameData* data = GameData::instance;
    return data && (data->state->mode == 1 || data->isExamLevel());
}

bool isArcade()
{
    return GameData::instance && GameData::instance->state->mode == 1;
}

bool isFrenzy()
{
    return GameData::instance && GameData::instance->state->bonusMeter.isFrenzy();
}

struct FloatField {
    const char* key;
    float PlaySessionInfo::*field;
};

const FloatField kSavedMultipliers[] = {
    {"multiplierScore", &PlaySessionInfo::multiplierScore},
    {"multiplierScoreExam", &PlaySessionInfo::multiplierScoreExam},
    {"multiplierScoreFrenzy", &PlaySessionInfo::multiplierScoreFrenzy},
    {"multiplierQualityFruit", &PlaySessionInfo::multiplierQualityFruit},
    {"multiplierQualityChocolate", &PlaySessionInfo::multiplierQualityChocolate},
    {"multiplierQualityPastry", &PlaySessionInfo::multiplierQualityPastry},
    {"multiplierQualityCream", &PlaySessionInfo::multiplierQualityCream},
    {"multiplierQualityFrenzy", &PlaySessionInfo::multiplierQualityFrenzy},
    {"multiplierBonusCollect", &PlaySessionInfo::multiplierBonusCollect},
    {"multiplierBonusTime", &PlaySessionInfo::multiplierBonusTime},
};

} // namespace

PlaySessionInfo::PlaySessionInfo()
    : bonusPlusCounter(tuning().TOOL_BONUSPLUS_COUNTER), multiplierScoreExam(tuning().EXAM_MULTIPLIER_SCORE)
{
}

void PlaySessionInfo::reset()
{
    score = 0;
    starCount = 0;
    forgotFullCounter = 0;
    startTime = 0;
    endTime = 0;
    pauseTime = 0;
    arcadeLevel = 0;
    matches.clear();
    hasCheated = false;
    allFullQuality = true;
    bonusPlusCounter = tuning().TOOL_BONUSPLUS_COUNTER;
    multiplierScoreExam = tuning().EXAM_MULTIPLIER_SCORE;
}

void PlaySessionInfo::applyTools(int toolId1, int toolId2)
{
    multiplierScore = multiplierScoreFrenzy = 1.0f;
    multiplierQualityFruit = multiplierQualityChocolate = multiplierQualityPastry = multiplierQualityCream = 1.0f;
    multiplierQualityFrenzy = multiplierBonusCollect = multiplierBonusTime = 1.0f;
    multiplierAnimationFastGame = multiplierAnimationFrenzy = 1.0f;
    toolIds[0] = toolId1;
    toolIds[1] = toolId2;
    const TuningTable& t = tuning();
    for (int id : toolIds) {
        switch (id) {
        case 1:
            multiplierBonusCollect = t.TOOL_SPEEDYMETER_COLLECT_MULTIPLIER;
            multiplierBonusTime = t.TOOL_SPEEDYMETER_TIME_MULTIPLIER;
            break;
        case 2: multiplierScore = t.TOOL_HIGHERSCORE_MULTIPLIER; break;
        case 4: multiplierQualityFruit = t.TOOL_QUALITYFRUIT_MULTIPLIER; break;
        case 5: multiplierQualityChocolate = t.TOOL_QUALITYCHOCOLATE_MULTIPLIER; break;
        default: break;
        }
    }
    multiplierScoreFrenzy = t.FRENZY_MULTIPLIER_SCORE;
    multiplierQualityFrenzy = t.FRENZY_MULTIPLIER_QUALITY;
    multiplierAnimationFastGame = t.TOOL_FASTGAME_MULTIPLIER;
    multiplierAnimationFrenzy = t.FRENZY_MULTIPLIER_ANIMATIONS;
}

bool PlaySessionInfo::hasTool(int toolId) const
{
    if (toolId == -1 || toolsIgnored())
        return false;
    return toolIds[0] == toolId || toolIds[1] == toolId;
}

float PlaySessionInfo::getScoreMultiplier() const
{
    float m = 1.0f;
    if (!toolsIgnored() && (toolIds[0] == 2 || toolIds[1] == 2) && multiplierScore >= 1.0f)
        m = multiplierScore;
    if (isFrenzy())
        m = std::max(m, multiplierScoreFrenzy);
    if (isArcade())
        m *= multiplierScoreExam;
    return m;
}

float PlaySessionInfo::getQualityMultiplier(const std::string& ingredientName) const
{
    float factor = 1.0f;
    const IngredientBook::Entry* entry =
        GameData::instance ? GameData::instance->state->ingredientBook.find(ingredientName) : nullptr;
    if (entry) {
        if (entry->isFruit)
            factor = multiplierQualityFruit;
        else if (entry->isChocolate)
            factor = multiplierQualityChocolate;
        else if (entry->isPastry)
            factor = multiplierQualityPastry;
        else if (entry->isCream)
            factor = multiplierQualityCream;
    }
    if (isFrenzy())
        factor = std::max(factor, multiplierQualityFrenzy);
    return factor;
}

float PlaySessionInfo::getAnimationSpeedMultiplier() const
{
    float m = 1.0f;
    if (!toolsIgnored() && (toolIds[0] == 9 || toolIds[1] == 9) && multiplierAnimationFastGame >= 1.0f)
        m = multiplierAnimationFastGame;
    if (isFrenzy())
        m = std::max(m, multiplierAnimationFrenzy);
    return m;
}

void PlaySessionInfo::addScore(float gain)
{
    const int64_t sum = static_cast<int64_t>(score) + static_cast<int64_t>(std::trunc(gain));
    score = static_cast<int32_t>(std::clamp<int64_t>(sum, 0, INT32_MAX));
}

int32_t PlaySessionInfo::currentCalendarTime()
{
    return static_cast<int32_t>(std::time(nullptr));
}

void PlaySessionInfo::save(PropertyNode* node) const
{
    save(node, currentCalendarTime());
}

void PlaySessionInfo::load(AbstractProperty* node)
{
    load(node, currentCalendarTime());
}

void PlaySessionInfo::save(PropertyNode* node, int32_t nowSeconds) const
{
    addUntypedInt(node, "score", score);
    addUntypedInt(node, "starCount", starCount);
    addUntypedInt(node, "startTime", startTime);
    addUntypedInt(node, "endTime", nowSeconds);
    addUntypedInt(node, "pauseTime", pauseTime);
    addUntypedBool(node, "hasCheated", hasCheated);
    addUntypedBool(node, "allFullQuality", allFullQuality);
    for (const FloatField& multiplier : kSavedMultipliers)
        addUntypedFloatFixed(node, multiplier.key, this->*multiplier.field);
    addUntypedInt(node, "forgotFullCounter", forgotFullCounter);
    addUntypedInt(node, "bonusPlusCounter", bonusPlusCounter);
    addUntypedInt(node, "arcadeLevel", arcadeLevel);
    addEntryVector(node, "matches", matches);
}

void PlaySessionInfo::load(AbstractProperty* node, int32_t nowSeconds)
{
    score = childInt(node, "score");
    starCount = childInt(node, "starCount");
    const int32_t savedStart = childInt(node, "startTime");
    const int32_t savedEnd = childInt(node, "endTime");
    pauseTime = childInt(node, "pauseTime");
    hasCheated = childBool(node, "hasCheated");
    allFullQuality = childBool(node, "allFullQuality");
    for (const FloatField& multiplier : kSavedMultipliers)
        this->*multiplier.field = childFloatScanned(node, multiplier.key);
    forgotFullCounter = childInt(node, "forgotFullCounter");
    bonusPlusCounter = childInt(node, "bonusPlusCounter");
    arcadeLevel = childInt(node, "arcadeLevel");
    matches.clear();
    forEachElement(node, "matches", [this](AbstractProperty* entry) {
        matches.emplace(childInt(entry, "key"), childInt(entry, "val")); // the first of a key stays
    });
    // Wrapping arithmetic: a damaged file must not overflow a signed int.
    const uint32_t elapsed = static_cast<uint32_t>(savedEnd) - static_cast<uint32_t>(savedStart);
    startTime = static_cast<int32_t>(static_cast<uint32_t>(nowSeconds) - elapsed);
    endTime = 0;
}
