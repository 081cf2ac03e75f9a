// Every career level played by the scripted player through the real game
// objects: each must be won. One test per level, so that ctest runs them side
// by side; each writes its row of the table, and the table
// "level_runner.txt" in the build folder is remade from the rows every time.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <algorithm>
#include <set>
#include <string>
#include <unistd.h>

#include <vector>

#include "LevelRunner.h"
#include "game/data/GameData.h"
#include "game/data/Level.h"
#include "support/TestFolders.h"

namespace {

constexpr int kCareerLevels = 60;
constexpr int kArcadeSets = 6;
constexpr unsigned kSeed = 2026;
// Rounds the player serves in an arcade set before he lets the belt win.
constexpr int kArcadeRounds = 3;

std::vector<int> careerLevels()
{
    std::vector<int> levels;
    for (int index = 0; index < kCareerLevels; ++index)
        levels.push_back(index);
    return levels;
}

std::string rowOf(const LevelOutcome& outcome)
{
    char name[16];
    if (outcome.arcade)
        std::snprintf(name, sizeof name, "set %d", outcome.levelIndex + 1);
    else
        std::snprintf(name, sizeof name, "%d%s", outcome.levelIndex + 1, outcome.exam ? " exam" : "");
    const char* result = outcome.arcade ? "over" : outcome.won ? "won" : "lost";
    char row[240];
    std::snprintf(row, sizeof row, "%-8s  %-11s  %-6s  %2d/%-2d  %6d  %7d  %4d:%02d  %5d  %5d  %s\n", name,
                  outcome.theme.c_str(), result, outcome.stars, outcome.starsGoal, outcome.rounds, outcome.score,
                  outcome.playMs / 60000, outcome.playMs / 1000 % 60, outcome.moves, outcome.packagings,
                  outcome.stall.c_str());
    return row;
}

// Rewrites the table from every row file there is, in level order.
void writeTable(const std::filesystem::path& rows)
{
    std::set<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(rows))
        files.insert(entry.path());
    std::string table = "level     theme        result  stars  rounds    score     time  moves  packs  stalled\n";
    for (const std::filesystem::path& file : files)
        table += readTestFile(file.string());
    const std::string path = std::string(TORTELUNE_BINARY_DIR) + "/level_runner.txt";
    const std::string temporary = path + ".tmp-" + std::to_string(::getpid());
    std::ofstream(temporary) << table;
    std::filesystem::rename(temporary, path);
}

// Writes the outcome's row (named so that the table sorts career levels
// before arcade sets) and remakes the table.
void recordRow(const std::string& rowName, const LevelOutcome& outcome)
{
    const std::filesystem::path rows = std::filesystem::path(TORTELUNE_BINARY_DIR) / "level_runner";
    std::filesystem::create_directories(rows);
    std::ofstream((rows / rowName).string()) << rowOf(outcome);
    writeTable(rows);
}

// What the level files ask of each theme, in the order the career meets them:
// the stars of the goal and the recipes. Each countertop theme asks more stars
// on average than the one before and never fewer recipes, and so does each
// exam; without that the career would not grow harder as it goes.
TEST(LevelDifficultyTest, EachThemeAsksMoreThanTheOneBefore)
{
    LevelRunner runner(makeTestFolder("LevelDifficulty"), kSeed);
    ASSERT_TRUE(runner.isReady());
    struct Theme {
        std::string name;
        bool exam = false;
        double meanGoal = 0.0;
        size_t fewestRecipes = 1000;
        size_t mostRecipes = 0;
    };
    std::vector<Theme> themes;
    LevelManager& levels = GameData::instance->state->levelManager;
    GameData::instance->state->mode = 0;
    ASSERT_EQ(kCareerLevels, levels.getLevelCount());
    for (int index = 0; index < kCareerLevels; ++index) {
        levels.selectLevel(index);
        const Level& level = levels.getLevel();
        if (themes.empty() || themes.back().name != level.themeName) {
            themes.push_back({level.themeName, GameData::instance->isExamLevel()});
        }
        Theme& theme = themes.back();
        theme.meanGoal += level.starsGoal / 4.0;
        theme.fewestRecipes = std::min(theme.fewestRecipes, level.recipes.size());
        theme.mostRecipes = std::max(theme.mostRecipes, level.recipes.size());
    }
    ASSERT_EQ(15u, themes.size());
    for (bool exams : {false, true}) {
        const Theme* previous = nullptr;
        for (const Theme& theme : themes) {
            if (theme.exam != exams)
                continue;
            if (previous) {
                EXPECT_GT(theme.meanGoal, previous->meanGoal) << theme.name << " after " << previous->name;
                EXPECT_GE(theme.fewestRecipes, previous->fewestRecipes) << theme.name << " after " << previous->name;
            }
            previous = &theme;
        }
    }
}

class LevelRunnerTest : public ::testing::TestWithParam<int> {};

TEST_P(LevelRunnerTest, CareerLevelIsWonByTheScriptedPlayer)
{
    const int index = GetParam();
    LevelOutcome outcome;
    std::string problems;
    {
        LevelRunner runner(makeTestFolder("LevelRunner" + std::to_string(index)), kSeed);
        ASSERT_TRUE(runner.isReady());
        outcome = runner.playCareerLevel(index);
        problems = runner.getProblems();
    }
    char name[32];
    std::snprintf(name, sizeof name, "a-level%02d.txt", index + 1);
    recordRow(name, outcome);

    EXPECT_FALSE(outcome.boardOutOfMoves && !outcome.boardKnewItWasStuck)
        << "the board ran out of moves without knowing: " << rowOf(outcome);
    EXPECT_TRUE(outcome.stall.empty()) << outcome.stall;
    EXPECT_TRUE(outcome.finished);
    EXPECT_TRUE(outcome.won) << rowOf(outcome);
    EXPECT_EQ(problems, "");
}

INSTANTIATE_TEST_SUITE_P(Career, LevelRunnerTest, ::testing::ValuesIn(careerLevels()),
                         [](const ::testing::TestParamInfo<int>& info) {
                             char name[32];
                             std::snprintf(name, sizeof name, "Level%02d", info.param + 1);
                             return std::string(name);
                         });

class ArcadeRunnerTest : public ::testing::TestWithParam<int> {};

// An arcade set is never won: the player serves a few rounds, then lets the
// belt win, and the run must reach its results and leave to the arcade.
TEST_P(ArcadeRunnerTest, ArcadeSetRunsToItsResults)
{
    const int set = GetParam();
    LevelOutcome outcome;
    std::string problems;
    {
        LevelRunner runner(makeTestFolder("ArcadeRunner" + std::to_string(set)), kSeed);
        ASSERT_TRUE(runner.isReady());
        outcome = runner.playArcadeSet(set, kArcadeRounds);
        problems = runner.getProblems();
    }
    recordRow("b-arcade" + std::to_string(set + 1) + ".txt", outcome);

    EXPECT_TRUE(outcome.stall.empty()) << outcome.stall;
    EXPECT_TRUE(outcome.finished);
    EXPECT_GE(outcome.rounds, 1) << rowOf(outcome);
    EXPECT_GT(outcome.packagings, 0) << rowOf(outcome);
    EXPECT_EQ(problems, "");
}

INSTANTIATE_TEST_SUITE_P(Arcade, ArcadeRunnerTest, ::testing::Range(0, kArcadeSets),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return "Set" + std::to_string(info.param + 1);
                         });

} // namespace
