#pragma once

#include "game/scenes/SceneTortelune.h"

// The map of themes and levels ("SCENE_MAP").
// TODO(scenes): only the background of its layout so far; the scene's own
// work arrives with its issue.
class SceneMap : public SceneTortelune {
    TT_CLASS_RECORD(SceneMap)
public:
    explicit SceneMap(AbstractProperty* configuration);
};
