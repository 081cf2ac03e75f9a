#include <gtest/gtest.h>

#include <map>
#include <string>

#include "framework/core/BasicProperties.h"
#include "framework/core/SetupStore.h"
#include "game/data/TuningTable.h"
#include "support/LogCapture.h"

namespace {

#include "ExpectedTuningKeys.inc"

class TuningTableTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        BasicProperties::createInstance();
        resetTuning();
    }
    void TearDown() override
    {
        SetupStore::destroyInstance();
        BasicProperties::destroyInstance();
        resetTuning();
    }
};

TEST_F(TuningTableTest, EveryKeyIsPresentOnceWithItsType)
{
    size_t count = 0;
    const TuningField* fields = tuningFields(&count);
    std::map<std::string, int> seen;
    std::map<std::string, bool> typeOf;
    for (size_t i = 0; i < count; ++i) {
        ++seen[fields[i].name];
        typeOf[fields[i].name] = fields[i].isFloat;
    }
    const size_t expectedCount = sizeof kExpectedTuningKeys / sizeof kExpectedTuningKeys[0];
    EXPECT_EQ(353u, expectedCount);
    EXPECT_EQ(expectedCount, count);
    int floats = 0;
    for (const ExpectedTuningKey& key : kExpectedTuningKeys) {
        EXPECT_EQ(1, seen[key.name]) << key.name;
        EXPECT_EQ(key.isFloat, typeOf[key.name]) << key.name;
        floats += key.isFloat ? 1 : 0;
    }
    EXPECT_EQ(47, floats);
    EXPECT_EQ(sizeof(TuningTable), count * 4);
}

TEST_F(TuningTableTest, FilledFromTheSetupStoreAndMissingKeysReadZero)
{
    LogCapture log;
    SetupStore::createInstance();
    SetupStore::instance->setLoadListener(new TuningLoader());
    const std::string defaults = "<root><Integer id=\"GRID_WIDTH\" value=\"8\"/>"
                                 "<Integer id=\"SWAP_DURATION\" value=\"1\"/>"
                                 "<Float id=\"SWAP_UP_SCALE\" value=\"1.25\"/>"
                                 "<Integer id=\"DROP_SPEED\" value=\"3\"/></root>";
    const std::string dynamic = "<root><Node id=\"properties\"><Integer id=\"SWAP_DURATION\" value=\"250\"/>"
                                "</Node></root>";
    ASSERT_TRUE(SetupStore::instance->loadFromTexts({defaults, dynamic}));

    EXPECT_EQ(8, tuning().GRID_WIDTH);
    EXPECT_EQ(250, tuning().SWAP_DURATION);
    EXPECT_FLOAT_EQ(1.25f, tuning().SWAP_UP_SCALE);
    // Defined with the wrong type: reads 0 and the log says why.
    EXPECT_EQ(0.0f, tuning().DROP_SPEED);
    EXPECT_TRUE(log.contains("\"DROP_SPEED\" is not defined as Float"));
    EXPECT_TRUE(log.contains("the files define it as Integer"));
    // Missing: 0, logged, and afterwards present in the properties with 0.
    EXPECT_EQ(0, tuning().CONVEYOR_LENGTH);
    EXPECT_TRUE(log.contains("\"CONVEYOR_LENGTH\""));
    EXPECT_TRUE(BasicProperties::instance->hasInt("CONVEYOR_LENGTH"));
    EXPECT_EQ(0, BasicProperties::instance->getInt("CONVEYOR_LENGTH"));
}

} // namespace
