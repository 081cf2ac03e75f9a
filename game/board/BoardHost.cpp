#include "game/board/BoardHost.h"

#include "framework/scenegraph/ModifierSound.h"

namespace {
BoardHost* currentHost = nullptr;
}

void BoardHost::playSound(const std::string& name)
{
    const ModifierSound::Backend& backend = ModifierSound::getBackend();
    if (!backend.findSound || !backend.playSound)
        return;
    if (RefPointer<Sound> sound = backend.findSound("sounds", name))
        backend.playSound(sound.get());
}

BoardHost* BoardHost::current()
{
    return currentHost;
}

void BoardHost::setCurrent(BoardHost* host)
{
    currentHost = host;
}

Modifier* BoardHost::animationRoot()
{
    return currentHost ? currentHost->getAnimationRoot() : nullptr;
}
