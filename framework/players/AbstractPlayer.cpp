#include "framework/players/AbstractPlayer.h"

#include "framework/core/Log.h"
#include "framework/core/PropertyNode.h"
#include "framework/players/PropertyAccess.h"

TT_DEFINE_RECORD(AbstractPlayer, &BaseObject::classRecord);

AbstractPlayer::AbstractPlayer(const std::string& name) : name(name) {}

AbstractPlayer::AbstractPlayer(AbstractProperty* node) : name(childString(node, "name")) {}

void AbstractPlayer::writeTo(PropertyNode* node)
{
    addUntypedString(node, "name", name);
}

void AbstractPlayer::noteRepair(const std::string& what)
{
    LOG_WARNING("Player " + name + ": " + what);
    repairedOnRead = true;
}
