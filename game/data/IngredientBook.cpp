#include "game/data/IngredientBook.h"

#include "framework/core/Log.h"
#include "framework/core/PropertyStore.h"
#include "framework/players/PropertyAccess.h"

namespace {

void readFlag(AbstractProperty* entry, const char* key, bool& flag)
{
    if (hasChildNamed(entry, key))
        flag = childBool(entry, key);
}

} // namespace

void IngredientBook::load(const std::string& fileName)
{
    parse(PropertyStore::loadedFrom(fileName).get());
}

void IngredientBook::parse(AbstractProperty* root)
{
    PropertyVector* list = childVector(root, "ingredients");
    for (int i = 0; i < elementCount(list); ++i) {
        PropertyNode* item = nodeOrDummy(elementAt(list, i));
        if (!hasChildNamed(item, "name")) {
            LOG_WARNING("Ingredient book: entry \"" + item->getName() + "\" has no name; skipped");
            continue;
        }
        const std::string name = childString(item, "name");
        Entry entry;
        entry.id = item->getName();
        readFlag(item, "matching", entry.matching);
        readFlag(item, "canBeUnripe", entry.canBeUnripe);
        readFlag(item, "hasSound", entry.hasSound);
        readFlag(item, "isFruit", entry.isFruit);
        readFlag(item, "isChocolate", entry.isChocolate);
        readFlag(item, "isPastry", entry.isPastry);
        readFlag(item, "isCream", entry.isCream);
        entries.emplace(name, entry); // never replaces: the first entry stays
    }
}

const IngredientBook::Entry* IngredientBook::find(const std::string& name) const
{
    auto found = entries.find(name);
    return found == entries.end() ? nullptr : &found->second;
}
