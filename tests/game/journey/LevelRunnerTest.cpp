// Every career level played by the scripted player through the real game
// objects: each must be won. One test per level, so that ctest runs them side
// by side; each writes its row of the table, and the table
// "level_runner.txt" in the build folder is remade from the rows every time.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <unistd.h>

#include <vector>

#include "LevelRunner.h"
#include "support/TestFolders.h"

namespace {

constexpr int kCareerLevels = 60;
constexpr unsigned kSeed = 2026;

// The exam levels run on the conveyor belt, which this player does not work
// yet (ScriptedConveyorRunTest plays an exam); the runner takes the others.
bool isExamLevel(int index)
{
    const int theme = index / 4;
    return theme == 3 || theme == 7 || theme == 11;
}

std::vector<int> countertopLevels()
{
    std::vector<int> levels;
    for (int index = 0; index < kCareerLevels; ++index)
        if (!isExamLevel(index))
            levels.push_back(index);
    return levels;
}

std::string rowOf(const LevelOutcome& outcome)
{
    char row[200];
    std::snprintf(row, sizeof row, "%5d  %-10s  %-6s  %2d/%-2d  %7d  %4d:%02d  %5d  %4d  %s\n", outcome.levelIndex + 1,
                  outcome.theme.c_str(), outcome.won ? "won" : "lost", outcome.stars, outcome.starsGoal,
                  outcome.score, outcome.playMs / 60000, outcome.playMs / 1000 % 60, outcome.moves,
                  outcome.packagings, outcome.stall.c_str());
    return row;
}

// Rewrites the table from every row file there is, in level order.
void writeTable(const std::filesystem::path& rows)
{
    std::set<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(rows))
        files.insert(entry.path());
    std::string table = "level  theme       result  stars    score     time  moves  packs  stalled\n";
    for (const std::filesystem::path& file : files)
        table += readTestFile(file.string());
    const std::string path = std::string(TORTELUNE_BINARY_DIR) + "/level_runner.txt";
    const std::string temporary = path + ".tmp-" + std::to_string(::getpid());
    std::ofstream(temporary) << table;
    std::filesystem::rename(temporary, path);
}

// What the game logs today because parts of the game scene are still to
// come: the scene's own layers (the goal's sparkles fly to one of them) and
// the results dialog (the level is left without it).
// TODO(game scene): drop these once the scene's layers and dialogs exist.
const char* const kPendingMessages[] = {
    "no node \"NODE_FLOATERGOAL\"",
    "no dialog named \"\"",
    "no dialog named \"DIALOG_LEVEL_END\"",
    "for \"DIALOG_LEVEL_END\"",
    "results: no results dialog",
};

std::string withoutPendingMessages(const std::string& problems)
{
    std::string kept;
    size_t start = 0;
    while (start < problems.size()) {
        size_t end = problems.find('\n', start);
        end = end == std::string::npos ? problems.size() : end + 1;
        const std::string line = problems.substr(start, end - start);
        bool pending = false;
        for (const char* message : kPendingMessages)
            pending = pending || line.find(message) != std::string::npos;
        if (!pending)
            kept += line;
        start = end;
    }
    return kept;
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
    const std::filesystem::path rows = std::filesystem::path(TORTELUNE_BINARY_DIR) / "level_runner";
    std::filesystem::create_directories(rows);
    char name[32];
    std::snprintf(name, sizeof name, "level%02d.txt", index + 1);
    std::ofstream((rows / name).string()) << rowOf(outcome);
    writeTable(rows);

    EXPECT_FALSE(outcome.boardOutOfMoves && !outcome.boardKnewItWasStuck)
        << "the board ran out of moves without knowing: " << rowOf(outcome);
    EXPECT_TRUE(outcome.stall.empty()) << outcome.stall;
    EXPECT_TRUE(outcome.finished);
    EXPECT_TRUE(outcome.won) << rowOf(outcome);
    EXPECT_EQ(withoutPendingMessages(problems), "");
}

INSTANTIATE_TEST_SUITE_P(Career, LevelRunnerTest, ::testing::ValuesIn(countertopLevels()),
                         [](const ::testing::TestParamInfo<int>& info) {
                             char name[32];
                             std::snprintf(name, sizeof name, "Level%02d", info.param + 1);
                             return std::string(name);
                         });

} // namespace
