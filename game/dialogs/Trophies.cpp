#include "game/dialogs/Trophies.h"

#include "framework/core/PropertyNode.h"
#include "framework/core/PropertyValue.h"
#include "framework/core/PropertyStore.h"
#include "framework/players/PropertyAccess.h"

namespace {

std::string& definitionFile()
{
    static std::string path = Trophies::kDefaultFile;
    return path;
}

} // namespace

Trophy::Trophy(AbstractProperty* node, const std::string& defaultSection)
{
    PropertyVector* list = childVector(node, "trophyinfos");
    for (int i = 0; i < elementCount(list); ++i) {
        AbstractProperty* element = elementAt(list, i);
        TrophyInfo info;
        info.section = defaultSection;
        info.image = childString(element, "image");
        if (hasChildNamed(element, "headerId"))
            info.headerId = childString(element, "headerId");
        if (hasChildNamed(element, "textId"))
            info.textId = childString(element, "textId");
        if (hasChildNamed(element, "section"))
            info.section = childString(element, "section");
        if (hasChildNamed(element, "x"))
            info.x = childInt(element, "x");
        if (hasChildNamed(element, "y"))
            info.y = childInt(element, "y");
        infos.push_back(std::move(info));
    }
}

const TrophyInfo* Trophy::getInfo(int index) const
{
    if (index < 0 || index >= getInfoCount())
        return nullptr;
    return &infos[index];
}

void Trophies::setDefinitionFile(const std::string& path)
{
    definitionFile() = path;
}

const std::string& Trophies::getDefinitionFile()
{
    return definitionFile();
}

Trophies::Trophies()
{
    RefPointer<PropertyStore> store(new PropertyStore(definitionFile()));
    store->load();
    parse(store.get());
}

Trophies::Trophies(AbstractProperty* definitions)
{
    parse(definitions);
}

void Trophies::parse(AbstractProperty* definitions)
{
    if (hasChildNamed(definitions, "SAVE_NOT_SHOWN_AS_NEW"))
        saveNotShownAsNew = childBool(definitions, "SAVE_NOT_SHOWN_AS_NEW");
    trophySection = childString(definitions, "TROPHY_SECTION");
    PropertyVector* list = childVector(definitions, "TROPHIES");
    for (int i = 0; i < elementCount(list); ++i)
        trophies.emplace_back(new Trophy(elementAt(list, i), trophySection));
}

void Trophies::load(AbstractProperty* node)
{
    PropertyVector* states = childVector(node, "trophyVector");
    for (int i = 0; i < elementCount(states) && i < getCount(); ++i)
        trophies[i]->state = valueOrDummy(elementAt(states, i))->toInt();
}

void Trophies::save(PropertyNode* node) const
{
    RefPointer<PropertyVector> states(new PropertyVector("trophyVector"));
    for (const RefPointer<Trophy>& trophy : trophies) {
        const int state = (trophy->state == Trophy::Earned && saveNotShownAsNew) ? Trophy::Announced : trophy->state;
        states->add(PropertyValue::makeTyped("", "Integer", state));
    }
    nodeOrDummy(node)->addChild(states.get());
}

Trophy* Trophies::getTrophy(int index) const
{
    if (index < 0 || index >= getCount())
        return nullptr;
    return trophies[index].get();
}

int Trophies::getState(int index) const
{
    const Trophy* trophy = getTrophy(index);
    return trophy ? trophy->state : Trophy::NotEarned;
}

void Trophies::setState(int index, int state)
{
    if (Trophy* trophy = getTrophy(index))
        trophy->state = state;
}
