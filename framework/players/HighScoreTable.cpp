#include "framework/players/HighScoreTable.h"

#include "framework/core/Log.h"
#include "framework/core/ObjectFactoryContainer.h"
#include "framework/core/PropertyNode.h"
#include "framework/players/PropertyAccess.h"

TT_DEFINE_RECORD(HighScoreTable, &BaseObject::classRecord);

HighScoreTable::HighScoreTable(AbstractProperty* entry)
{
    PropertyNode* node = nodeOrDummy(entry);
    if (hasChildNamed(node, "descending"))
        descending = childBool(node, "descending");
    if (hasChildNamed(node, "lastscore"))
        lastScore = childInt(node, "lastscore");
    maxEntries = childInt(node, "maxentries");
    if (!hasChildNamed(node, "entries"))
        return;
    PropertyVector* list = childVector(node, "entries");
    for (int i = 0; i < elementCount(list); ++i) {
        PropertyNode* row = nodeOrDummy(elementAt(list, i));
        RefPointer<HighScoreEntry> created = ObjectFactoryContainer::createFrom<HighScoreEntry>(row);
        if (created)
            entries.push_back(created);
        else
            LOG_WARNING("High-score row of unknown kind \"" + row->getTypeName() + "\" skipped");
    }
}

void HighScoreTable::writeTo(PropertyNode* node)
{
    addUntypedBool(node, "descending", descending);
    addUntypedInt(node, "maxentries", maxEntries);
    addUntypedInt(node, "lastscore", lastScore);
    if (entries.empty())
        return;
    addNodeVector(node, "entries", "", entries,
                  [](PropertyNode* item, const RefPointer<HighScoreEntry>& row) { row->writeTo(item); });
}
