#include "framework/core/ObjectFactoryContainer.h"
#include "game/scenes/SceneMap.h"

TT_DEFINE_RECORD(SceneMap, &SceneTortelune::classRecord);
TT_REGISTER_CLASS(SceneMap);

SceneMap::SceneMap(AbstractProperty* configuration) : SceneTortelune(configuration) {}
