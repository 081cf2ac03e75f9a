// The game's books, level lists, ranks and tools, loaded through the game-data
// classes exactly as start-up loads them: nothing may be logged, every level
// must resolve against the books, and the career must get harder gently.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <filesystem>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "framework/core/AbstractProperty.h"
#include "framework/core/BasicProperties.h"
#include "framework/core/Log.h"
#include "framework/core/SetupStore.h"
#include "framework/core/StringUtils.h"
#include "framework/graphics/Image.h"
#include "framework/graphics/ImageDecoders.h"
#include "framework/resources/ResourceManager.h"
#include "game/data/GameData.h"
#include "game/data/RankTable.h"
#include "game/data/Recipe.h"
#include "game/data/ToolCatalog.h"
#include "game/data/TuningTable.h"
#include "game/dialogs/Trophies.h"
#include "game/production/Customer.h"
#include "support/GameProperties.h"

namespace {

const char* const kExamThemes[] = {"exam1", "exam2", "exam3"};

bool isExamTheme(const std::string& theme)
{
    return std::find(std::begin(kExamThemes), std::end(kExamThemes), theme) != std::end(kExamThemes);
}

// The game reads its media relative to the working folder; these tests run
// from the source tree and go back afterwards. Warnings and errors are
// collected: the game's own data must not cause any.
class GameDataContentTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        previousFolder = std::filesystem::current_path();
        std::filesystem::current_path(TORTELUNE_SOURCE_DIR);
        previousObserver = setLogObserver([this](LogLevel level, const std::string& line) {
            if (level == LogLevel::Error || level == LogLevel::Warning)
                problems += line + "\n";
        });
        ASSERT_TRUE(loadGameProperties());
        data = new GameData();
        data->addRef();
        data->loadMedia(".");
    }
    void TearDown() override
    {
        data->release();
        SetupStore::destroyInstance();
        BasicProperties::destroyInstance();
        resetTuning();
        setLogObserver(previousObserver);
        std::filesystem::current_path(previousFolder);
    }

    // Every career level in turn, through the list as the map selects them.
    template <typename Visit>
    void forEachCareerLevel(Visit visit)
    {
        LevelManager& levels = data->state->levelManager;
        for (int i = 0; i < levels.getLevelCount(); ++i) {
            levels.selectLevel(i);
            visit(i, levels.getLevel());
        }
    }

    GameData* data = nullptr;
    std::string problems;
    std::filesystem::path previousFolder;
    LogObserver previousObserver;
};

TEST_F(GameDataContentTest, BooksAndListsLoadWithoutWarnings)
{
    EXPECT_EQ("", problems);
    EXPECT_EQ(60, data->state->levelManager.getLevelCount());
    EXPECT_EQ(6, data->state->arcadeManager.getLevelCount());
    EXPECT_GE(data->state->cookbook.getRecipes().size(), 20u);
    EXPECT_EQ(9u + 13u, data->state->ingredientBook.size());
    for (const char* customer : {"CUSTOMER_HENRI", "CUSTOMER_SINGER", "CUSTOMER_HENRI_EXAM",
                                 "CUSTOMER_HENRI_ARCADE", "CUSTOMER_HENRI_MARRIAGE"})
        EXPECT_TRUE(data->state->customerBook.contains(customer)) << customer;
    const IngredientBook::Entry* cherry = data->state->ingredientBook.find("cherry");
    const IngredientBook::Entry* banana = data->state->ingredientBook.find("banana");
    ASSERT_TRUE(cherry && banana);
    EXPECT_TRUE(cherry->canBeUnripe);
    EXPECT_TRUE(banana->canBeUnripe);
    EXPECT_FALSE(data->state->ingredientBook.find("egg")->canBeUnripe);
    const IngredientBook::Entry* rowZap = data->state->ingredientBook.find("row zap bonus");
    ASSERT_NE(nullptr, rowZap);
    EXPECT_FALSE(rowZap->matching);
}

TEST_F(GameDataContentTest, EveryLevelResolvesAgainstTheBooks)
{
    auto checkLevel = [this](const std::string& where, const Level& level) {
        EXPECT_FALSE(level.recipes.empty()) << where;
        int kinds = 0;
        for (const LevelIngredient& ingredient : level.ingredients)
            kinds += ingredient.name.find("bonus") == std::string::npos ? 1 : 0;
        // Eight kinds on an 8 x 8 board leave too few matches to be fun.
        EXPECT_GE(kinds, 5) << where;
        EXPECT_LE(kinds, 7) << where;
        EXPECT_NE(nullptr, level.customerRecord) << where;
        std::set<std::string> dealt;
        for (const LevelIngredient& ingredient : level.ingredients) {
            EXPECT_FALSE(ingredient.id.empty()) << where << " " << ingredient.name;
            EXPECT_GT(ingredient.distribution, 0) << where << " " << ingredient.name;
            if (ingredient.unripeChance > 0) {
                EXPECT_TRUE(ingredient.name == "cherry" || ingredient.name == "banana") << where;
            }
            dealt.insert(ingredient.name);
        }
        for (const Recipe* recipe : level.recipes) {
            ASSERT_NE(nullptr, recipe) << where;
            for (const RecipeIngredient& needed : recipe->getIngredients())
                EXPECT_EQ(1u, dealt.count(needed.name)) << where << " " << recipe->getName() << " " << needed.name;
            // 1.4 quality per unit of amount: runs of three alone (1.0 a unit)
            // reach grade 3; the full grade needs longer runs.
            int total = 0;
            for (const RecipeIngredient& needed : recipe->getIngredients())
                total += needed.amount;
            EXPECT_NEAR(1.4f * float(total), recipe->getQuality(), 1e-3f) << recipe->getName();
            EXPECT_LT(1.0f * float(total), 0.75f * recipe->getQuality()) << recipe->getName();
        }
    };
    forEachCareerLevel([&](int i, const Level& level) {
        const std::string where = "career level " + std::to_string(i + 1);
        checkLevel(where, level);
        EXPECT_EQ(i, level.levelIndex);
        EXPECT_EQ(i / 4, level.themeNumber) << where;
        EXPECT_EQ(i / 4, getThemeIndex(level.themeName)) << where;
        EXPECT_GT(level.starsGoal, 0) << where;
        if (isExamTheme(level.themeName)) {
            EXPECT_EQ("CUSTOMER_HENRI_EXAM", level.customerName) << where;
            EXPECT_GT(level.pastriesStart, 0) << where;
            EXPECT_EQ(level.pastriesStart, level.starsGoal) << where << ": every pastry must be boxed";
            EXPECT_GT(level.starsReward, 0) << where;
            EXPECT_GT(level.durationTime, 10000) << where;
            EXPECT_GE(level.distanceStart, tuning().CONVEYOR_MIN_DISTANCE) << where;
        } else {
            // A goal that full-quality pastries can reach (4 stars each) with room to spare.
            EXPECT_LT(level.starsGoal, 4 * static_cast<int>(level.recipes.size())) << where;
        }
    });
    LevelManager& arcade = data->state->arcadeManager;
    for (int i = 0; i < arcade.getLevelCount(); ++i) {
        arcade.selectLevel(i);
        const Level& level = arcade.getLevel();
        checkLevel("arcade set " + std::to_string(i), level);
        EXPECT_GT(level.pastriesStart, 0);
        EXPECT_GT(level.pastriesDelta, 0);
        // The belt speeds up each round; its travel time must stay well above
        // zero for longer than anyone can keep up.
        EXPECT_GT(level.durationTime - 40 * level.durationDelta, 5000) << i;
    }
    EXPECT_EQ("", problems);
}

TEST_F(GameDataContentTest, CareerGetsHarderGently)
{
    std::set<std::string> bonusesSeen;
    int firstUnripeCherry = -1;
    int firstUnripeBanana = -1;
    double previousThemeGoalRatio = 0.0;
    size_t previousThemeKinds = 0;
    double themeGoalRatio = 0.0;
    size_t themeKinds = 0;
    forEachCareerLevel([&](int i, const Level& level) {
        int newBonuses = 0;
        size_t kinds = 0;
        for (const LevelIngredient& ingredient : level.ingredients) {
            if (ingredient.name.find("bonus") != std::string::npos) {
                newBonuses += bonusesSeen.insert(ingredient.name).second ? 1 : 0;
                continue;
            }
            ++kinds;
            if (ingredient.unripeChance > 0 && ingredient.name == "cherry" && firstUnripeCherry < 0)
                firstUnripeCherry = i;
            if (ingredient.unripeChance > 0 && ingredient.name == "banana" && firstUnripeBanana < 0)
                firstUnripeBanana = i;
        }
        EXPECT_LE(newBonuses, 1) << "level " << i + 1 << " introduces several bonuses at once";
        if (isExamTheme(level.themeName))
            return;
        themeKinds = std::max(themeKinds, kinds);
        themeGoalRatio = std::max(themeGoalRatio, double(level.starsGoal) / double(level.recipes.size()));
        if (i % 4 == 3) {
            EXPECT_GE(themeKinds, previousThemeKinds) << "theme " << i / 4;
            EXPECT_GE(themeGoalRatio + 1e-9, previousThemeGoalRatio) << "theme " << i / 4;
            previousThemeKinds = themeKinds;
            previousThemeGoalRatio = themeGoalRatio;
            themeKinds = 0;
            themeGoalRatio = 0.0;
        }
    });
    EXPECT_EQ(13u, bonusesSeen.size());
    EXPECT_GT(firstUnripeCherry, 4);
    EXPECT_GT(firstUnripeBanana, firstUnripeCherry);
    // The first level is plain: no bonus and nothing unripe.
    data->state->levelManager.selectLevel(0);
    for (const LevelIngredient& ingredient : data->state->levelManager.getLevel().ingredients) {
        EXPECT_EQ(std::string::npos, ingredient.name.find("bonus"));
        EXPECT_EQ(0, ingredient.unripeChance);
    }
}

TEST_F(GameDataContentTest, RanksToolsAndScoresComeFromTheirFiles)
{
    RankTable ranks;
    ranks.load();
    ASSERT_GE(ranks.getRankCount(), 10);
    EXPECT_EQ(0, ranks.getRankForScore(0));
    for (int r = 0; r < ranks.getRankCount(); ++r)
        EXPECT_FALSE(ranks.getRankName(r).empty()) << r;
    // Rank 2's reward carries the first star bonus, rank 3's the first arcade set's name.
    EXPECT_NE(WString::npos, ranks.getRankRewardText(2).find(toWideString(std::to_string(tuning().UNLOCK_STARBONUS0))));
    EXPECT_NE(WString::npos, ranks.getRankRewardText(3).find(BasicProperties::instance->getText("TEXT_ARCADENAME1")));

    ToolCatalog tools;
    tools.load();
    ASSERT_EQ(14, tools.getToolCount());
    EXPECT_EQ(0, tools.find(6)->price) << "tool 6 is given on the first shop visit";
    int slots[2] = {0, 0};
    for (int id = 0; id < 14; ++id) {
        Tool* tool = tools.find(id);
        ASSERT_NE(nullptr, tool);
        EXPECT_FALSE(BasicProperties::instance->getText(tool->name).empty()) << id;
        EXPECT_FALSE(BasicProperties::instance->getText(tool->description).empty()) << id;
        ++slots[tool->slot];
    }
    EXPECT_GT(slots[0], 0);
    EXPECT_GT(slots[1], 0);

    const ScoreTable& scores = data->state->scoreTable;
    for (int m = 3; m <= 7; ++m) {
        EXPECT_GT(scores.pointsMatch[m], scores.pointsMatch[m - 1]) << m;
        EXPECT_GT(scores.qualityMatch[m], 0.0f) << m;
    }
    for (int k = 1; k <= 3; ++k)
        EXPECT_GT(scores.pointsPastry[k], scores.pointsPastry[k - 1]) << k;
    EXPECT_GT(getBonusMeterGain(4, 0, 1.0f), 0);
    EXPECT_EQ("", problems);
}

// Dialogs take a tool's four pictures from the catalogue: each exists in the
// section "tools" once that section is loaded, the big icon is the larger one.
TEST_F(GameDataContentTest, ToolPicturesComeFromTheToolsSection)
{
    ResourceManager::create();
    ResourceManager* resources = ResourceManager::instance;
    resources->addResourceFile("media/properties/resources.xml");
    ASSERT_TRUE(resources->loadResourceFiles());
    ToolCatalog tools;
    tools.load();

    // Not loaded yet: nothing, and a warning that says which.
    EXPECT_FALSE(tools.getIconImage(0));
    EXPECT_NE(std::string::npos, problems.find("TOOL_ICON0"));
    problems.clear();

    resources->setLoadingEnabled(true);
    resources->requestSection(ToolCatalog::kImageSection);
    for (int i = 0; i < 2000 && resources->hasPendingRequests(); ++i) {
        resources->wakeLoader();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ASSERT_FALSE(resources->hasPendingRequests());
    for (int id = 0; id < tools.getToolCount(); ++id) {
        RefPointer<Image> icon = tools.getIconImage(id);
        RefPointer<Image> big = tools.getBigIconImage(id);
        ASSERT_TRUE(icon && big && tools.getButtonImage(id) && tools.getShopButtonImage(id)) << id;
        EXPECT_GT(big->getWidth(), icon->getWidth()) << id;
    }
    EXPECT_EQ("", problems);
    EXPECT_FALSE(tools.getButtonImage(99));
    EXPECT_NE(std::string::npos, problems.find("No tool 99"));
    ResourceManager::destroyInstance();
}

TEST_F(GameDataContentTest, EveryLevelsCustomerHasAPortraitForTheLevelInformation)
{
    ResourceManager::create();
    ResourceManager* resources = ResourceManager::instance;
    resources->addResourceFile("media/properties/resources.xml");
    ASSERT_TRUE(resources->loadResourceFiles());
    std::set<std::string> customers;
    forEachCareerLevel([&](int, const Level& level) { customers.insert(level.customerName); });
    LevelManager& arcade = data->state->arcadeManager;
    for (int i = 0; i < arcade.getLevelCount(); ++i) {
        arcade.selectLevel(i);
        customers.insert(arcade.getLevel().customerName);
    }
    ASSERT_GT(customers.size(), 3u);
    for (const std::string& customer : customers) {
        std::string key = customer + "_DIALOG";
        std::transform(key.begin(), key.end(), key.begin(), [](unsigned char c) { return std::toupper(c); });
        RefPointer<BaseObject> portrait = resources->getLoadedResource(key, "scenegame");
        EXPECT_TRUE(objectCast<Image>(portrait.get())) << key;
    }
    EXPECT_EQ("", problems);
    ResourceManager::destroyInstance();
}

// The selection scene drops the loading screen's section; the fonts it
// shares with the default section stay for every later scene and dialog.
TEST_F(GameDataContentTest, DroppingTheLoadingScreensSectionKeepsTheDefaultFonts)
{
    ResourceManager::create();
    ResourceManager* resources = ResourceManager::instance;
    resources->addResourceFile("media/properties/resources.xml");
    ASSERT_TRUE(resources->loadResourceFiles());
    resources->setLoadingEnabled(true);
    for (const char* section : {"preloading", "default"})
        resources->requestSection(section);
    for (int i = 0; i < 4000 && resources->hasPendingRequests(); ++i) {
        resources->wakeLoader();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ASSERT_FALSE(resources->hasPendingRequests());
    ASSERT_TRUE(resources->getResource("FONT_HEADER", "preloading"));
    resources->removeSection("preloading", true);
    for (const char* font : {"FONT_TITLE", "FONT_HEADER", "FONT_BUTTON", "FONT_DIALOG"})
        EXPECT_TRUE(resources->getResource(font, "default")) << font;
    EXPECT_EQ("", problems);
    ResourceManager::destroyInstance();
}

TEST_F(GameDataContentTest, FifteenTrophiesWithTheirPicturesAndTexts)
{
    // The working folder is the source tree, so the game's own relative path serves.
    RefPointer<Trophies> trophies(new Trophies());
    ASSERT_EQ(15, trophies->getCount());
    EXPECT_EQ("trophies", trophies->getTrophySection());
    for (int i = 0; i < trophies->getCount(); ++i) {
        Trophy* trophy = trophies->getTrophy(i);
        ASSERT_NE(nullptr, trophy);
        ASSERT_GE(trophy->getInfoCount(), 3) << i;
        const TrophyInfo* button = trophy->getInfo(0);
        const TrophyInfo* picture = trophy->getInfo(1);
        const TrophyInfo* locked = trophy->getInfo(2);
        EXPECT_EQ("trophies", picture->section) << i;
        EXPECT_FALSE(picture->image.empty()) << i;
        EXPECT_EQ(button->x, locked->x) << i;
        EXPECT_EQ(button->y, locked->y) << i;
        for (const std::string& key : {button->headerId, button->textId, picture->headerId, picture->textId})
            EXPECT_FALSE(BasicProperties::instance->getText(key).empty()) << i << " " << key;
        EXPECT_EQ(0, trophies->getState(i));
    }
    EXPECT_EQ("", problems);
}

// Each trophy says what it rewards with a picture of its own: no two of the
// fifteen share their large picture or their place on the shelf.
TEST_F(GameDataContentTest, EveryTrophyHasPicturesOfItsOwn)
{
    RefPointer<Trophies> trophies(new Trophies());
    ASSERT_EQ(15, trophies->getCount());
    for (int record : {0, 1}) {
        std::vector<std::string> pixels;
        for (int i = 0; i < trophies->getCount(); ++i) {
            const std::string& key = trophies->getTrophy(i)->getInfo(record)->image;
            std::string file = key;
            for (char& ch : file)
                ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
            // "TROPHY_BUTTON3" lives in "button3.png", "TROPHY_BIG3" in "big3.png".
            file = "media/images/trophies/" + file.substr(std::string("trophy_").size()) + ".png";
            RefPointer<Image> image = loadPngFile(file, 0);
            ASSERT_TRUE(image) << file;
            const size_t size = static_cast<size_t>(image->getWidth()) * image->getHeight() * 4;
            pixels.emplace_back(reinterpret_cast<const char*>(image->getPixels()), size);
        }
        for (size_t a = 0; a < pixels.size(); ++a)
            for (size_t b = a + 1; b < pixels.size(); ++b)
                EXPECT_NE(pixels[a], pixels[b]) << "record " << record << ": trophies " << a << " and " << b;
    }
}

}  // namespace
