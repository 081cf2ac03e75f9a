#include "framework/core/ObjectFactoryContainer.h"
#include "game/dialogs/DialogSettings.h"

#include <cmath>
#include <string>

#include "framework/gui/Button.h"
#include "framework/gui/Scene.h"
#include "framework/gui/SceneManager.h"
#include "framework/gui/Slider.h"
#include "framework/gui/Switch.h"
#include "framework/platform/GameWindow.h"
#include "framework/platform/SettingsManager.h"
#include "framework/players/PlayerManager.h"
#include "framework/resources/ResourceManager.h"
#include "framework/scenegraph/Label.h"
#include "framework/sound/Sound.h"
#include "framework/sound/SoundManager.h"
#include "game/data/TortelunePlayer.h"

TT_DEFINE_RECORD(DialogSettings, &DialogTortelune::classRecord);
TT_REGISTER_CLASS(DialogSettings);

namespace {

constexpr int kTickSounds = 8;

int sliderVolume(const Slider* slider)
{
    return slider ? static_cast<int>(slider->getValue()) : 0;
}

void setSliderVolume(Slider* slider, int volume)
{
    if (!slider)
        return;
    slider->setValue(static_cast<float>(volume));
    slider->updateButtonPosition();
}

} // namespace

DialogSettings::DialogSettings(AbstractProperty* configuration) : DialogTortelune(configuration)
{
    fullScreen = objectCast<Switch>(getComponent("SWITCH_FULLSCREEN"));
    hints = objectCast<Switch>(getComponent("SWITCH_SHOWHINTS"));
    effects = objectCast<Slider>(bindComponent("SLIDER_FXVOL", GuiMethod(this, &DialogSettings::onEffectsVolume)));
    music = objectCast<Slider>(bindComponent("SLIDER_MUSICVOL", GuiMethod(this, &DialogSettings::onMusicVolume)));
    bindComponent("BUTTON_OK", GuiMethod(this, &DialogSettings::onOk));
    bindComponent("BUTTON_CANCEL", GuiMethod(this, &DialogSettings::onCancel));
    bindComponent("BUTTON_INFO", GuiMethod(this, &DialogSettings::onInfo));
    // A click on a caption toggles its switch.
    const std::pair<const char*, const char*> captions[] = {{"SWITCH_FULLSCREEN", "LABEL_FULLSCREEN"},
                                                            {"SWITCH_SHOWHINTS", "LABEL_SHOWHINTS"}};
    for (const auto& [switchName, labelName] : captions) {
        auto* toggle = objectCast<Switch>(getComponent(switchName));
        if (!toggle)
            continue;
        toggle->setHitShape(getComponent(labelName));
        addListener(toggle);
    }
}

void DialogSettings::show()
{
    // Whatever was moved and not stored last time is forgotten.
    fillFromSettings();
    showAndFadeIn();
}

TortelunePlayer* DialogSettings::currentPlayer()
{
    PlayerManager* players = PlayerManager::getInstance();
    return players ? objectCast<TortelunePlayer>(players->getCurrentPlayer()) : nullptr;
}

void DialogSettings::fillFromSettings()
{
    IGameSettings* stored = SettingsManager::instance ? SettingsManager::instance->getSettings() : nullptr;
    if (fullScreen) {
        GameWindow* window = GameWindow::instance;
        fullScreen->setChecked(window ? window->isFullScreen() : (stored && stored->isFullScreen()));
        // A desktop no larger than the window cannot show it windowed.
        fullScreen->setEnabled(!window || window->isModeSwitchAllowed());
    }
    if (hints) {
        TortelunePlayer* player = currentPlayer();
        hints->setChecked(player && player->showHints);
        hints->setEnabled(player != nullptr);
    }
    if (stored) {
        setSliderVolume(effects, stored->getSoundVolume());
        setSliderVolume(music, stored->getMusicVolume());
    }
}

void DialogSettings::storeInto(IGameSettings& settings) const
{
    if (fullScreen)
        settings.setFullScreen(fullScreen->isChecked());
    if (hints && currentPlayer())
        settings.setUseHints(hints->isChecked());
    if (effects)
        settings.setSoundVolume(sliderVolume(effects));
    if (music)
        settings.setMusicVolume(sliderVolume(music));
}

int DialogSettings::onEffectsVolume(void* context, BaseObject* /*slider*/)
{
    auto* dialog = static_cast<DialogSettings*>(context);
    // The sound manager keeps the master volume at 0 while the game is muted.
    if (SoundManager::instance)
        SoundManager::instance->setEffectsVolume(sliderVolume(dialog->effects));
    return 0;
}

int DialogSettings::onMusicVolume(void* context, BaseObject* /*slider*/)
{
    auto* dialog = static_cast<DialogSettings*>(context);
    // The music follows on the sound manager's next update.
    if (SoundManager::instance)
        SoundManager::instance->setMusicVolume(sliderVolume(dialog->music));
    return 0;
}

int DialogSettings::tickNumber(float value) const
{
    float maximum = effects ? effects->getMaxValue() : 255.0f;
    // n = floor(value x 8 / (maximum + 1)) + 1
    int n = static_cast<int>(std::floor(value * kTickSounds / (maximum + 1.0f))) + 1;
    return n < 1 ? 1 : (n > kTickSounds ? kTickSounds : n);
}

void DialogSettings::update(int deltaMs)
{
    DialogTortelune::update(deltaMs);
    now += deltaMs;
    Button* thumb = effects ? effects->getThumb() : nullptr;
    if (!thumb || thumb->getState() != Button::Pressed)
        return;
    if (ticked && now <= lastTickTime + kTickIntervalMs)
        return;
    ticked = true;
    lastTickTime = now;
    ++tickCount;
    std::string key = "SOUND_SLIDER_" + std::to_string(tickNumber(effects->getValue()));
    if (!ResourceManager::instance)
        return;
    ResourceLock lock;
    RefPointer<Sound> sound = ResourceManager::instance->getResourceAs<Sound>(key, "default");
    if (sound)
        Sound::play(sound.get(), 128, 255, false);
}

void DialogSettings::applyStoredVolumes()
{
    IGameSettings* stored = SettingsManager::instance ? SettingsManager::instance->getSettings() : nullptr;
    if (!stored || !SoundManager::instance)
        return;
    SoundManager::instance->setEffectsVolume(stored->getSoundVolume());
    SoundManager::instance->setMusicVolume(stored->getMusicVolume());
}

int DialogSettings::onOk(void* context, BaseObject* button)
{
    auto* dialog = static_cast<DialogSettings*>(context);
    if (dialog->isClosing())
        return 0;
    if (SettingsManager* manager = SettingsManager::instance) {
        if (IGameSettings* stored = manager->getSettings()) {
            dialog->storeInto(*stored);
            manager->saveToRegistry();
            GameWindow* window = GameWindow::instance;
            if (window && window->isModeSwitchAllowed() && window->isFullScreen() != stored->isFullScreen())
                window->setFullScreenMode(stored->isFullScreen());
        }
    }
    TortelunePlayer* player = currentPlayer();
    if (player && dialog->hints && player->showHints != dialog->hints->isChecked()) {
        player->showHints = dialog->hints->isChecked();
        // Hints switched back on show again from the first.
        if (player->showHints)
            player->seenHints.clear();
    }
    return onCancel(context, button);
}

int DialogSettings::onCancel(void* context, BaseObject* /*button*/)
{
    auto* dialog = static_cast<DialogSettings*>(context);
    if (dialog->isClosing())
        return 0;
    applyStoredVolumes();
    dialog->close();
    return 0;
}

int DialogSettings::onInfo(void* /*context*/, BaseObject* /*button*/)
{
    Scene* scene = SceneManager::instance ? SceneManager::instance->getCurrentScene() : nullptr;
    if (!scene)
        return 0;
    if (Dialog* credits = scene->getOrCreateDialog("DIALOG_CREDITS", "DIALOG_CREDITS"))
        scene->showDialog(credits);
    return 0;
}
