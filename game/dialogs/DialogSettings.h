#pragma once

#include <cstdint>

#include "game/dialogs/DialogTortelune.h"

class Button;
class IGameSettings;
class Slider;
class Switch;
class TortelunePlayer;

// The player's settings: full screen, hints for the current player, and the
// effects and music volumes, which are heard live while their sliders move.
// OK stores and applies everything; Cancel puts the stored volumes back.
// Every showing starts from the stored settings.
class DialogSettings : public DialogTortelune {
    TT_CLASS_RECORD(DialogSettings)
public:
    explicit DialogSettings(AbstractProperty* configuration);

    void show() override;
    // Plays the slider's tick while the effects slider is dragged.
    void update(int deltaMs) override;

    // The widgets from the stored settings, the window's mode and the current player.
    void fillFromSettings();
    // The widgets' values into `settings` (the hints flag only when a player is current).
    void storeInto(IGameSettings& settings) const;

    static int onEffectsVolume(void* context, BaseObject* slider);
    static int onMusicVolume(void* context, BaseObject* slider);
    static int onOk(void* context, BaseObject* button);
    static int onCancel(void* context, BaseObject* button);
    static int onInfo(void* context, BaseObject* button);

    Switch* getFullScreenSwitch() const { return fullScreen; }
    Switch* getHintsSwitch() const { return hints; }
    Slider* getEffectsSlider() const { return effects; }
    Slider* getMusicSlider() const { return music; }
    // The tick number 1..8 the effects slider plays at `value`.
    int tickNumber(float value) const;
    int getTickCount() const { return tickCount; }

    // At most one tick in this time while the slider is dragged.
    static constexpr int kTickIntervalMs = 500;

private:
    static TortelunePlayer* currentPlayer();
    static void applyStoredVolumes();

    Switch* fullScreen = nullptr;
    Switch* hints = nullptr;
    Slider* effects = nullptr;
    Slider* music = nullptr;
    int64_t now = 0;
    int64_t lastTickTime = 0;
    bool ticked = false;
    int tickCount = 0;
};
