#pragma once

#include "game/scenes/SceneTortelune.h"

// The tool shop ("SCENE_TOOLSHOP").
// TODO(scenes): only the background of its layout so far; the scene's own
// work arrives with its issue.
class SceneToolShop : public SceneTortelune {
    TT_CLASS_RECORD(SceneToolShop)
public:
    explicit SceneToolShop(AbstractProperty* configuration);
};
