#include "framework/players/HighScoreEntry.h"

#include "framework/core/ObjectFactoryContainer.h"
#include "framework/core/PropertyNode.h"
#include "framework/players/PropertyAccess.h"

TT_DEFINE_RECORD(HighScoreEntry, &BaseObject::classRecord);
TT_REGISTER_CLASS(HighScoreEntry);

HighScoreEntry::HighScoreEntry(AbstractProperty* node)
    : playerName(childString(node, "playername")), scoreValue(childInt(node, "scorevalue")),
      isPlayerScore(childBool(node, "isplayerscore"))
{
}

void HighScoreEntry::writeTo(PropertyNode* node)
{
    node->setTypeName("HighScoreEntry");
    addUntypedInt(node, "scorevalue", scoreValue);
    addUntypedString(node, "playername", playerName);
    addUntypedBool(node, "isplayerscore", isPlayerScore);
}
