#pragma once

#include "framework/platform/IGameSettings.h"

class AbstractProperty;

// The game's settings record: full screen, the full-screen warning, hardware
// use and hints (all on by default), effects volume 255 and music volume 50.
class TorteluneGameSettings : public IGameSettings {
    TT_CLASS_RECORD(TorteluneGameSettings)
public:
    explicit TorteluneGameSettings(AbstractProperty* configuration = nullptr);

    bool isFullScreen() const override { return fullScreen; }
    bool isFullScreenWarning() const override { return fullScreenWarning; }
    bool isUseHardware() const override { return useHardware; }
    bool isUseHints() const override { return useHints; }
    int getSoundVolume() const override { return soundVolume; }
    int getMusicVolume() const override { return musicVolume; }
    void setFullScreen(bool value) override { fullScreen = value; }
    void setFullScreenWarning(bool value) override { fullScreenWarning = value; }
    void setUseHardware(bool value) override { useHardware = value; }
    void setUseHints(bool value) override { useHints = value; }
    void setSoundVolume(int value) override { soundVolume = clampVolume(value); }
    void setMusicVolume(int value) override { musicVolume = clampVolume(value); }

private:
    bool fullScreen = true;
    bool fullScreenWarning = true;
    bool useHardware = true;
    bool useHints = true;
    int soundVolume = 255;
    int musicVolume = 50;
};
