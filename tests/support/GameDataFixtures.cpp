#include "support/GameDataFixtures.h"

#include <gtest/gtest.h>

#include "framework/core/BasicProperties.h"
#include "game/data/TuningTable.h"

RefPointer<PropertyStore> parseXml(const std::string& xml)
{
    RefPointer<PropertyStore> store(new PropertyStore());
    EXPECT_TRUE(store->loadFromBuffer(xml.data(), xml.size())) << xml;
    return store;
}

ScopedGameTuning::ScopedGameTuning()
{
    TuningTable& t = mutableTuning();
    t = TuningTable();
    t.BONUS_COMBO1 = 11;
    t.BONUS_COMBO9 = 19;
    t.BONUS_COMBO10 = 20;
    t.BONUS_MATCH4 = 4;
    t.BONUS_MATCH5 = 5;
    t.BONUS_MATCH6 = 6;
    t.BONUS_MATCH7 = 7;
    t.BONUS_MIN = 0;
    t.BONUS_MAX = 100;
    t.CONVEYOR_MIN_DISTANCE = 120;
    t.COUNTERTOP_SIZE = 5;
    t.CUSTOMER_HINT_X = 30;
    t.CUSTOMER_HINT_Y = 40;
    t.MAX_INGREDIENT_COUNT = 4;
    t.TOOL_BONUSPLUS_COUNTER = 3;
    t.UNLOCK_STARBONUS0 = 12345;
    t.UNLOCK_STARBONUS1 = 999;
    t.UNLOCK_STARBONUS2 = -1;
    t.UNLOCK_STARBONUS3 = 1000000;
    t.EXAM_MULTIPLIER_SCORE = 2.0f;
    t.FRENZY_MULTIPLIER_SCORE = 3.0f;
    t.FRENZY_MULTIPLIER_QUALITY = 1.5f;
    t.FRENZY_MULTIPLIER_ANIMATIONS = 1.25f;
    t.TOOL_FASTGAME_MULTIPLIER = 1.5f;
    t.TOOL_HIGHERSCORE_MULTIPLIER = 1.2f;
    t.TOOL_QUALITYFRUIT_MULTIPLIER = 1.3f;
    t.TOOL_QUALITYCHOCOLATE_MULTIPLIER = 1.4f;
    t.TOOL_SPEEDYMETER_COLLECT_MULTIPLIER = 1.6f;
    t.TOOL_SPEEDYMETER_TIME_MULTIPLIER = 2.0f;
    if (!BasicProperties::instance) {
        BasicProperties::createInstance();
        createdProperties = true;
    }
}

ScopedGameTuning::~ScopedGameTuning()
{
    mutableTuning() = TuningTable();
    if (createdProperties)
        BasicProperties::destroyInstance();
}
