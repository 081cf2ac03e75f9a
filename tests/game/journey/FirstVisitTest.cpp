// A new player's first visit walked in-process with the real content: the
// name, the selection scene, the map's guided start, level 1 with its
// customer's words and first hints, played to its results, the level
// information of level 2, the tool shop, the trophy cabinet, the help and an
// arcade start. Every dialog and hint is drawn as it appears; the pictures
// make one contact sheet, "pictures/first_visit_sheet.png" in the build folder.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <chrono>
#include <string>
#include <thread>
#include <typeinfo>
#include <vector>

#include "ScriptedPlayer.h"
#include "framework/core/StringUtils.h"
#include "framework/graphics/BitmapFont.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/Image.h"
#include "framework/gui/Button.h"
#include "framework/gui/InputLabel.h"
#include "framework/gui/SceneManager.h"
#include "framework/platform/FrameClock.h"
#include "framework/platform/InputHandler.h"
#include "framework/platform/TimedTaskManager.h"
#include "framework/resources/ResourceLookup.h"
#include "framework/resources/ResourceManager.h"
#include "framework/scenegraph/Label.h"
#include "framework/scenegraph/RenderTask.h"
#include "game/data/GameData.h"
#include "game/data/RankTable.h"
#include "game/data/ToolCatalog.h"
#include "game/data/TortelunePlayer.h"
#include "game/dialogs/DialogHint.h"
#include "game/dialogs/DialogLevelEnd.h"
#include "game/dialogs/DialogLevelInfo.h"
#include "game/dialogs/DialogNameInput.h"
#include "game/dialogs/DialogTortelune.h"
#include "game/dialogs/TrophyWatcher.h"
#include "game/scenes/MapStates.h"
#include "game/scenes/SceneGame.h"
#include "game/scenes/SceneMap.h"
#include "game/scenes/SceneSelection.h"
#include "support/FontFixtures.h"
#include "support/FrontDoorFixture.h"

namespace {

constexpr int kFrameMs = 20;
// Frames after a dialog appears before it is drawn: its fade-in is over.
constexpr int kSettleFrames = 30;

// One picture of the sheet.
struct Shot {
    std::string caption;
    RefPointer<Image> picture;
};

class FirstVisitTest : public FrontDoorFixture {
protected:
    void SetUp() override
    {
        withMedia = true;
        FrontDoorFixture::SetUp();
        if (HasFatalFailure())
            return;
        // What the start-up and the scene switches load besides the front door.
        for (const char* section : {"trophies", "sounds", "tools", "scenetoolshop", "scenearcade"})
            ResourceManager::instance->requestSection(section);
        for (int wait = 0; wait < 3000 && ResourceManager::instance->hasPendingRequests(); ++wait)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        ASSERT_FALSE(ResourceManager::instance->hasPendingRequests());
        ToolCatalog::create();
        TimedTaskManager::create(&clock);
        SceneManager::instance->registerScene("SCENE_TOOLSHOP");
        SceneManager::instance->registerScene("SCENE_ARCADE");
        game = objectCast<SceneGame>(SceneManager::instance->getScene("SCENE_GAME"));
        ASSERT_NE(nullptr, game);
        player.reset(new ScriptedPlayer(game));
        previousObserver = setLogObserver([this](LogLevel level, const std::string& line) {
            if (level == LogLevel::Error || level == LogLevel::Warning)
                problems += line + "\n";
            if (previousObserver)
                previousObserver(level, line);
        });
    }

    void TearDown() override
    {
        setLogObserver(previousObserver);
        player.reset();
        shots.clear();
        seen.clear();
        TimedTaskManager::destroyInstance();
        ToolCatalog::destroyInstance();
        FrontDoorFixture::TearDown();
    }

    Scene* current() const { return SceneManager::instance->getCurrentScene(); }

    // One frame as the program runs it; every dialog that appears is drawn
    // once it has settled, and the chef's hints are read and clicked away.
    void step()
    {
        clock.sleep(kFrameMs);
        SceneManager::instance->run(kFrameMs);
        if (TrophyWatcher::instance)
            TrophyWatcher::instance->run(kFrameMs);
        TimedTaskManager::instance->run(kFrameMs);
        ++frame;
        watchDialogs();
        Scene* scene = current();
        auto* hint = scene ? objectCast<DialogHint>(scene->getDialog("DIALOG_HINT")) : nullptr;
        if (hint && scene->isDialogShown("DIALOG_HINT") && !hint->isClosing() && wasDrawn(hint) &&
            hint->isClickDelayOver())
            hint->closeHint();
        // A trophy's announcement is read and answered with its OK.
        auto* trophy = scene ? objectCast<DialogTortelune>(scene->getDialog("DIALOG_TROPHYAWARDED")) : nullptr;
        if (trophy && scene->isDialogShown("DIALOG_TROPHYAWARDED") && !trophy->isClosing() && wasDrawn(trophy) &&
            frame % 25 == 0)
            clickOn(trophy->getComponent("BUTTON_OK"));
        if (scene == game && wasDrawn(game->getDialog("DIALOG_CUSTOMERHINT")))
            player->answerCustomer();
    }

    template <class Condition>
    bool runUntil(Condition done, int maxFrames = 1500)
    {
        for (int i = 0; i < maxFrames && !done(); ++i)
            step();
        return done();
    }

    void steps(int count)
    {
        for (int i = 0; i < count; ++i)
            step();
    }

    bool shown(const std::string& name) const
    {
        return current() && current()->isDialogShown(name);
    }

    bool wasDrawn(Dialog* dialog) const
    {
        for (const Seen& entry : seen)
            if (entry.dialog.get() == dialog)
                return entry.drawn;
        return false;
    }

    void watchDialogs()
    {
        Scene* scene = current();
        if (!scene || SceneManager::instance->getRunningScene() != scene)
            return;
        for (const RefPointer<Dialog>& dialog : scene->getShownDialogs()) {
            auto found = std::find_if(seen.begin(), seen.end(),
                                      [&](const Seen& entry) { return entry.dialog == dialog; });
            if (found == seen.end())
                seen.push_back({dialog, frame, false, hintsSeen()});
        }
        for (Seen& entry : seen) {
            if (entry.drawn || frame - entry.appeared < kSettleFrames)
                continue;
            entry.drawn = true;
            const auto& list = scene->getShownDialogs();
            if (std::find(list.begin(), list.end(), entry.dialog) == list.end())
                continue;
            std::string caption = entry.dialog->getName();
            // A chef's hint is named by the hint the player has just seen.
            const std::vector<std::string> now = hintsSeen();
            for (const std::string& hint : now)
                if (std::find(entry.hintsBefore.begin(), entry.hintsBefore.end(), hint) == entry.hintsBefore.end())
                    caption = hint;
            shoot(caption);
        }
    }

    std::vector<std::string> hintsSeen() const
    {
        TortelunePlayer* who = currentPlayer();
        return who ? who->seenHints : std::vector<std::string>();
    }

    // Draws the current scene with its dialogs into the sheet.
    RefPointer<Image> shoot(const std::string& caption)
    {
        RefPointer<Image> canvas = Image::create(800, 600, 4);
        RefPointer<Graphics> graphics = canvas->getGraphics();
        graphics->setColour(0xFF000000);
        graphics->clear();
        Scene* scene = current();
        RenderTask::renderFrame(scene, graphics.get(), scene->getTree());
        shots.push_back({std::to_string(shots.size() + 1) + ". " + caption, canvas});
        const std::string folder = std::string(TORTELUNE_BINARY_DIR) + "/pictures";
        mkdir(folder.c_str(), 0755);
        char file[64];
        std::snprintf(file, sizeof file, "/first_visit_%02d.png", static_cast<int>(shots.size()));
        EXPECT_TRUE(writePng(canvas.get(), folder + file));
        return canvas;
    }

    // A press and release in the middle of a node, through the scene's input.
    void clickOn(GameNode* node)
    {
        ASSERT_NE(nullptr, node);
        auto* sprite = objectCast<Sprite>(node);
        // The frame's middle: the node's position is where its anchor sits.
        const int x = node->getAbsoluteX() +
                      (sprite ? sprite->getWidth() / 2 - static_cast<int>(sprite->getAnchorPoint().x) : 5);
        const int y = node->getAbsoluteY() +
                      (sprite ? sprite->getHeight() / 2 - static_cast<int>(sprite->getAnchorPoint().y) : 5);
        if (sprite) {
            EXPECT_TRUE(sprite->containsPoint(x, y)) << node->getName();
        }
        InputHandler* input = current()->getInputHandler();
        input->onMouseMove(x, y, 0);
        input->onLeftDown(x, y, 1, false);
        input->onLeftUp(x, y, 0);
    }

    // A scene's component, or one of a shown dialog's.
    GameNode* component(const std::string& name, const std::string& dialog = std::string()) const
    {
        if (dialog.empty())
            return current()->getComponent(name);
        Dialog* open = current()->getDialog(dialog);
        return open ? open->getComponent(name) : nullptr;
    }

    // Frames until the scene runs, the transition done; the loader thread
    // gets its time while the sections it was asked for are pending.
    bool entered(const std::string& sceneName, int maxFrames = 3000)
    {
        Scene* target = SceneManager::instance->getScene(sceneName);
        return runUntil([&] {
            if (ResourceManager::instance->hasPendingRequests())
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
            return SceneManager::instance->getRunningScene() == target && !SceneManager::instance->getNextScene();
        },
                        maxFrames);
    }

    // Clicks again, as a player would, while the click has not done its work.
    template <class Condition>
    bool clickUntil(const std::string& componentName, Condition done)
    {
        for (int attempt = 0; attempt < 5 && !done(); ++attempt) {
            clickOn(component(componentName));
            runUntil(done, 100);
        }
        return done();
    }

    void writeSheet()
    {
        constexpr int kColumns = 4;
        constexpr int kThumbWidth = 320;
        constexpr int kThumbHeight = 240;
        constexpr int kCaption = 26;
        const int rows = (static_cast<int>(shots.size()) + kColumns - 1) / kColumns;
        RefPointer<Image> sheet = Image::create(kColumns * kThumbWidth, std::max(1, rows) * (kThumbHeight + kCaption), 4);
        RefPointer<Graphics> graphics = sheet->getGraphics();
        graphics->setColour(0xFFFFFFFF);
        graphics->clear();
        // Pictures are copied as they are, untinted.
        graphics->setColour(0);
        RefPointer<BitmapFont> font = ResourceLookup::findAs<BitmapFont>("FONT_DIALOG", "default");
        RefPointer<GameNode> captions(new GameNode());
        for (size_t i = 0; i < shots.size(); ++i) {
            const int x = static_cast<int>(i % kColumns) * kThumbWidth;
            const int y = static_cast<int>(i / kColumns) * (kThumbHeight + kCaption);
            graphics->setSmoothing(true);
            // The screen's copy is opaque, whatever its alpha bytes hold.
            shots[i].picture->setHasAlphaChannel(false);
            graphics->blitScaled(shots[i].picture.get(), 0, 0, 800, 600, x, y + kCaption, kThumbWidth, kThumbHeight);
            if (font) {
                auto* label = new Label(font.get(), x + 6, y + 2, kThumbWidth - 12, kCaption);
                label->setText(toWideString(shots[i].caption));
                label->updateLayout();
                GameNode::addChild(captions.get(), label);
            }
        }
        RenderTask::renderFrame(nullptr, graphics.get(), captions.get());
        // Opaque throughout: copies may leave the alpha bytes of the sheet unset.
        sheet->lock();
        for (int y = 0; y < sheet->getHeight(); ++y)
            for (int x = 0; x < sheet->getWidth(); ++x)
                sheet->row32(y)[x] |= 0xFF000000u;
        sheet->unlock();
        const std::string folder = std::string(TORTELUNE_BINARY_DIR) + "/pictures";
        mkdir(folder.c_str(), 0755);
        EXPECT_TRUE(writePng(sheet.get(), folder + "/first_visit_sheet.png"));
    }

    struct Seen {
        RefPointer<Dialog> dialog;
        int appeared = 0;
        bool drawn = false;
        std::vector<std::string> hintsBefore;
    };

    ManualFrameClock clock;
    LogObserver previousObserver;
    // Warnings and errors logged during the walk.
    std::string problems;
    SceneGame* game = nullptr;
    std::unique_ptr<ScriptedPlayer> player;
    std::vector<Shot> shots;
    std::vector<Seen> seen;
    int frame = 0;
};

TEST_F(FirstVisitTest, NewPlayerWalksFromTheNameToAnArcadeStart)
{
    // The selection scene asks the first player's name.
    enter("SCENE_SELECTION");
    // As the loading scene's transition leaves it: taking input.
    current()->getInputContainer().setInputEnabled(true);
    ASSERT_TRUE(runUntil([&] { return wasDrawn(current()->getDialog("DIALOG_NEWPLAYER")); }));
    auto* name = objectCast<DialogNameInput>(current()->getDialog("DIALOG_NEWPLAYER"));
    ASSERT_NE(nullptr, name);
    name->getNameField()->setText(u"Anna", true);
    clickOn(name->getOkButton());
    ASSERT_TRUE(runUntil([&] { return !shown("DIALOG_NEWPLAYER"); }));
    ASSERT_NE(nullptr, currentPlayer());
    EXPECT_EQ("Anna", currentPlayer()->getName());
    // The chef bounces in and welcomes her.
    ASSERT_TRUE(runUntil([&] { return currentPlayer()->hasSeenHint("HINT_WELCOME") && !shown("DIALOG_HINT"); }));
    steps(20);
    shoot("selection");

    // Her first level will bring her first rank (the shop opens with it).
    currentPlayer()->score = RankTable::getInstance()->getRankScore(1) - 400;

    // The career door: the map guides her to the first level.
    clickOn(component("BUTTON_LEVEL"));
    ASSERT_TRUE(entered("SCENE_MAP"));
    ASSERT_TRUE(runUntil([&] { return map()->getStartButton()->isEnabled() && !shown("DIALOG_HINT"); }, 4000));
    shoot("map");
    clickOn(map()->getStartButton());
    ASSERT_TRUE(entered("SCENE_GAME"));

    // Level 1: the customer's words, the first hints, played to the results.
    EXPECT_EQ(0, GameData::instance->state->levelManager.getCurrentIndex());
    LevelOutcome outcome;
    ASSERT_TRUE(runUntil([&] { return game->saveOnLeave; }, 3000));
    player->startLevel();
    GameDataState& state = *GameData::instance->state;
    for (int i = 0; i < 30000 && !state.levelOver && !player->hasGivenUp(); ++i) {
        player->act(outcome);
        step();
        if (i == 1500)
            shoot("level 1 in play");
    }
    ASSERT_TRUE(state.levelOver);
    ASSERT_TRUE(runUntil([&] { return wasDrawn(game->getDialog("DIALOG_LEVEL_END")); }, 3000));
    auto* results = objectCast<DialogLevelEnd>(game->getDialog("DIALOG_LEVEL_END"));
    ASSERT_NE(nullptr, results);
    auto* next = objectCast<Button>(results->getComponent("BUTTON_NEXT"));
    ASSERT_NE(nullptr, next);
    ASSERT_TRUE(runUntil([&] { return results->isSequenceDone() && !shown("DIALOG_RANKUP") && next->isVisible() &&
                                      next->isEnabled() && results->getAlpha() == 255; },
                         3000));
    steps(25);
    shoot("results");
    EXPECT_EQ(0, currentPlayer()->highestLevelReached);
    clickOn(next);
    ASSERT_TRUE(entered("SCENE_MAP"));

    // Back on the map: the celebration and the news; then the tool shop, and
    // level 2's information, whose start opens the level, which she leaves
    // again through the game's menu.
    ASSERT_TRUE(runUntil([&] { return map()->getStartButton()->isEnabled() && !shown("DIALOG_HINT"); }, 6000));
    shoot("map after level 1");

    // The tool shop, open since her first rank, and back.
    ASSERT_TRUE(runUntil([&] { return map()->getShopButton()->isVisible() && map()->getShopButton()->isEnabled() &&
                                      !shown("DIALOG_HINT"); },
                         3000));
    clickOn(map()->getShopButton());
    ASSERT_TRUE(entered("SCENE_TOOLSHOP"));
    ASSERT_TRUE(runUntil([&] { return !shown("DIALOG_HINT"); }, 3000));
    steps(40);
    shoot("tool shop");
    clickOn(component("BUTTON_BACK"));
    ASSERT_TRUE(entered("SCENE_MAP"));
    ASSERT_TRUE(runUntil([&] { return map()->getStartButton()->isEnabled() && !shown("DIALOG_HINT"); }, 3000));

    clickOn(map()->getStartButton());
    ASSERT_TRUE(runUntil([&] { return wasDrawn(map()->getDialog("DIALOG_LEVEL_INFO")); }));
    ASSERT_TRUE(runUntil([&] { return current()->getDialog("DIALOG_LEVEL_INFO")->getAlpha() == 255; }));
    clickOn(component("BUTTON_START", "DIALOG_LEVEL_INFO"));
    ASSERT_TRUE(entered("SCENE_GAME"));
    EXPECT_EQ(1, GameData::instance->state->levelManager.getCurrentIndex());
    ASSERT_TRUE(runUntil([&] { return game->saveOnLeave && !shown("DIALOG_HINT"); }, 3000));
    steps(100);
    clickOn(component("BUTTON_MENU"));
    ASSERT_TRUE(runUntil([&] { return wasDrawn(game->getDialog("DIALOG_MENU")); }));
    clickOn(component("BUTTON_STOP", "DIALOG_MENU"));
    ASSERT_TRUE(runUntil([&] { return wasDrawn(game->getDialog("CTEXT_MENU_STOP")); }));
    clickOn(component("BUTTON_YES", "CTEXT_MENU_STOP"));
    ASSERT_TRUE(entered("SCENE_MAP"));
    ASSERT_TRUE(runUntil([&] { return map()->getInputContainer().isInputEnabled() && !shown("DIALOG_HINT"); }, 1000))
        << "the map takes no input in " << typeid(*map()->getState()).name();

    clickOn(map()->getBackButton());
    ASSERT_TRUE(entered("SCENE_SELECTION"));
    ASSERT_TRUE(runUntil([&] { return !shown("DIALOG_HINT"); }, 3000));

    // The trophy cabinet and the help, from the selection scene.
    clickOn(component("BUTTON_TROPHIES"));
    ASSERT_TRUE(runUntil([&] { return wasDrawn(current()->getDialog("DIALOG_TROPHYSCREEN")); }));
    objectCast<DialogTortelune>(current()->getDialog("DIALOG_TROPHYSCREEN"))->close();
    ASSERT_TRUE(runUntil([&] { return !shown("DIALOG_TROPHYSCREEN") && !shown("DIALOG_HINT"); }));
    clickOn(component("BUTTON_HELP"));
    ASSERT_TRUE(runUntil([&] { return wasDrawn(current()->getDialog("DIALOG_HELP")); }));
    objectCast<DialogTortelune>(current()->getDialog("DIALOG_HELP"))->close();
    ASSERT_TRUE(runUntil([&] { return !shown("DIALOG_HELP"); }));

    // The arcade door is open after the first win: the first set starts.
    auto* arcade = objectCast<Button>(component("BUTTON_ARCADE"));
    ASSERT_NE(nullptr, arcade);
    ASSERT_TRUE(runUntil([&] { return arcade->isEnabled() && current()->getInputContainer().isInputEnabled(); }, 1000))
        << "the arcade door takes no click";
    ASSERT_TRUE(clickUntil("BUTTON_ARCADE", [&] { return SceneManager::instance->getNextScene() != nullptr ||
                                                          current() != selection(); }));
    ASSERT_TRUE(entered("SCENE_ARCADE"));
    ASSERT_TRUE(runUntil([&] { return !shown("DIALOG_HINT"); }, 3000));
    steps(50);
    shoot("arcade");
    ASSERT_TRUE(runUntil([&] { return current()->getInputContainer().isInputEnabled(); }, 500))
        << "the arcade takes no input";
    ASSERT_TRUE(clickUntil("BUTTON_ARCADE0", [&] { return shown("DIALOG_ARCADE_INFO"); }));
    ASSERT_TRUE(runUntil([&] { return wasDrawn(current()->getDialog("DIALOG_ARCADE_INFO")); }));
    ASSERT_TRUE(runUntil([&] { return current()->getDialog("DIALOG_ARCADE_INFO")->getAlpha() == 255; }));
    clickOn(component("BUTTON_START", "DIALOG_ARCADE_INFO"));
    ASSERT_TRUE(entered("SCENE_GAME"));
    ASSERT_TRUE(runUntil([&] { return game->saveOnLeave; }, 3000));
    steps(150);
    shoot("arcade set 1 in play");
    EXPECT_EQ(1, GameData::instance->state->mode);

    writeSheet();
    EXPECT_GE(shots.size(), 12u);
    // A normal first visit logs nothing amiss.
    EXPECT_EQ("", problems);
}

} // namespace

// A new player who leaves level 1 through the menu soon after the customer's
// words: the board's first-swap hint waits while the level is paused, so it
// never covers the stop question, and its yes leads back to the map.
TEST_F(FirstVisitTest, NewPlayerStopsLevelOneFromTheMenu)
{
    enter("SCENE_SELECTION");
    current()->getInputContainer().setInputEnabled(true);
    ASSERT_TRUE(runUntil([&] { return wasDrawn(current()->getDialog("DIALOG_NEWPLAYER")); }));
    auto* name = objectCast<DialogNameInput>(current()->getDialog("DIALOG_NEWPLAYER"));
    ASSERT_NE(nullptr, name);
    name->getNameField()->setText(u"Anna", true);
    clickOn(name->getOkButton());
    ASSERT_TRUE(runUntil([&] { return currentPlayer() && currentPlayer()->hasSeenHint("HINT_WELCOME") &&
                                      !shown("DIALOG_HINT"); }));
    clickOn(component("BUTTON_LEVEL"));
    ASSERT_TRUE(entered("SCENE_MAP"));
    ASSERT_TRUE(runUntil([&] { return map()->getStartButton()->isEnabled() && !shown("DIALOG_HINT"); }, 4000));
    clickOn(map()->getStartButton());
    ASSERT_TRUE(entered("SCENE_GAME"));
    EXPECT_EQ(0, GameData::instance->state->levelManager.getCurrentIndex());
    // The customer's words are answered by step(); then the level plays.
    ASSERT_TRUE(runUntil([&] { return game->saveOnLeave && !shown("DIALOG_HINT"); }, 3000));
    ASSERT_FALSE(currentPlayer()->hasSeenHint("HINT_SWAP"));
    steps(25);

    clickOn(component("BUTTON_MENU"));
    ASSERT_TRUE(runUntil([&] { return wasDrawn(game->getDialog("DIALOG_MENU")); }));
    clickOn(component("BUTTON_STOP", "DIALOG_MENU"));
    ASSERT_TRUE(runUntil([&] { return wasDrawn(game->getDialog("CTEXT_MENU_STOP")); }));
    // Longer than the first-swap hint's delay, the question still in front.
    for (int i = 0; i < 400; ++i) {
        step();
        ASSERT_FALSE(shown("DIALOG_HINT")) << "a hint rose over the stop question after " << i << " frames";
    }
    EXPECT_FALSE(currentPlayer()->hasSeenHint("HINT_SWAP"));
    clickOn(component("BUTTON_YES", "CTEXT_MENU_STOP"));
    ASSERT_TRUE(entered("SCENE_MAP"));
}
