#include "GameDialogsFixture.h"

#include <chrono>
#include <thread>

#include "framework/gui/Button.h"
#include "framework/gui/Scene.h"
#include "framework/gui/SceneManager.h"
#include "framework/platform/GameWindow.h"
#include "framework/sound/SoundManager.h"
#include "framework/sound/SoundStream.h"
#include "game/data/GameData.h"
#include "game/dialogs/DialogCredits.h"
#include "game/dialogs/DialogGameEnd.h"
#include "game/dialogs/DialogHelp.h"
#include "game/dialogs/DialogMenu.h"
#include "game/dialogs/DialogPause.h"
#include "game/dialogs/DialogSettings.h"
#include "game/dialogs/DialogYesNo.h"
#include "game/scenes/SceneGame.h"
#include "host/WindowMessages.h"

namespace {

using MenuPauseTest = GameDialogsFixture;

Button* buttonOf(Dialog* dialog, const std::string& name)
{
    return dialog ? objectCast<Button>(dialog->getComponent(name)) : nullptr;
}

// A player's click at (x, y): the host window's messages go through the game
// window's message handler to the scene's input handler, which hands them to
// the dialogs in the next frame.
void clickThroughTheWindow(ScopedFakeHostPlatform& host, int x, int y)
{
    FakeHostWindow* window = host.lastWindow();
    ASSERT_NE(nullptr, window);
    window->setMousePosition(x, y);
    window->pushMessage(WM_MOUSEMOVE, 0, packPoint(x, y));
    window->pushMessage(WM_LBUTTONDOWN, MK_LBUTTON, packPoint(x, y));
    window->pushMessage(WM_LBUTTONUP, 0, packPoint(x, y));
    WindowMessage message;
    while (GameWindow::instance->peekMessage(message))
        GameWindow::instance->dispatchMessage(message);
    SceneManager::instance->run(20);
}

// Every template builds its own class with all its pictures, fonts and components.
TEST_F(MenuPauseTest, EveryDialogBuildsFromItsTemplateWithNothingMissing)
{
    const std::pair<const char*, const ClassRecord*> dialogs[] = {
        {"DIALOG_MENU", &DialogMenu::classRecord},         {"DIALOG_PAUSE", &DialogPause::classRecord},
        {"DIALOG_SETTINGS", &DialogSettings::classRecord}, {"DIALOG_CREDITS", &DialogCredits::classRecord},
        {"DIALOG_HELP", &DialogHelp::classRecord},         {"DIALOG_GAMEEND", &DialogGameEnd::classRecord},
    };
    for (const auto& [name, record] : dialogs) {
        const size_t before = log.lines().size();
        Dialog* dialog = open(name);
        ASSERT_NE(nullptr, dialog) << name;
        EXPECT_TRUE(dialog->getClassName()->isKindOf(record)) << name;
        advance(600);
        for (size_t i = before; i < log.lines().size(); ++i)
            ADD_FAILURE() << name << ": " << log.lines()[i];
        for (const RefPointer<Dialog>& shown : std::vector<RefPointer<Dialog>>(game->getShownDialogs().begin(),
                                                                                 game->getShownDialogs().end()))
            game->forgetDialog(shown.get());
    }
}

// In the belt modes the menu, pause and settings take the pistachio frame
// with its icing; in a career level they keep their own.
TEST_F(MenuPauseTest, InTheArcadeTheDialogsWearTheIcyLook)
{
    for (int mode : {0, 1}) {
        GameData::instance->state->mode = mode;
        for (const char* name : {"DIALOG_MENU", "DIALOG_PAUSE", "DIALOG_SETTINGS"}) {
            Dialog* dialog = open(name);
            ASSERT_NE(nullptr, dialog);
            GameNode* icing = dialog->getComponent("SPRITE_ICETOP");
            ASSERT_NE(nullptr, icing) << name;
            EXPECT_EQ(mode == 1, icing->isVisible()) << name << " in mode " << mode;
            advance(600);
            if (mode == 1 && std::string(name) == "DIALOG_MENU")
                screenshot("dialog_menu_arcade.png");
            game->forgetDialog(dialog);
        }
    }
}

TEST_F(MenuPauseTest, PauseFadesTheMusicMutesAfterItsDelayAndResumeBringsEverythingBack)
{
    SoundManager& sound = *SoundManager::instance;
    sound.setEffectsVolume(180);
    SoundStream* stream = startMusic();
    ASSERT_EQ(stream, sound.getCurrentMusic());
    ASSERT_FLOAT_EQ(1.0f, stream->fadeCurrent);
    game->requestPause();
    game->update(20);
    ASSERT_TRUE(game->isPaused());

    auto* pause = objectCast<DialogPause>(open("DIALOG_PAUSE"));
    ASSERT_NE(nullptr, pause);
    advance(100);
    EXPECT_FALSE(sound.isMuted()) << "the pause sound is heard before the mute";
    advance(400);
    EXPECT_TRUE(sound.isMuted());
    EXPECT_EQ(0, sound.getMixer().getEffectsMasterVolume());
    EXPECT_FLOAT_EQ(0.0f, stream->fadeCurrent) << "the music faded out in 200 ms";

    buttonOf(pause, "BUTTON_RESUME")->fire();
    EXPECT_FALSE(sound.isMuted());
    EXPECT_EQ(180, sound.getMixer().getEffectsMasterVolume());
    advance(100);
    EXPECT_NEAR(0.5f, stream->fadeCurrent, 0.06f) << "halfway back after 100 ms";
    advance(600);
    EXPECT_FLOAT_EQ(1.0f, stream->fadeCurrent);
    EXPECT_FALSE(isShown("DIALOG_PAUSE"));
    EXPECT_TRUE(game->isResumeRequested());
    game->update(20);
    EXPECT_FALSE(game->isPaused()) << "the game scene plays on";
}

TEST_F(MenuPauseTest, ResumeDuringACrossFadeKeepsTheIncomingMusic)
{
    SoundManager& sound = *SoundManager::instance;
    startMusic();
    RefPointer<SoundStream> next(new SoundStream("media/music/map.ogg", 0));
    sound.playMusic(2000, 1.0f, 2000, next.get(), 0, 306);
    ASSERT_TRUE(sound.isCrossFading());
    auto* pause = objectCast<DialogPause>(open("DIALOG_PAUSE"));
    advance(600);
    pause->resume();
    advance(3000);
    EXPECT_FALSE(sound.isCrossFading());
    EXPECT_EQ(next.get(), sound.getCurrentMusic());
    EXPECT_TRUE(next->isOpen());
    EXPECT_GE(next->channel, 0);
    EXPECT_FLOAT_EQ(1.0f, next->fadeCurrent);
    EXPECT_FALSE(sound.isMuted());
}

TEST_F(MenuPauseTest, ResumeBeforeTheMuteStepRanLeavesTheSoundOn)
{
    auto* pause = objectCast<DialogPause>(open("DIALOG_PAUSE"));
    ASSERT_NE(nullptr, pause);
    advance(20);
    pause->resume();
    EXPECT_FALSE(pause->isMutePending());
    advance(2000);
    EXPECT_FALSE(SoundManager::instance->isMuted());
    EXPECT_EQ(SoundManager::instance->getEffectsVolume(), SoundManager::instance->getMixer().getEffectsMasterVolume());
    EXPECT_FALSE(isShown("DIALOG_PAUSE"));
    EXPECT_TRUE(game->isResumeRequested());
}

TEST_F(MenuPauseTest, AClickAnywhereOnThePauseResumesOnceLikeItsButton)
{
    static int resumes;
    resumes = 0;
    auto* pause = objectCast<DialogPause>(open("DIALOG_PAUSE"));
    ASSERT_NE(nullptr, pause);
    advance(600);
    screenshot("dialog_pause.png");
    InputHandler* input = game->getInputHandler();
    input->onLeftDown(12, 14, 0, false);
    input->onLeftUp(12, 14, 0);
    EXPECT_TRUE(pause->isClosing());
    // A second release (and the button) in the same frame change nothing.
    pause->closeCallback = GuiMethod(nullptr, [](void*, BaseObject*) { return ++resumes; });
    input->onLeftUp(12, 14, 0);
    buttonOf(pause, "BUTTON_RESUME")->fire();
    advance(1000);
    EXPECT_EQ(1, resumes);
    EXPECT_FALSE(SoundManager::instance->isMuted());
}

TEST_F(MenuPauseTest, WithoutSoundPauseAndResumeOnlyShowAndClose)
{
    SoundManager::releaseInstance();
    auto* pause = objectCast<DialogPause>(open("DIALOG_PAUSE"));
    ASSERT_NE(nullptr, pause);
    SceneManager::instance->getCurrentScene()->getMoveTask()->run(500);
    pause->resume();
    for (int i = 0; i < 50; ++i)
        game->getMoveTask()->run(20);
    EXPECT_FALSE(isShown("DIALOG_PAUSE"));
    EXPECT_TRUE(game->isResumeRequested());
}

// Help and settings open above the menu, which stays open beneath them and
// is on top again once they close.
TEST_F(MenuPauseTest, HelpAndSettingsOpenAboveTheMenu)
{
    const std::pair<const char*, const char*> buttons[] = {{"BUTTON_HELP", "DIALOG_HELP"},
                                                           {"BUTTON_SETTINGS", "DIALOG_SETTINGS"}};
    Dialog* menu = open("DIALOG_MENU");
    ASSERT_NE(nullptr, objectCast<DialogMenu>(menu));
    advance(600);
    screenshot("dialog_menu.png");
    for (const auto& [button, dialogName] : buttons) {
        buttonOf(menu, button)->fire();
        ASSERT_TRUE(isShown(dialogName)) << button;
        EXPECT_EQ(dialogName, game->getShownDialogs().front()->getName());
        EXPECT_TRUE(isShown("DIALOG_MENU"));
        advance(800);
        auto* above = objectCast<DialogTortelune>(game->getDialog(dialogName));
        ASSERT_NE(nullptr, above);
        above->close();
        advance(600);
        EXPECT_FALSE(isShown(dialogName)) << button;
        EXPECT_EQ(menu, game->getShownDialogs().front().get());
    }
    EXPECT_FALSE(game->isResumeRequested());
}

TEST_F(MenuPauseTest, TrophiesAskForTheTrophyScreenByName)
{
    Dialog* menu = open("DIALOG_MENU");
    buttonOf(menu, "BUTTON_TROPHIES")->fire();
    // Shown above the menu where the trophy screen is defined, else named in the log.
    EXPECT_TRUE(isShown("DIALOG_TROPHYSCREEN") || log.contains("DIALOG_TROPHYSCREEN"));
    EXPECT_TRUE(isShown("DIALOG_MENU"));
}

TEST_F(MenuPauseTest, StopAsksFirstAndNoClosesOnlyTheQuestion)
{
    game->saveOnLeave = true;
    Dialog* menu = open("DIALOG_MENU");
    advance(600);
    buttonOf(menu, "BUTTON_STOP")->fire();
    auto* question = objectCast<DialogYesNo>(game->getDialog("CTEXT_MENU_STOP"));
    ASSERT_NE(nullptr, question);
    EXPECT_EQ(question, game->getShownDialogs().front().get());
    advance(600);
    screenshot("dialog_menu_stop.png");
    question->getNoButton()->fire();
    advance(600);
    EXPECT_FALSE(isShown("CTEXT_MENU_STOP"));
    EXPECT_TRUE(isShown("DIALOG_MENU"));
    EXPECT_EQ(0, savedGames(game));
    EXPECT_EQ(nullptr, SceneManager::instance->getNextScene());
}

// Yes saves a level being played (and only then) and leaves for the map.
TEST_F(MenuPauseTest, StopAnsweredYesSavesTheRunningLevelAndLeavesToTheMap)
{
    for (bool playing : {true, false}) {
        game->saveOnLeave = playing;
        const int before = savedGames(game);
        Dialog* menu = open("DIALOG_MENU");
        buttonOf(menu, "BUTTON_STOP")->fire();
        auto* question = objectCast<DialogYesNo>(game->getDialog("CTEXT_MENU_STOP"));
        ASSERT_NE(nullptr, question);
        question->getYesButton()->fire();
        EXPECT_EQ(before + (playing ? 1 : 0), savedGames(game)) << playing;
        EXPECT_FALSE(game->saveOnLeave);
        EXPECT_EQ(map, SceneManager::instance->getNextScene()) << playing;
        // Once the map is reached, the next level starts without the menu and its question.
        // The default transition waits for the map's pictures (bounded).
        for (int frame = 0; frame < 1000 && SceneManager::instance->getRunningScene() != map; ++frame) {
            SceneManager::instance->run(20);
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        ASSERT_EQ(map, SceneManager::instance->getRunningScene());
        EXPECT_EQ(nullptr, game->getDialog("DIALOG_MENU"));
        EXPECT_EQ(nullptr, game->getDialog("CTEXT_MENU_STOP"));
        enter(game);
    }
}

TEST_F(MenuPauseTest, ResumeClosesTheMenuAndRequestsTheResume)
{
    Dialog* menu = open("DIALOG_MENU");
    advance(600);
    buttonOf(menu, "BUTTON_RESUME")->fire();
    EXPECT_FALSE(game->isResumeRequested()) << "the request comes once the menu has faded out";
    advance(600);
    EXPECT_FALSE(isShown("DIALOG_MENU"));
    EXPECT_TRUE(game->isResumeRequested());
}

// A shown dialog's bound buttons answer a real click on them; a click just
// beside a button (still on the dialog) does nothing.
TEST_F(MenuPauseTest, AClickThroughTheWindowPressesTheShownDialogsBoundButton)
{
    struct Case {
        const char* dialog;
        const char* button;
        int dx;                // from the button's centre
        const char* opens;     // the dialog the press shows, or null
        bool closes;           // the dialog goes
    };
    const Case cases[] = {
        {"DIALOG_MENU", "BUTTON_HELP", 0, "DIALOG_HELP", false},
        {"DIALOG_MENU", "BUTTON_SETTINGS", 0, "DIALOG_SETTINGS", false},
        {"DIALOG_MENU", "BUTTON_STOP", 0, "CTEXT_MENU_STOP", false},
        {"DIALOG_MENU", "BUTTON_RESUME", 0, nullptr, true},
        {"DIALOG_MENU", "BUTTON_STOP", -200, nullptr, false},
        {"DIALOG_PAUSE", "BUTTON_RESUME", 0, nullptr, true},
        {"DIALOG_SETTINGS", "BUTTON_INFO", 0, "DIALOG_CREDITS", false},
        {"DIALOG_SETTINGS", "BUTTON_CANCEL", 0, nullptr, true},
    };
    for (const Case& c : cases) {
        const std::string row = std::string(c.dialog) + " " + c.button + " " + std::to_string(c.dx);
        Dialog* dialog = open(c.dialog);
        ASSERT_NE(nullptr, dialog) << row;
        advance(800);
        Button* button = buttonOf(dialog, c.button);
        ASSERT_NE(nullptr, button) << row;
        // The button's position is its anchor point.
        const int centreX = button->getAbsoluteX() - int(button->getAnchorPoint().x) + button->getWidth() / 2;
        const int centreY = button->getAbsoluteY() - int(button->getAnchorPoint().y) + button->getHeight() / 2;
        ASSERT_EQ(c.dx == 0, button->containsPoint(centreX + c.dx, centreY)) << row;
        clickThroughTheWindow(host, centreX + c.dx, centreY);
        advance(800);
        EXPECT_EQ(!c.closes, isShown(c.dialog)) << row;
        if (c.opens) {
            EXPECT_TRUE(isShown(c.opens)) << row;
            EXPECT_EQ(c.opens, game->getShownDialogs().front()->getName()) << row;
        } else {
            EXPECT_EQ(c.closes ? 0u : 1u, game->getShownDialogs().size()) << row;
        }
        EXPECT_EQ(0, savedGames(game)) << row;
        for (const RefPointer<Dialog>& shown : std::vector<RefPointer<Dialog>>(game->getShownDialogs().begin(),
                                                                                 game->getShownDialogs().end()))
            game->forgetDialog(shown.get());
        advance(100);
    }
}

// Each answer calls its own handler with its own object; without an object
// the handler gets the question itself, without a handler the answer closes it.
TEST_F(MenuPauseTest, EachAnswerOfAQuestionCallsItsHandlerWithItsObject)
{
    static void* heardObject;
    static int heardAnswer;
    auto yesHandler = [](void* object, BaseObject*) { heardObject = object; heardAnswer = 1; return 0; };
    auto noHandler = [](void* object, BaseObject*) { heardObject = object; heardAnswer = 2; return 0; };
    int yesOwner = 0, noOwner = 0;
    struct Case {
        void* yesObject;
        bool yesHandled;
        void* noObject;
        bool noHandled;
        bool pressYes;
    };
    const Case cases[] = {
        {&yesOwner, true, &noOwner, true, true},  {&yesOwner, true, &noOwner, true, false},
        {nullptr, true, nullptr, true, true},     {nullptr, true, nullptr, true, false},
        {&yesOwner, true, nullptr, false, false}, {nullptr, false, &noOwner, true, true},
    };
    for (const Case& c : cases) {
        heardObject = nullptr;
        heardAnswer = 0;
        DialogYesNo* question =
            DialogYesNo::ask("CTEXT_MENU_STOP", "CTEXT_MENU_STOP", c.yesObject, c.yesHandled ? +yesHandler : nullptr,
                             c.noObject, c.noHandled ? +noHandler : nullptr, game);
        ASSERT_NE(nullptr, question);
        game->showDialog(question);
        advance(600);
        (c.pressYes ? question->getYesButton() : question->getNoButton())->fire();
        const bool handled = c.pressYes ? c.yesHandled : c.noHandled;
        void* object = c.pressYes ? c.yesObject : c.noObject;
        EXPECT_EQ(handled ? (c.pressYes ? 1 : 2) : 0, heardAnswer);
        if (handled) {
            EXPECT_EQ(object ? object : static_cast<void*>(question), heardObject);
        } else {
            advance(600);
            EXPECT_FALSE(isShown("CTEXT_MENU_STOP")) << "an answer without a handler closes the question";
        }
        game->forgetDialog(question);
    }
}

} // namespace
