// Career level 1 played in the game scene by the scripted player, from the
// intro to a won results dialog and the rank-up it brings, with the real
// content. Pictures of each moment go to "pictures/" in the build folder.
#include <gtest/gtest.h>

#include <string>

#include "support/ScenePicture.h"
#include "LevelRunner.h"
#include "game/board/Grid.h"
#include "game/data/GameData.h"
#include "game/data/RankTable.h"
#include "game/data/TortelunePlayer.h"
#include "game/dialogs/DialogLevelEnd.h"
#include "game/production/Phase.h"
#include "support/TestFolders.h"

namespace {

constexpr unsigned kSeed = 2026;
// Where the board's cells lie on screen: 8 x 8 cells of 50 x 50 from (340, 24).
constexpr int kBoardLeft = 340;
constexpr int kBoardTop = 24;
constexpr int kBoardSize = 400;

RefPointer<Image> renderScene(Scene* scene)
{
    RefPointer<Image> canvas = Image::create(800, 600, 4);
    RefPointer<Graphics> graphics = canvas->getGraphics();
    graphics->setColour(0xFF000000);
    graphics->clear();
    RenderTask::renderFrame(scene, graphics.get(), scene->getTree());
    return canvas;
}

// The share (0..1) of the board's pixels that differ between two frames.
double boardDifference(Image* a, Image* b)
{
    a->lock();
    b->lock();
    int differing = 0;
    for (int y = kBoardTop; y < kBoardTop + kBoardSize; ++y)
        for (int x = kBoardLeft; x < kBoardLeft + kBoardSize; ++x)
            differing += a->row32(y)[x] != b->row32(y)[x] ? 1 : 0;
    a->unlock();
    b->unlock();
    return static_cast<double>(differing) / (kBoardSize * kBoardSize);
}

Grid* gridOf(SceneGame* scene)
{
    GamePieces* pieces = scene->getPhase() ? scene->getPhase()->getPieces() : nullptr;
    return pieces ? dynamic_cast<Grid*>(pieces->board.get()) : nullptr;
}

} // namespace

TEST(CareerLevelJourneyTest, LevelOneIsPlayedToAWonResultAndARankUp)
{
    LevelRunner runner(makeTestFolder("CareerLevelJourney"), kSeed);
    ASSERT_TRUE(runner.isReady());
    RunnerGameScene* scene = runner.getScene();
    TortelunePlayer* player = runner.getPlayer();
    // Just below the first rank, so that the level's score brings a rank-up.
    player->score = RankTable::getInstance()->getRankScore(1) - 400;
    const int scoreBefore = player->score;

    // The intro: the customer comes in and speaks; her words stay until clicked.
    LevelOutcome outcome;
    runner.setAnswersCustomer(false);
    ASSERT_TRUE(runner.startLevel(0, 0, outcome));
    runner.frames(25);
    ASSERT_TRUE(writeScenePicture(scene, "journey_level1_intro.png"));
    int frames = 0;
    for (; frames < 1000 && !scene->isDialogShown("DIALOG_CUSTOMERHINT"); ++frames)
        runner.frame();
    ASSERT_TRUE(scene->isDialogShown("DIALOG_CUSTOMERHINT"));
    runner.frames(50);
    ASSERT_TRUE(writeScenePicture(scene, "journey_level1_customer.png"));
    runner.setAnswersCustomer(true);
    ASSERT_TRUE(runner.runIntro(outcome)) << outcome.stall;

    // Mid-level: half the goal's stars earned, the board full of tiles.
    GameDataState& state = *GameData::instance->state;
    for (frames = 0; frames < 30000 && !state.levelOver && state.playSessionInfo.starCount * 2 < outcome.starsGoal;
         ++frames)
        runner.playFrame(outcome);
    ASSERT_FALSE(state.levelOver);
    Grid* grid = gridOf(scene);
    ASSERT_NE(nullptr, grid);
    for (frames = 0; frames < 500 && !(grid->allCellsIdle() && !grid->hasMatch()); ++frames)
        runner.frame();
    ASSERT_TRUE(writeScenePicture(scene, "journey_level1_play.png"));
    // The tiles are what the player sees on the board: without them it looks otherwise.
    RefPointer<Image> withTiles = renderScene(scene);
    grid->getGridNode()->setVisible(false);
    RefPointer<Image> withoutTiles = renderScene(scene);
    grid->getGridNode()->setVisible(true);
    EXPECT_GT(boardDifference(withTiles.get(), withoutTiles.get()), 0.3);

    ASSERT_TRUE(runner.playToEnd(outcome)) << outcome.stall;
    ASSERT_TRUE(runner.reachResults(outcome)) << outcome.stall;
    EXPECT_TRUE(outcome.won);
    auto* results = dynamic_cast<DialogLevelEnd*>(scene->getDialog("DIALOG_LEVEL_END"));
    ASSERT_NE(nullptr, results);
    ASSERT_TRUE(scene->isDialogShown("DIALOG_LEVEL_END"));
    // The profile records the attempt before the dialog shows.
    EXPECT_EQ(0, player->highestLevelReached);
    EXPECT_EQ(outcome.score, player->levelScore[0]);
    EXPECT_EQ(scoreBefore + outcome.score, player->score);
    EXPECT_EQ(1, player->rank);
    EXPECT_EQ(outcome.stars, results->getStarsEarned());

    // The reveal: rows come in one after the other, then the rank meter runs.
    runner.frames(60);
    ASSERT_TRUE(writeScenePicture(scene, "journey_level1_results_reveal.png"));
    for (frames = 0; frames < 3000 && !scene->isDialogShown("DIALOG_RANKUP"); ++frames)
        runner.frame();
    ASSERT_TRUE(scene->isDialogShown("DIALOG_RANKUP")) << "no rank-up during the results";
    runner.frames(40);
    ASSERT_TRUE(writeScenePicture(scene, "journey_level1_rankup.png"));
    // The rank-up closes by itself; the reveal ends with the buttons.
    for (frames = 0; frames < 3000 && (scene->isDialogShown("DIALOG_RANKUP") || !results->isSequenceDone()); ++frames)
        runner.frame();
    EXPECT_FALSE(scene->isDialogShown("DIALOG_RANKUP"));
    EXPECT_TRUE(results->isSequenceDone());
    EXPECT_EQ(1, results->getShownRank());
    runner.frames(50);
    ASSERT_TRUE(writeScenePicture(scene, "journey_level1_results_done.png"));

    ASSERT_TRUE(runner.leaveResults(outcome)) << outcome.stall;
    EXPECT_EQ(1, scene->timesLeft);
    EXPECT_EQ("", runner.getProblems());
}
