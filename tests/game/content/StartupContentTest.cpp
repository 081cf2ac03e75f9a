// The game's own property files and data, read through the same code the game
// uses at start-up: they must load without a single warning, fill every tuning
// constant, and carry the definitions the start-up and the scenes look up.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "framework/core/BasicProperties.h"
#include "framework/core/Log.h"
#include "framework/core/PropertyNode.h"
#include "framework/core/PropertyStore.h"
#include "framework/core/PropertyVector.h"
#include "framework/core/SetupStore.h"
#include "game/data/TuningTable.h"

namespace {

std::string sourcePath(const std::string& relative)
{
    return std::string(TORTELUNE_SOURCE_DIR) + "/" + relative;
}

// Records warnings and errors only; informational lines are normal.
class ProblemLog {
public:
    ProblemLog()
    {
        previous = setLogObserver([this](LogLevel level, const std::string& line) {
            if (level == LogLevel::Error || level == LogLevel::Warning)
                problems.push_back(line);
        });
    }
    ~ProblemLog() { setLogObserver(previous); }
    std::string text() const
    {
        std::string all;
        for (const std::string& line : problems)
            all += line + "\n";
        return all;
    }
    std::vector<std::string> problems;

private:
    LogObserver previous;
};

class StartupContentTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        BasicProperties::createInstance();
        SetupStore::createInstance();
        resetTuning();
        SetupStore::instance->setLoadListener(new TuningLoader());
        for (const char* file : kGamePropertyFiles)
            SetupStore::instance->addFileName(sourcePath(file));
    }
    void TearDown() override
    {
        SetupStore::destroyInstance();
        BasicProperties::destroyInstance();
        resetTuning();
    }
};

TEST_F(StartupContentTest, PropertyFilesLoadWithoutWarningsAndFillEveryTuningConstant)
{
    ProblemLog log;
    ASSERT_TRUE(SetupStore::instance->load());
    EXPECT_TRUE(log.problems.empty()) << log.text();

    // Reading the table again finds every key in place.
    EXPECT_EQ(0, loadTuning(*BasicProperties::instance));
    EXPECT_TRUE(log.problems.empty()) << log.text();

    const TuningTable& t = tuning();
    EXPECT_EQ(8, t.GRID_WIDTH);
    EXPECT_EQ(8, t.GRID_HEIGHT);
    EXPECT_EQ(50, t.CELL_WIDTH);
    EXPECT_EQ(4, t.COUNTERTOP_SIZE);
    EXPECT_EQ(4, t.LEVEL_PER_THEME);
    EXPECT_GT(t.BONUS_MAX, t.BONUS_MIN);
    EXPECT_GT(t.FRENZY_TIME, 0);
    EXPECT_GT(t.CONVEYOR_LENGTH, 0);
    EXPECT_GT(t.CONVEYOR_HIGH_SPEED, 0.0f);
    EXPECT_FLOAT_EQ(1.2f, t.SWAP_UP_SCALE);
}

TEST_F(StartupContentTest, TuningConstantsThatDivideOrLoopAreNotZero)
{
    ASSERT_TRUE(SetupStore::instance->load());
    const TuningTable& t = tuning();
    // Divisors and loop steps somewhere in the game.
    EXPECT_GT(t.CELL_HEIGHT, 0);
    EXPECT_GT(t.QUALITY_DROP_DELAY, 0);
    EXPECT_GT(t.TOOL_PARTICLE_INTERVAL, 0);
    EXPECT_GT(t.BOWL_SHAKE_NUM, 0);
    EXPECT_GT(t.MAX_INGREDIENT_COUNT, 0);
    EXPECT_GT(t.MAX_STARS_PER_PASTRY, 0);
    EXPECT_NE(t.CONVEYOR_PASTRY_START_X, t.CONVEYOR_PASTRY_STOP_X);
    EXPECT_NE(t.TOOL_SCALE_ACTIVE, t.TOOL_SCALE_DEACTIVE);
    // Random ranges must not be empty or reversed.
    EXPECT_LT(t.CUSTOMER_ANIMATION_DELAY_MIN, t.CUSTOMER_ANIMATION_DELAY_MAX);
    EXPECT_LT(t.HENRI_HEART_INTERVAL_MIN, t.HENRI_HEART_INTERVAL_MAX);
    EXPECT_LT(t.TWINKLE_DELAY_MIN, t.TWINKLE_DELAY_MAX);
    EXPECT_LT(t.TWINKLEDLG_DELAY_MIN, t.TWINKLEDLG_DELAY_MAX);
    EXPECT_LT(t.SUN_DELAYFULL_MIN, t.SUN_DELAYFULL_MAX);
    EXPECT_LT(t.TOOLSHOP_CHARACTER0_DELAY_MIN, t.TOOLSHOP_CHARACTER0_DELAY_MAX);
}

TEST_F(StartupContentTest, IdentityVersionsAndScoresAreDefined)
{
    ASSERT_TRUE(SetupStore::instance->load());
    BasicProperties& p = *BasicProperties::instance;
    EXPECT_EQ("Tortelune", p.getString("GAME_NAME"));
    EXPECT_FALSE(p.getString("GAME_ID").empty());
    EXPECT_FALSE(p.getString("PLAYERS_VERSION").empty());
    EXPECT_FALSE(p.getString("HIGHSCORES_VERSION").empty());
    for (int m = 3; m <= 7; ++m) {
        EXPECT_EQ(1u, p.getIntegers().count("POINTS_MATCH" + std::to_string(m))) << m;
        EXPECT_EQ(1u, p.getFloats().count("QUALITY_MATCH" + std::to_string(m))) << m;
    }
    for (int n = 1; n <= 10; ++n)
        EXPECT_EQ(1u, p.getIntegers().count("POINTS_COMBO" + std::to_string(n))) << n;
    for (int k = 1; k <= 3; ++k)
        EXPECT_GT(p.getInt("POINTS_PASTRY" + std::to_string(k)), 0) << k;
    // Texts with a number placeholder that the game fills in.
    EXPECT_NE(WString::npos, p.getText("TEXT_TOOLBUY_NEEDMORESTARS").find(u'%'));
    EXPECT_FALSE(p.getText("CTEXT_DIGIT_GROUPING_SYMBOL").empty());
}

TEST_F(StartupContentTest, ScenesTransitionsTemplatesAndDialogsAreDefinedByClass)
{
    ASSERT_TRUE(SetupStore::instance->load());
    SetupStore& store = *SetupStore::instance;
    const std::pair<const char*, const char*> scenes[] = {
        {"SCENE_SPLASH", "SceneSplash"},           {"SCENE_LOAD", "SceneLoad"},
        {"SCENE_SELECTION", "SceneSelection"},     {"SCENE_MAP", "SceneMap"},
        {"SCENE_GAME", "SceneGame"},               {"SCENE_TOOLSHOP", "SceneToolShop"},
        {"SCENE_ARCADE", "SceneArcade"},           {"TRANSITION_DEFAULT", "FadeBlackTransition"},
        {"TRANSITION_LOAD", "AlphaTransition"},    {"TRANSITION_SPLASH", "AlphaTransition"},
    };
    for (const auto& scene : scenes)
        EXPECT_EQ(scene.second, store.findScene(scene.first)->getTypeName()) << scene.first;
    EXPECT_EQ("ToolTip", store.findTemplate("DEFAULT_TOOLTIP")->getTypeName());
    EXPECT_EQ("FullScreenHandler", store.findTemplate("DEFAULT_FSH")->getTypeName());
    EXPECT_EQ("DefaultDialogPainter", store.findTemplate("ARCADE_PAINTER")->getTypeName());
    EXPECT_EQ("DialogHintHenriPainter", store.findTemplate("HINTHENRI_PAINTER")->getTypeName());
    EXPECT_EQ("DialogYesNo", store.findDialog("DIALOG_YESNO")->getTypeName());

    // The splash hands over to a loading scene whose pan needs these nodes.
    PropertyVector* load = store.findScene("SCENE_LOAD")->getVector("scenecomponents");
    ASSERT_NE(nullptr, load);
    std::vector<std::string> names;
    for (int i = 0; i < load->getCount(); ++i)
        if (PropertyNode* node = load->getNodeAt(i))
            names.push_back(node->getString("name"));
    for (const char* needed : {"LAYER0", "LAYER1", "LAYER2", "LAYER3", "LOGO", "SMOKE", "DOOR", "HENRI",
                               "PASTRY", "PANEL_BIRDS", "CLICK_TEXT", "LOADING_BAR_EMPTY", "LOADING_BAR_FULL"})
        EXPECT_NE(names.end(), std::find(names.begin(), names.end(), needed)) << needed;
}

TEST_F(StartupContentTest, ComponentsInheritTheirSetups)
{
    ASSERT_TRUE(SetupStore::instance->load());
    PropertyVector* components = SetupStore::instance->findDialog("DIALOG_YESNO")->getVector("components");
    ASSERT_NE(nullptr, components);
    PropertyNode* yes = nullptr;
    for (int i = 0; i < components->getCount(); ++i) {
        PropertyNode* node = components->getNodeAt(i);
        if (node && node->getString("name") == "BUTTON_YES")
            yes = node;
    }
    ASSERT_NE(nullptr, yes);
    EXPECT_FALSE(yes->hasChild("setup"));
    EXPECT_EQ(4, yes->getInt("framecount"));
    EXPECT_EQ("SOUND_BUTTON", yes->getString("clicksound"));
    EXPECT_EQ("BUTTON_YES", yes->getString("image"));  // its own key wins
}

// The level lists and every level, book and catalogue file parse as property
// files; their cross references are followed by the content check script.
TEST(GameDataFiles, EveryDataFileParses)
{
    ProblemLog log;
    std::vector<std::string> files = {
        "media/levels/cookbook.xml",     "media/levels/customerbook.xml", "media/levels/ingredientbook.xml",
        "media/properties/ranks.xml",    "media/properties/tools.xml",    "media/properties/trophies.xml",
        "media/properties/hints.xml",    "media/properties/resources.xml",
    };
    int levels = 0;
    for (const char* list : {"media/levels/levels.xml", "media/levels/arcade_levels.xml"}) {
        RefPointer<PropertyStore> store(new PropertyStore(sourcePath(list)));
        ASSERT_TRUE(store->load()) << list;
        PropertyVector* entries = store->getVector("levels");
        ASSERT_NE(nullptr, entries) << list;
        for (int i = 0; i < entries->getCount(); ++i) {
            files.push_back(entries->getNodeAt(i)->getString("fileName"));
            ++levels;
        }
    }
    EXPECT_EQ(66, levels);
    for (const std::string& file : files) {
        RefPointer<PropertyStore> store(new PropertyStore(sourcePath(file)));
        EXPECT_TRUE(store->load()) << file;
        EXPECT_GT(store->getNamedCount(), 0) << file;
    }
    EXPECT_TRUE(log.problems.empty()) << log.text();
}

}  // namespace
