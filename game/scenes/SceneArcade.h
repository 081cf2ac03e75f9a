#pragma once

#include "game/scenes/SceneTortelune.h"

// The arcade scene ("SCENE_ARCADE").
// TODO(scenes): only the background of its layout so far; the scene's own
// work arrives with its issue.
class SceneArcade : public SceneTortelune {
    TT_CLASS_RECORD(SceneArcade)
public:
    explicit SceneArcade(AbstractProperty* configuration);
};
