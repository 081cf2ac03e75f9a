#include "framework/core/ObjectFactoryContainer.h"
#include "game/scenes/SceneArcade.h"

TT_DEFINE_RECORD(SceneArcade, &SceneTortelune::classRecord);
TT_REGISTER_CLASS(SceneArcade);

SceneArcade::SceneArcade(AbstractProperty* configuration) : SceneTortelune(configuration) {}
