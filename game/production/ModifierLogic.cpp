#include "framework/core/ObjectFactoryContainer.h"
#include "game/production/ModifierLogic.h"

TT_DEFINE_RECORD(ModifierLogic, &Modifier::classRecord);
TT_REGISTER_CLASS(ModifierLogic);
