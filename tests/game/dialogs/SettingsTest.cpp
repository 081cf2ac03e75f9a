#include "GameDialogsFixture.h"

#include "framework/gui/Button.h"
#include "framework/gui/Scene.h"
#include "framework/gui/SceneManager.h"
#include "framework/gui/Slider.h"
#include "framework/gui/Switch.h"
#include "framework/platform/GameWindow.h"
#include "framework/platform/SettingsManager.h"
#include "framework/players/PlayerManager.h"
#include "framework/sound/SoundManager.h"
#include "game/data/TortelunePlayer.h"
#include "game/dialogs/DialogSettings.h"
#include "game/scenes/SceneGame.h"
#include "host/SettingsStore.h"

namespace {

class SettingsTest : public GameDialogsFixture {
protected:
    DialogSettings* openSettings()
    {
        auto* dialog = objectCast<DialogSettings>(open("DIALOG_SETTINGS"));
        EXPECT_NE(nullptr, dialog);
        advance(400);
        return dialog;
    }
    // Moves the slider as a drag would: its value, then its callback.
    static void moveSlider(Slider* slider, float value)
    {
        slider->setValue(value);
        slider->invoke(slider);
    }
    static void press(Dialog* dialog, const char* button)
    {
        objectCast<Button>(dialog->getComponent(button))->fire();
    }
    IGameSettings& stored() { return *SettingsManager::instance->getSettings(); }
    uint32_t storedNumber(const char* name) { return store->readNumber("", name, 999); }
};

TEST_F(SettingsTest, VolumesAreHeardWhileMovingAndOkStoresAppliesAndSavesEverything)
{
    const int windowsBefore = host.windowsCreated;
    DialogSettings* settings = openSettings();
    moveSlider(settings->getEffectsSlider(), 100.7f);
    moveSlider(settings->getMusicSlider(), 210.0f);
    EXPECT_EQ(100, SoundManager::instance->getEffectsVolume());
    EXPECT_EQ(100, SoundManager::instance->getMixer().getEffectsMasterVolume());
    EXPECT_EQ(210, SoundManager::instance->getMusicVolume());
    EXPECT_EQ(255, stored().getSoundVolume()) << "nothing is stored before OK";
    settings->getFullScreenSwitch()->setChecked(true);
    screenshot("dialog_settings.png");

    press(settings, "BUTTON_OK");
    EXPECT_EQ(100, stored().getSoundVolume());
    EXPECT_EQ(210, stored().getMusicVolume());
    EXPECT_TRUE(stored().isFullScreen());
    EXPECT_EQ(100u, storedNumber("soundvolume"));
    EXPECT_EQ(210u, storedNumber("musicvolume"));
    EXPECT_EQ(1u, storedNumber("fullscreen"));
    EXPECT_EQ(1u, storedNumber("usehints"));
    EXPECT_TRUE(GameWindow::instance->isFullScreen());
    EXPECT_EQ(windowsBefore + 1, host.windowsCreated);
    EXPECT_EQ(100, SoundManager::instance->getEffectsVolume());
    EXPECT_EQ(210, SoundManager::instance->getMusicVolume());
    advance(600);
    EXPECT_FALSE(isShown("DIALOG_SETTINGS"));
}

TEST_F(SettingsTest, OkWithTheSameScreenModeDoesNotSwitchIt)
{
    const int windowsBefore = host.windowsCreated;
    press(openSettings(), "BUTTON_OK");
    EXPECT_FALSE(GameWindow::instance->isFullScreen());
    EXPECT_FALSE(stored().isFullScreen());
    EXPECT_EQ(windowsBefore, host.windowsCreated);
}

TEST_F(SettingsTest, CancelLeavesEverythingAsItWas)
{
    DialogSettings* settings = openSettings();
    moveSlider(settings->getEffectsSlider(), 12.0f);
    moveSlider(settings->getMusicSlider(), 250.0f);
    settings->getFullScreenSwitch()->setChecked(true);
    settings->getHintsSwitch()->setChecked(false);
    EXPECT_EQ(250, SoundManager::instance->getMusicVolume());
    press(settings, "BUTTON_CANCEL");
    EXPECT_EQ(255, SoundManager::instance->getEffectsVolume());
    EXPECT_EQ(255, SoundManager::instance->getMixer().getEffectsMasterVolume());
    EXPECT_EQ(50, SoundManager::instance->getMusicVolume()) << "the music is back at the stored volume";
    EXPECT_EQ(255, stored().getSoundVolume());
    EXPECT_EQ(50, stored().getMusicVolume());
    EXPECT_FALSE(GameWindow::instance->isFullScreen());
    EXPECT_TRUE(player->showHints);
    EXPECT_EQ(999u, storedNumber("soundvolume")) << "nothing was written";
}

TEST_F(SettingsTest, ShownAgainAfterCancelItShowsTheStoredValuesNotTheDiscardedOnes)
{
    stored().setMusicVolume(40);
    player->showHints = false;
    RefPointer<DialogSettings> settings(openSettings());
    EXPECT_FLOAT_EQ(255.0f, settings->getEffectsSlider()->getValue());
    EXPECT_FLOAT_EQ(40.0f, settings->getMusicSlider()->getValue());
    EXPECT_FALSE(settings->getFullScreenSwitch()->isChecked()) << "the window is windowed";
    EXPECT_TRUE(settings->getFullScreenSwitch()->isEnabled());
    EXPECT_FALSE(settings->getHintsSwitch()->isChecked());
    EXPECT_TRUE(settings->getHintsSwitch()->isEnabled());
    moveSlider(settings->getEffectsSlider(), 12.0f);
    moveSlider(settings->getMusicSlider(), 250.0f);
    settings->getFullScreenSwitch()->setChecked(true);
    settings->getHintsSwitch()->setChecked(true);
    press(settings.get(), "BUTTON_CANCEL");
    advance(600);
    ASSERT_FALSE(isShown("DIALOG_SETTINGS"));
    // The same dialog object, shown again by an opener that kept it.
    game->showDialog(settings.get());
    EXPECT_FLOAT_EQ(255.0f, settings->getEffectsSlider()->getValue());
    EXPECT_FLOAT_EQ(40.0f, settings->getMusicSlider()->getValue());
    EXPECT_FALSE(settings->getFullScreenSwitch()->isChecked());
    EXPECT_FALSE(settings->getHintsSwitch()->isChecked());
    game->forgetDialog(settings.get());
}

TEST_F(SettingsTest, WithoutACurrentPlayerTheHintsSwitchIsDisabledAndOkKeepsTheStoredHints)
{
    stored().setUseHints(false);
    PlayerManager::getInstance()->deletePlayer("Ada");
    ASSERT_EQ(nullptr, PlayerManager::getInstance()->getCurrentPlayer());
    DialogSettings* settings = openSettings();
    EXPECT_FALSE(settings->getHintsSwitch()->isEnabled());
    EXPECT_FALSE(settings->getHintsSwitch()->isChecked());
    press(settings, "BUTTON_OK");
    EXPECT_FALSE(stored().isUseHints());
    EXPECT_EQ(0u, storedNumber("usehints"));
}

TEST_F(SettingsTest, HintsTurnedOffAndOnAgainShowEverySeenHintAgain)
{
    player->seenHints = {"HINT_SWAP", "HINT_WELCOME"};
    DialogSettings* settings = openSettings();
    settings->getHintsSwitch()->setChecked(false);
    press(settings, "BUTTON_OK");
    advance(600);
    EXPECT_FALSE(player->showHints);
    EXPECT_EQ(2u, player->seenHints.size()) << "switching off forgets nothing";
    settings = openSettings();
    EXPECT_FALSE(settings->getHintsSwitch()->isChecked());
    settings->getHintsSwitch()->setChecked(true);
    press(settings, "BUTTON_OK");
    EXPECT_TRUE(player->showHints);
    EXPECT_TRUE(player->seenHints.empty());
}

TEST_F(SettingsTest, DraggingTheEffectsSliderTicksTwiceASecondHigherAsTheVolumeRises)
{
    DialogSettings* settings = openSettings();
    EXPECT_EQ(1, settings->tickNumber(0.0f));
    EXPECT_EQ(4, settings->tickNumber(127.0f));
    EXPECT_EQ(5, settings->tickNumber(128.0f));
    EXPECT_EQ(8, settings->tickNumber(255.0f));
    advance(1000);
    EXPECT_EQ(0, settings->getTickCount()) << "no tick without a drag";
    settings->getEffectsSlider()->getThumb()->setState(Button::Pressed);
    advance(2000);
    EXPECT_GE(settings->getTickCount(), 4);
    EXPECT_LE(settings->getTickCount(), 5);
    settings->getEffectsSlider()->getThumb()->setState(Button::Normal);
    advance(1000);
    EXPECT_LE(settings->getTickCount(), 5);
}

TEST_F(SettingsTest, InformationOpensTheCreditsAboveTheSettings)
{
    DialogSettings* settings = openSettings();
    press(settings, "BUTTON_INFO");
    EXPECT_TRUE(isShown("DIALOG_CREDITS"));
    EXPECT_EQ("DIALOG_CREDITS", game->getShownDialogs().front()->getName());
    EXPECT_TRUE(isShown("DIALOG_SETTINGS"));
}

// A desktop no larger than the window keeps the game full screen.
class SmallDesktopTest : public SettingsTest {
protected:
    void SetUp() override
    {
        host.desktop = {800, 600, 4};
        SettingsTest::SetUp();
    }
};

TEST_F(SmallDesktopTest, TheFullScreenSwitchIsDisabledAndTheGameStaysFullScreen)
{
    ASSERT_TRUE(GameWindow::instance->isFullScreen());
    DialogSettings* settings = openSettings();
    EXPECT_TRUE(settings->getFullScreenSwitch()->isChecked());
    EXPECT_FALSE(settings->getFullScreenSwitch()->isEnabled());
    stored().setFullScreen(false);
    press(settings, "BUTTON_OK");
    EXPECT_TRUE(GameWindow::instance->isFullScreen());
}

} // namespace
