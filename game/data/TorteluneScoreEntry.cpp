#include "game/data/TorteluneScoreEntry.h"

#include "framework/core/ObjectFactoryContainer.h"
#include "framework/core/PropertyNode.h"
#include "framework/players/PropertyAccess.h"

TT_DEFINE_RECORD(TorteluneScoreEntry, &HighScoreEntry::classRecord);
TT_REGISTER_CREATOR(TorteluneScore, TorteluneScoreEntry);

TorteluneScoreEntry::TorteluneScoreEntry(AbstractProperty* node)
    : HighScoreEntry(node), extra(childWideString(node, "extra"))
{
}

void TorteluneScoreEntry::writeTo(PropertyNode* node)
{
    HighScoreEntry::writeTo(node);
    node->setTypeName("TorteluneScore");
    addUntypedWideString(node, "extra", extra);
}
