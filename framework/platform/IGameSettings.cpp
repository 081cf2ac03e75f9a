#include "framework/platform/IGameSettings.h"

#include "framework/core/PropertyNode.h"
#include "framework/core/PropertyValue.h"

TT_DEFINE_RECORD(IGameSettings, &BaseObject::classRecord);

void IGameSettings::writeTo(PropertyNode* node) const
{
    if (!node)
        return;
    node->setBoolean("fullscreen", isFullScreen());
    node->setBoolean("fullscreenwarning", isFullScreenWarning());
    node->setBoolean("usehardware", isUseHardware());
    node->setBoolean("usehints", isUseHints());
    node->setInt("soundvolume", getSoundVolume());
    node->setInt("musicvolume", getMusicVolume());
}

int IGameSettings::settingNumber(const PropertyNode* node, const char* name)
{
    const std::string text = node->getString(name);
    if (text == "true")
        return 1;
    if (text == "false")
        return 0;
    return node->getInt(name);
}

void IGameSettings::readFrom(const PropertyNode* node)
{
    if (!node)
        return;
    if (node->hasChild("fullscreen"))
        setFullScreen(settingNumber(node, "fullscreen") != 0);
    if (node->hasChild("fullscreenwarning"))
        setFullScreenWarning(settingNumber(node, "fullscreenwarning") != 0);
    if (node->hasChild("usehardware"))
        setUseHardware(settingNumber(node, "usehardware") != 0);
    if (node->hasChild("usehints"))
        setUseHints(settingNumber(node, "usehints") != 0);
    if (node->hasChild("soundvolume"))
        setSoundVolume(settingNumber(node, "soundvolume"));
    if (node->hasChild("musicvolume"))
        setMusicVolume(settingNumber(node, "musicvolume"));
}

void IGameSettings::copyFrom(const IGameSettings& other)
{
    setFullScreen(other.isFullScreen());
    setFullScreenWarning(other.isFullScreenWarning());
    setUseHardware(other.isUseHardware());
    setUseHints(other.isUseHints());
    setSoundVolume(other.getSoundVolume());
    setMusicVolume(other.getMusicVolume());
}
