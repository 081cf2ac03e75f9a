#include "framework/core/ObjectFactoryContainer.h"
#include "game/scenes/SceneSelection.h"

TT_DEFINE_RECORD(SceneSelection, &SceneTortelune::classRecord);
TT_REGISTER_CLASS(SceneSelection);

SceneSelection::SceneSelection(AbstractProperty* configuration) : SceneTortelune(configuration) {}
