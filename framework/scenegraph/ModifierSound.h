#pragma once

#include <string>

#include "framework/core/RefPointer.h"
#include "framework/scenegraph/Modifier.h"
#include "framework/sound/Sound.h"

// Plays a sound once when its turn comes and, unless told not to wait,
// finishes when the sound has played out. Without a sound of its own it
// starts the target's sound when the target is a sound node.
class ModifierSound : public Modifier {
    TT_CLASS_RECORD(ModifierSound)
public:
    // How sounds are found and how a sound node is played; filled in by the
    // resource and sound layers. Unset entries find nothing and play nothing.
    struct Backend {
        // The sound named `name` in resource section `section`, or null.
        RefPointer<Sound> (*findSound)(const std::string& section, const std::string& name) = nullptr;
        // Starts `node`'s own sound when it is a sound node and returns its
        // length in ms; -1 when the node is no sound node.
        int (*playSoundNode)(GameNode* node) = &playOwnSound;
        // Plays a sound once at pan 128, volume 255; its length in ms.
        int (*playSound)(Sound* sound) = &playSoundEffect;
    };
    static void setBackend(const Backend& backend);
    static const Backend& getBackend();
    static int playSoundEffect(Sound* sound);
    // A SoundNode plays with its own volume and panning; -1 for other nodes.
    static int playOwnSound(GameNode* node);

    ModifierSound(const std::string& soundName, const std::string& section, bool noWait = false);
    ModifierSound(Sound* sound, bool noWait = false);

    void step(int deltaMs) override;

    Sound* getSound() const { return sound.get(); }
    bool hasStarted() const { return started; }
    int getRemaining() const { return remaining; }

private:
    RefPointer<Sound> sound;
    bool noWait;
    bool started = false;
    int remaining = 0;
};
