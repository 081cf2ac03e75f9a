// The arcade's results and information dialogs, and the arcade scene with its
// curtain, reveals by rank and the continue or discard of a saved run.
#include "GameDialogsFixture.h"
#include "framework/core/BasicProperties.h"
#include "framework/core/PropertyStore.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/Image.h"
#include "framework/gui/Button.h"
#include "framework/gui/Scene.h"
#include "framework/gui/SceneManager.h"
#include "framework/gui/StyleLabel.h"
#include "framework/players/PlayerManager.h"
#include "framework/players/PropertyAccess.h"
#include <chrono>
#include <thread>
#include <vector>
#include "framework/resources/ResourceManager.h"
#include "framework/scenegraph/Label.h"
#include "framework/scenegraph/RenderTask.h"
#include "framework/scenegraph/Sprite.h"
#include "game/data/GameData.h"
#include "game/data/TortelunePlayer.h"
#include "game/dialogs/DefaultDialogPainter.h"
#include "game/dialogs/DialogArcadeEnd.h"
#include "game/dialogs/DialogHint.h"
#include "game/dialogs/DialogArcadeInfo.h"
#include "game/dialogs/TrophyText.h"
#include "game/dialogs/Trophies.h"
#include "game/dialogs/TrophyWatcher.h"
#include "game/production/PlaySessionInfo.h"
#include "game/scenes/HintManager.h"
#include "game/scenes/SceneArcade.h"
#include "support/PictureClearance.h"
#include "game/scenes/SceneGame.h"

namespace {

std::string text(GameNode* node)
{
    auto* label = objectCast<Label>(node);
    return label ? toNarrowString(label->getText()) : std::string("<none>");
}

std::string textOf(const char* key)
{
    return toNarrowString(BasicProperties::instance->getText(key));
}

bool visible(Dialog* dialog, const char* name)
{
    GameNode* node = dialog->getComponent(name);
    return node && node->isVisible();
}

class ArcadeDialogsTest : public GameDialogsFixture {
protected:
    void SetUp() override
    {
        GameDialogsFixture::SetUp();
        GameData::instance->state->mode = 1;
        GameData::instance->startLevel(0);
    }
    DialogArcadeEnd* results(int arcadeLevel, int score)
    {
        auto* dialog = objectCast<DialogArcadeEnd>(open("DIALOG_ARCADE_END"));
        if (!dialog)
            return nullptr;
        PlaySessionInfo session;
        session.arcadeLevel = arcadeLevel;
        session.score = score;
        DialogArcadeEnd::showResults(dialog, session);
        return dialog;
    }
};

TEST_F(ArcadeDialogsTest, ResultsMarkOnlyTheBestsThatWereBeaten)
{
    struct Case {
        const char* name;
        int storedLevel; // -1: never played
        int storedScore;
        int arcadeLevel;
        int score;
        bool levelRecord;
        bool scoreRecord;
        const char* bestLevel;
        const char* bestScore;
    };
    const Case cases[] = {
        {"neither", 4, 9000, 2, 5000, false, false, "5", "9,000"},
        {"score only", 4, 9000, 2, 12000, false, true, "5", "12,000"},
        {"equal is no record", 2, 5000, 2, 5000, false, false, "3", "5,000"},
        {"first game", -1, 0, 1, 10, true, true, "2", "10"},
        {"first game, first round", -1, 0, 0, 0, false, false, "1", "0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        player->arcadeLevel.clear();
        player->arcadeScore.clear();
        if (c.storedLevel >= 0) {
            player->arcadeLevel[0] = c.storedLevel;
            player->arcadeScore[0] = c.storedScore;
        }
        DialogArcadeEnd* dialog = results(c.arcadeLevel, c.score);
        ASSERT_NE(nullptr, dialog);
        EXPECT_EQ(c.levelRecord, dialog->isNewLevelRecord());
        EXPECT_EQ(c.scoreRecord, dialog->isNewScoreRecord());
        EXPECT_FALSE(visible(dialog, "BUTTON_RESTART"));
        advance(12000);
        EXPECT_TRUE(dialog->isRevealDone());
        EXPECT_EQ(textOf("TEXT_ARCADEINFO_SET") + " 1", text(dialog->getComponent("LABEL_SET")));
        EXPECT_EQ(textOf("TEXT_ARCADENAME0"), text(dialog->getComponent("LABEL_NAME")));
        EXPECT_EQ(c.bestLevel, text(dialog->getComponent("LABEL_LEVELRECORDVALUE")));
        EXPECT_EQ(c.bestScore, text(dialog->getComponent("LABEL_SCORERECORDVALUE")));
        EXPECT_EQ(c.scoreRecord, visible(dialog, "SPRITE_SCORENEWRECORD"));
        EXPECT_EQ(c.levelRecord, visible(dialog, "SPRITE_LEVELNEWRECORD"));
        // The figures stay in sight beside their marks.
        for (const char* figure : {"LABEL_LEVELVALUE", "SPRITE_LEVELICON", "LABEL_SCOREVALUE"})
            EXPECT_TRUE(visible(dialog, figure)) << figure;
        EXPECT_TRUE(visible(dialog, "BUTTON_RESTART"));
        if (c.scoreRecord && c.levelRecord)
            screenshot("arcade_results_records.png");
        SceneManager::instance->getCurrentScene()->forgetDialog(dialog);
    }
}

// The pixels of the drawn game scene that change when `node` is hidden.
std::vector<bool> pixelsOf(GameNode* node)
{
    Scene* scene = SceneManager::instance->getCurrentScene();
    auto draw = [scene] {
        RefPointer<Image> canvas = Image::create(800, 600, 4);
        RefPointer<Graphics> graphics = canvas->getGraphics();
        graphics->setColour(0xFF000000);
        graphics->clear();
        RenderTask::renderFrame(scene, graphics.get(), scene->getTree());
        return canvas;
    };
    RefPointer<Image> shown = draw();
    node->setVisible(false);
    RefPointer<Image> hidden = draw();
    node->setVisible(true);
    const auto* a = reinterpret_cast<const uint32_t*>(shown->getPixels());
    const auto* b = reinterpret_cast<const uint32_t*>(hidden->getPixels());
    std::vector<bool> changed(800 * 600);
    for (size_t i = 0; i < changed.size(); ++i)
        changed[i] = a[i] != b[i];
    return changed;
}

TEST_F(ArcadeDialogsTest, NewRecordMarksLeaveTheRoundAndTheScoreInSight)
{
    player->arcadeLevel[0] = 1;
    player->arcadeScore[0] = 300;
    DialogArcadeEnd* dialog = results(6, 45670);
    ASSERT_NE(nullptr, dialog);
    advance(12000);
    ASSERT_TRUE(dialog->isNewLevelRecord() && dialog->isNewScoreRecord());
    const std::pair<const char*, const char*> rows[] = {{"LABEL_LEVELVALUE", "SPRITE_LEVELNEWRECORD"},
                                                        {"LABEL_SCOREVALUE", "SPRITE_SCORENEWRECORD"}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.first);
        auto* figure = objectCast<Sprite>(dialog->getComponent(row.first));
        auto* mark = objectCast<Sprite>(dialog->getComponent(row.second));
        ASSERT_TRUE(figure && mark);
        ASSERT_TRUE(figure->isVisible() && mark->isVisible());
        // Its digits reach the screen, and no pixel of them is shared with the mark.
        const std::vector<bool> digits = pixelsOf(figure);
        const std::vector<bool> ribbon = pixelsOf(mark);
        int drawn = 0;
        int shared = 0;
        for (size_t i = 0; i < digits.size(); ++i) {
            drawn += digits[i] ? 1 : 0;
            shared += digits[i] && ribbon[i] ? 1 : 0;
        }
        EXPECT_GT(drawn, 150);
        EXPECT_EQ(0, shared);
    }
    screenshot("arcade_results_new_records.png");
}

TEST_F(ArcadeDialogsTest, AClickDuringTheRevealShowsTheEndAtOnceAndTheNextGoesToTheButtons)
{
    player->arcadeScore[0] = 300;
    DialogArcadeEnd* dialog = results(3, 4567);
    ASSERT_NE(nullptr, dialog);
    advance(400);
    EXPECT_FALSE(dialog->isRevealDone());
    dialog->onLeftUp(5, 5, 0);
    EXPECT_TRUE(dialog->isRevealDone());
    EXPECT_EQ("4", text(dialog->getComponent("LABEL_LEVELVALUE")));
    EXPECT_EQ("4,567", text(dialog->getComponent("LABEL_SCOREVALUE")));
    EXPECT_TRUE(visible(dialog, "LABEL_SCOREVALUE"));
    EXPECT_TRUE(visible(dialog, "SPRITE_SCORENEWRECORD"));
    auto* restart = objectCast<Button>(dialog->getComponent("BUTTON_RESTART"));
    ASSERT_NE(nullptr, restart);
    EXPECT_TRUE(restart->isVisible());
    EXPECT_TRUE(restart->isEnabled());
    advance(6000); // the cut reveal never finishes a second time
    dialog->onLeftUp(5, 5, 0);
    EXPECT_TRUE(dialog->isRevealDone());
    screenshot("arcade_results.png");
}

TEST_F(ArcadeDialogsTest, InformationShowsTheSetAndTheGroupedBests)
{
    auto* info = objectCast<DialogArcadeInfo>(open("DIALOG_ARCADE_INFO"));
    ASSERT_NE(nullptr, info);
    player->arcadeScore[2] = 1234567;
    player->arcadeLevel[2] = 6;
    DialogArcadeInfo::setup(info, 2);
    EXPECT_EQ(textOf("TEXT_ARCADEINFO_SET") + " 3", text(info->getComponent("LABEL_SET")));
    EXPECT_EQ(textOf("TEXT_ARCADENAME2"), text(info->getComponent("LABEL_NAME")));
    EXPECT_EQ("1,234,567", text(info->getComponent("LABEL_SCOREVALUE")));
    EXPECT_EQ("7", text(info->getComponent("LABEL_LEVELVALUE")));
    DialogArcadeInfo::setup(info, 0);
    EXPECT_EQ("0", text(info->getComponent("LABEL_SCOREVALUE")));
    EXPECT_EQ("1", text(info->getComponent("LABEL_LEVELVALUE")));
    // The description is marked up as every dialog's: [b] is the numbers font.
    BasicProperties::instance->setText("TEXT_ARCADETEXT1", u"Bake [b]12[/b] [i]quickly[/i]");
    DialogArcadeInfo::setup(info, 1);
    auto* goal = objectCast<StyleLabel>(info->getComponent("LABEL_GOAL"));
    ASSERT_NE(nullptr, goal);
    EXPECT_EQ(formatDialogText(u"Bake [b]12[/b] [i]quickly[/i]"), goal->getText());
    EXPECT_NE(WString::npos, goal->getText().find(u"[font=FONT_NUMBERS,default]12[/font]"));
    DialogArcadeInfo::setup(info, 0);
    EXPECT_EQ(2, info->getResult());
    advance(400);
    screenshot("arcade_info_first_set.png");
}

class ArcadeSceneTest : public ArcadeDialogsTest {
protected:
    void SetUp() override
    {
        ArcadeDialogsTest::SetUp();
        ResourceManager::instance->requestSection("scenearcade");
        // The chef of the information dialog, without the whole game section.
        ResourceManager::instance->getLoadedResource("CUSTOMER_HENRI_ARCADE_HAPPY", "scenegame");
        for (int waited = 0; ResourceManager::instance->hasPendingRequests() && waited < 120000; waited += 10)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        arcade = objectCast<SceneArcade>(SceneManager::instance->registerScene("SCENE_ARCADE"));
        ASSERT_NE(nullptr, arcade);
        for (int set = 0; set < 6; ++set)
            player->arcadeState[set] = 1;
    }
    void fromSelection()
    {
        enter(selection);
        enter(arcade);
    }
    void saveRun(int set)
    {
        GameData::instance->state->mode = 1;
        GameData::instance->startLevel(set);
        PropertyStore store;
        GameData::instance->saveGame(&store);
        if (set > 5) // a damaged file: a set that does not exist
            childNode(&store, "arcadelevelmanager")->setInt("currentLevel", set, true);
        ASSERT_TRUE(PlayerManager::getInstance()->saveGameState("ARCADE", player->getName(), store));
    }

    SceneArcade* arcade = nullptr;
};

TEST_F(ArcadeSceneTest, FirstVisitRevealsTheFirstBowlAfterTheCurtainThenCountsTheVisit)
{
    fromSelection();
    EXPECT_EQ(1, GameData::instance->state->mode);
    EXPECT_FALSE(arcade->getBowl(0)->isEnabled());
    EXPECT_TRUE(arcade->getBowl(3)->isEnabled());
    advance(1000);
    screenshot("arcade_scene_curtain.png");
    advance(3000);
    EXPECT_TRUE(arcade->getBowl(0)->isEnabled());
    EXPECT_EQ(1, player->numArcadeVisits);
    EXPECT_TRUE(arcade->getBowl(0)->isInputEnabled());
    screenshot("arcade_scene.png");
}

// The chef's welcome on the first visit: nobody stands in the arcade, so the
// bubble has no tail; it and its hand leave the six bowls in sight, the hand
// only touching the bowl it points at.
TEST_F(ArcadeSceneTest, TheFirstHintStandsClearOfTheBowlsAndPointsAtNobody)
{
    HintManager::create();
    player->numArcadeVisits = 0;
    fromSelection();
    DialogHint* hint = nullptr;
    for (int ms = 0; ms < 8000 && !hint; ms += 20) {
        advance(20);
        if (arcade->isDialogShown("DIALOG_HINT"))
            hint = objectCast<DialogHint>(arcade->getDialog("DIALOG_HINT"));
    }
    ASSERT_NE(nullptr, hint);
    EXPECT_EQ("HINT_ARCADEFIRST", hint->hintName);
    advance(1200);
    screenshot("hint_arcade_HINT_ARCADEFIRST.png");
    auto* painter = objectCast<DialogHintPainter>(hint->getPainter());
    ASSERT_NE(nullptr, painter);
    EXPECT_EQ(DialogHintPainter::kNoConnector, painter->getCorner()) << "a tail towards nobody";
    Sprite* hand = hint->getHand();
    ASSERT_NE(nullptr, hand);
    Hint* record = HintManager::instance->findHint("HINT_ARCADEFIRST");
    ASSERT_NE(nullptr, record);
    hint->setVisible(false);
    hand->setVisible(false);
    std::vector<std::pair<int, ScreenBox>> bowls;
    for (int set = 0; set < 6; ++set)
        bowls.push_back({set, inkBoxOf(arcade, arcade->getBowl(set))});
    hint->setVisible(true);
    hand->setVisible(true);
    bool pointedAt = false;
    for (const auto& [set, box] : bowls) {
        ASSERT_FALSE(box.isEmpty()) << "bowl " << set;
        EXPECT_EQ(0, pixelsCoveredBy(arcade, {hint}, box)) << "the bubble covers bowl " << set;
        const bool target = box.holds(record->handX, record->handY);
        pointedAt = pointedAt || target;
        const int area = (box.right - box.left) * (box.bottom - box.top);
        EXPECT_LE(pixelsCoveredBy(arcade, {hand}, box), target ? area / 10 : 0) << "the hand covers bowl " << set;
    }
    EXPECT_TRUE(pointedAt) << "the hand points at a bowl";
    HintManager::destroyInstance();
}

TEST_F(ArcadeSceneTest, NewlyUnlockedSetsAreRevealedOneAfterAnother)
{
    player->numArcadeVisits = 3;
    player->arcadeSet1Notice = true;
    player->arcadeSets2And3Notice = true;
    player->arcadeSets4And5Notice = true;
    fromSelection();
    for (int set = 1; set < 6; ++set)
        EXPECT_FALSE(arcade->getBowl(set)->isEnabled()) << set;
    advance(2300);
    EXPECT_TRUE(arcade->getBowl(1)->isEnabled());
    EXPECT_FALSE(arcade->getBowl(2)->isEnabled());
    advance(6000);
    for (int set = 1; set < 6; ++set)
        EXPECT_TRUE(arcade->getBowl(set)->isEnabled()) << set;
    EXPECT_FALSE(player->arcadeSet1Notice || player->arcadeSets2And3Notice || player->arcadeSets4And5Notice);
    EXPECT_EQ(4, player->numArcadeVisits);
}

TEST_F(ArcadeSceneTest, ASavedRunIsOfferedFromTheSelectionAndDiscardingDeletesIt)
{
    player->numArcadeVisits = 1;
    saveRun(2);
    fromSelection();
    advance(2500);
    EXPECT_TRUE(arcade->hasSaved());
    EXPECT_EQ(2, arcade->getSavedSetIndex());
    EXPECT_TRUE(isShown("CTEXT_START_SAVEGAME"));
    SceneArcade::onDiscard(arcade, nullptr);
    EXPECT_FALSE(arcade->hasSaved());
    EXPECT_FALSE(PlayerManager::getInstance()->savedGameExists("ARCADE", player->getName()));
}

TEST_F(ArcadeSceneTest, EachArrivalForgetsAnOldSaveAndASetOutsideTheSixIsNotOffered)
{
    player->numArcadeVisits = 1;
    saveRun(1);
    fromSelection();
    advance(2500);
    ASSERT_TRUE(arcade->hasSaved());
    SceneArcade::onDiscard(arcade, nullptr);
    advance(600);
    EXPECT_FALSE(isShown("CTEXT_START_SAVEGAME"));
    saveRun(1);
    PlayerManager::getInstance()->deleteSavedGame("ARCADE", player->getName());
    enter(game);
    enter(arcade);
    EXPECT_FALSE(arcade->hasSaved());
    saveRun(7);
    enter(selection);
    enter(arcade);
    EXPECT_FALSE(arcade->hasSaved());
    EXPECT_EQ(-1, arcade->getSavedSetIndex());
    EXPECT_FALSE(isShown("CTEXT_START_SAVEGAME"));
}

TEST_F(ArcadeSceneTest, PickingABowlOpensItsInformationAndCancelStaysInTheScene)
{
    player->numArcadeVisits = 1;
    fromSelection();
    advance(2500);
    SceneArcade::onBowl(arcade, arcade->getBowl(4));
    EXPECT_EQ(4, GameData::instance->state->arcadeManager.getCurrentIndex());
    ASSERT_TRUE(isShown("DIALOG_ARCADE_INFO"));
    advance(400);
    screenshot("arcade_info.png");
    auto* info = objectCast<DialogArcadeInfo>(arcade->getDialog("DIALOG_ARCADE_INFO"));
    ASSERT_NE(nullptr, info);
    // The customer is painted into the dialog's frame, once: the sprite itself no longer draws.
    auto* customer = objectCast<Sprite>(info->getComponent("SPRITE_CUSTOMER"));
    ASSERT_NE(nullptr, customer);
    EXPECT_FALSE(customer->isVisible());
    Image* picture = customer->getImage();
    ASSERT_NE(nullptr, picture);
    const int left = customer->getAbsoluteX() - info->getAbsoluteX() - static_cast<int>(customer->getAnchorPoint().x);
    const int top = customer->getAbsoluteY() - info->getAbsoluteY() - static_cast<int>(customer->getAnchorPoint().y);
    Image* frame = info->getFrameImage();
    ASSERT_NE(nullptr, frame);
    ASSERT_EQ(4, frame->getBytesPerPixel());
    ASSERT_EQ(4, picture->getBytesPerPixel());
    int opaque = 0;
    int matching = 0;
    // Its one frame (the picture holds four, one above the other).
    for (int y = 0; y < customer->getHeight(); y += 7) {
        for (int x = 0; x < customer->getWidth(); x += 7) {
            const uint32_t source = picture->row32(y)[x];
            if ((source >> 24) != 0xFF)
                continue;
            ++opaque;
            matching += (frame->row32(top + y)[left + x] & 0xFFFFFF) == (source & 0xFFFFFF);
        }
    }
    ASSERT_GT(opaque, 20);
    EXPECT_EQ(opaque, matching);
    info->getComponent("BUTTON_CANCEL");
    SceneArcade::onInfoClosed(arcade, info);
    EXPECT_EQ(arcade, SceneManager::instance->getCurrentScene());
}

TEST_F(ArcadeSceneTest, BackFromARunTheBeltsTrophyIsAnnouncedButNotFromTheSelection)
{
    constexpr int kGiantScore = 7; // earned on the belt, announced in the arcade scene
    TrophyWatcher::create();
    player->numArcadeVisits = 1;
    Trophies* trophies = player->getTrophies();
    ASSERT_NE(nullptr, trophies);
    ASSERT_GT(trophies->getCount(), kGiantScore);
    trophies->setState(kGiantScore, 1);
    struct Case {
        const char* from;
        Scene* previous;
        int pendingAfterArrival;
    };
    const Case cases[] = {
        {"selection", selection, TrophyWatcher::KindNone},
        {"game", game, TrophyWatcher::KindArcade},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.from);
        enter(c.previous);
        enter(arcade);
        advance(2500);
        EXPECT_EQ(c.pendingAfterArrival, TrophyWatcher::instance->getPendingKind());
    }
    // The watcher announces it in the arcade scene and marks it seen.
    TrophyWatcher::instance->run(20);
    EXPECT_TRUE(isShown("DIALOG_TROPHYAWARDED"));
    EXPECT_EQ(2, trophies->getState(kGiantScore));
    TrophyWatcher::destroyInstance();
}

} // namespace
