#include "support/GameDataFixtures.h"

#include <gtest/gtest.h>

#include "framework/core/BasicProperties.h"
#include "game/data/TuningTable.h"
#include "support/LogCapture.h"

RefPointer<PropertyStore> parseXml(const std::string& xml)
{
    RefPointer<PropertyStore> store(new PropertyStore());
    EXPECT_TRUE(store->loadFromBuffer(xml.data(), xml.size())) << xml;
    return store;
}

namespace {

const std::pair<const char*, int> kIntegers[] = {
    {"BONUS_COMBO1", 11}, {"BONUS_COMBO9", 19}, {"BONUS_COMBO10", 20}, {"BONUS_MATCH4", 4},
    {"BONUS_MATCH5", 5}, {"BONUS_MATCH6", 6}, {"BONUS_MATCH7", 7}, {"BONUS_MIN", 0},
    {"BONUS_MAX", 100}, {"CONVEYOR_LENGTH", 548}, {"CONVEYOR_MIN_DISTANCE", 120}, {"COUNTERTOP_SIZE", 5},
    {"LEVELUP_DELAY", 1500},
    {"CUSTOMER_HINT_X", 30}, {"CUSTOMER_HINT_Y", 40}, {"MAX_INGREDIENT_COUNT", 4},
    {"TOOL_BONUSPLUS_COUNTER", 3}, {"UNLOCK_STARBONUS0", 12345}, {"UNLOCK_STARBONUS1", 999},
    {"UNLOCK_STARBONUS2", -1}, {"UNLOCK_STARBONUS3", 1000000}};

const std::pair<const char*, float> kFloats[] = {
    {"CONVEYOR_HIGH_SPEED", 0.4f}, {"EXAM_MULTIPLIER_SCORE", 2.0f}, {"FRENZY_MULTIPLIER_SCORE", 3.0f}, {"FRENZY_MULTIPLIER_QUALITY", 1.5f},
    {"FRENZY_MULTIPLIER_ANIMATIONS", 1.25f}, {"TOOL_FASTGAME_MULTIPLIER", 1.5f},
    {"TOOL_HIGHERSCORE_MULTIPLIER", 1.2f}, {"TOOL_QUALITYFRUIT_MULTIPLIER", 1.3f},
    {"TOOL_QUALITYCHOCOLATE_MULTIPLIER", 1.4f}, {"TOOL_SPEEDYMETER_COLLECT_MULTIPLIER", 1.6f},
    {"TOOL_SPEEDYMETER_TIME_MULTIPLIER", 2.0f}};

void reloadTuning()
{
    // Keys the fixture does not set read 0 and are logged; that is no fault here.
    LogCapture missingKeys;
    loadTuning(*BasicProperties::instance);
}

} // namespace

ScopedGameTuning::ScopedGameTuning()
{
    if (!BasicProperties::instance) {
        BasicProperties::createInstance();
        createdProperties = true;
    }
    for (const auto& [key, value] : kIntegers)
        BasicProperties::instance->setInt(key, value);
    for (const auto& [key, value] : kFloats)
        BasicProperties::instance->setFloat(key, value);
    reloadTuning();
}

ScopedGameTuning::~ScopedGameTuning()
{
    resetTuning();
    if (createdProperties)
        BasicProperties::destroyInstance();
}

void setTuningInt(const std::string& key, int value)
{
    BasicProperties::instance->setInt(key, value);
    reloadTuning();
}

void setTuningFloat(const std::string& key, float value)
{
    BasicProperties::instance->setFloat(key, value);
    reloadTuning();
}
