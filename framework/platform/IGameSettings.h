#pragma once

#include "framework/core/BaseObject.h"

class PropertyNode;

// The player's own settings (screen mode, hints, volumes) with their form as
// a property node: "fullscreen", "fullscreenwarning", "usehardware" and
// "usehints" as Boolean children, "soundvolume" and "musicvolume" as Integer
// children. Volumes are kept within 0..255.
class IGameSettings : public BaseObject {
    TT_CLASS_RECORD(IGameSettings)
public:
    // Sets the six children, in this order.
    virtual void writeTo(PropertyNode* node) const;
    // Reads each of the six names the node holds: "true"/"false" or a number
    // (any number but 0 is true for the flags).
    virtual void readFrom(const PropertyNode* node);
    virtual void copyFrom(const IGameSettings& other);

    virtual bool isFullScreen() const = 0;
    virtual bool isFullScreenWarning() const = 0;
    virtual bool isUseHardware() const = 0;
    virtual bool isUseHints() const = 0;
    virtual int getSoundVolume() const = 0;
    virtual int getMusicVolume() const = 0;
    virtual void setFullScreen(bool value) = 0;
    virtual void setFullScreenWarning(bool value) = 0;
    virtual void setUseHardware(bool value) = 0;
    virtual void setUseHints(bool value) = 0;
    virtual void setSoundVolume(int value) = 0;
    virtual void setMusicVolume(int value) = 0;

    // The number a settings text stands for: "true" 1, "false" 0, else the integer.
    static int settingNumber(const PropertyNode* node, const char* name);
    static int clampVolume(int volume) { return volume < 0 ? 0 : (volume > 255 ? 255 : volume); }
};
