#include "game/data/TorteluneGameSettings.h"

#include "framework/core/ObjectFactoryContainer.h"

TT_DEFINE_RECORD(TorteluneGameSettings, &IGameSettings::classRecord);
TT_REGISTER_CLASS(TorteluneGameSettings);

TorteluneGameSettings::TorteluneGameSettings(AbstractProperty*)
{
}
