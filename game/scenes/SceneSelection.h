#pragma once

#include "game/scenes/SceneTortelune.h"

// The player-selection scene ("SCENE_SELECTION"), where the journey stops after the loading scene for now.
// TODO(scenes): only the background of its layout so far; the scene's own
// work arrives with its issue.
class SceneSelection : public SceneTortelune {
    TT_CLASS_RECORD(SceneSelection)
public:
    explicit SceneSelection(AbstractProperty* configuration);
};
