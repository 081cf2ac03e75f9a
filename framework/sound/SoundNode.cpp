#include "framework/sound/SoundNode.h"

#include <algorithm>
#include <cmath>

#include "framework/core/ObjectFactoryContainer.h"
#include "framework/core/PropertyNode.h"
#include "framework/scenegraph/ModifierSound.h"
#include "framework/scenegraph/Rounding.h"
#include "framework/sound/SoundManager.h"

TT_DEFINE_RECORD(SoundNode, &GameNode::classRecord);
TT_REGISTER_CLASS(SoundNode);

namespace {

// Lets the sound modifier start a sound node's own sound.
int playNodeSound(GameNode* node)
{
    auto* soundNode = objectCast<SoundNode>(node);
    if (!soundNode)
        return -1;
    soundNode->play();
    return soundNode->getLengthMs();
}

bool installNodePlayer()
{
    ModifierSound::Backend backend = ModifierSound::getBackend();
    backend.playSoundNode = &playNodeSound;
    ModifierSound::setBackend(backend);
    return true;
}

const bool nodePlayerInstalled = installNodePlayer();

} // namespace

SoundNode::SoundNode(AbstractProperty* configuration) : GameNode(configuration)
{
    (void)nodePlayerInstalled;
    const PropertyNode* node = configuration ? configuration->asNode() : nullptr;
    if (!node)
        return;
    // Each key is read only when present; the defaults stand otherwise.
    if (node->hasChild("looped"))
        looped = node->getBool("looped");
    if (node->hasChild("volume"))
        volume = static_cast<uint8_t>(node->getInt("volume"));
    if (node->hasChild("panning"))
        panning = static_cast<uint8_t>(node->getInt("panning"));
    if (node->hasChild("screenpospanning"))
        screenPosPanning = node->getBool("screenpospanning");
    panMinX = node->getInt("panminx", panMinX);
    panMaxX = node->getInt("panmaxx", panMaxX);
    panMinValue = node->getInt("panminvalue", panMinValue);
    panMaxValue = node->getInt("panmaxvalue", panMaxValue);
    if (node->hasChild("forcedrestart"))
        forcedRestart = node->getBool("forcedrestart");
    if (node->hasChild("forcedstop"))
        forcedStop = node->getBool("forcedstop");
    maxUsers = node->getInt("maxusers", maxUsers);
    minStartInterval = node->getInt("minstartinterval", minStartInterval);
    const std::string soundName = node->getString("sound");
    if (!soundName.empty() && ModifierSound::getBackend().findSound)
        sound = ModifierSound::getBackend().findSound(node->getString("section"), soundName);
}

SoundNode::~SoundNode()
{
    if (channel >= 0 && SoundManager::isSoundOn())
        SoundManager::instance->getMixer().stop(channel);
}

int SoundNode::play(bool forceRestart, int playVolume, int playPanning, bool loop)
{
    if (!SoundManager::isSoundOn())
        return -1;
    if (!forceRestart)
        forceRestart = forcedRestart;
    if (!loop)
        loop = looped;
    if (!forceRestart && users >= maxUsers) {
        // Too many overlapping plays: count the user, but start nothing new
        // while looping or while the last start is recent.
        const uint32_t sinceStart = static_cast<uint32_t>(getLengthMs() - remaining);
        if (loop || sinceStart < static_cast<uint32_t>(minStartInterval)) {
            ++users;
            return channel;
        }
    }
    // A looped sound restarted by force would otherwise keep its old channel
    // running forever with nobody left to stop it.
    if (channel >= 0 && looped)
        SoundManager::instance->getMixer().stop(channel);
    if (!sound)
        return channel;
    channel = Sound::play(sound.get(), playPanning, playVolume, loop);
    looped = loop;
    remaining = Sound::getLength(sound.get());
    ++users;
    return channel;
}

bool SoundNode::stop(bool force)
{
    if (!SoundManager::isSoundOn())
        return false;
    if (!force)
        force = forcedStop;
    if (users <= 0) {
        if (!force)
            return false;
        users = 0;
    } else if (force) {
        users = 0;
    } else {
        users = std::max(0, users - 1);
    }
    if (users > 0)
        return false;
    const bool stopped = channel >= 0 && SoundManager::instance->getMixer().stop(channel);
    channel = -1;
    return stopped;
}

void SoundNode::update(int elapsedMs)
{
    if (!SoundManager::isSoundOn())
        return;
    remaining -= elapsedMs;
    if (remaining < 1 && users > 0 && !looped)
        stop(false);
    if (screenPosPanning)
        setPanning(screenPanning());
}

void SoundNode::setPanning(int value)
{
    if (!SoundManager::isSoundOn())
        return;
    const int clamped = std::clamp(value, panMinValue, std::max(panMinValue, panMaxValue));
    panning = static_cast<uint8_t>(clamped);
    if (channel >= 0)
        SoundManager::instance->getMixer().setPan(channel, panning);
}

int SoundNode::screenPanning() const
{
    const float x = static_cast<float>(getAbsoluteX());
    const int value = rounding::halfEven(x / static_cast<float>(kScreenWidth) * 255.0f);
    // Positions beyond the screen edges pin to the edges instead of wrapping.
    return std::clamp(value, 0, 255);
}

int SoundNode::getLengthMs() const
{
    return Sound::getLength(sound.get());
}
