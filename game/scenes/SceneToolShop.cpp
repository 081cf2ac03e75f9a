#include "framework/core/ObjectFactoryContainer.h"
#include "game/scenes/SceneToolShop.h"

TT_DEFINE_RECORD(SceneToolShop, &SceneTortelune::classRecord);
TT_REGISTER_CLASS(SceneToolShop);

SceneToolShop::SceneToolShop(AbstractProperty* configuration) : SceneTortelune(configuration) {}
