#include "framework/core/PropertyVector.h"

#include <iterator>

#include "framework/core/PropertyNode.h"
#include "framework/core/PropertyValue.h"

TT_DEFINE_RECORD(PropertyVector, &AbstractProperty::classRecord);

PropertyVector::PropertyVector(const std::string& name) : AbstractProperty(KIND_VECTOR, name, "Vector")
{
}

PropertyVector::PropertyVector(int kind, const std::string& name, const std::string& typeName)
    : AbstractProperty(kind, name, typeName)
{
}

PropertyVector* PropertyVector::nullObject()
{
    // Never destroyed: lookups may run from static destructors.
    static PropertyVector* instance = [] {
        PropertyVector* made = new PropertyVector("DUMMY_VECTOR");
        made->markNullObject();
        made->addRef();
        return made;
    }();
    return instance;
}

void PropertyVector::add(AbstractProperty* entry)
{
    if (!entry)
        return;
    if (isNullObject()) {
        // Take and drop a reference so that a fresh entry is not leaked.
        RefPointer<AbstractProperty> dropped(entry);
        return;
    }
    elements.emplace_back(entry);
}

void PropertyVector::addBoolean(bool value)
{
    add(PropertyValue::makeBoolean(std::string(), value));
}

void PropertyVector::clear()
{
    elements.clear();
}

AbstractProperty* PropertyVector::getAt(int index) const
{
    if (index < 0 || index >= getCount())
        return nullptr;
    return elements[static_cast<size_t>(index)].get();
}

PropertyValue* PropertyVector::getValueAt(int index) const
{
    AbstractProperty* entry = getAt(index);
    return entry ? entry->asValue() : DUMMY_VALUE;
}

PropertyNode* PropertyVector::getNodeAt(int index) const
{
    AbstractProperty* entry = getAt(index);
    return entry ? entry->asNode() : DUMMY_NODE;
}

PropertyVector* PropertyVector::getVectorAt(int index) const
{
    AbstractProperty* entry = getAt(index);
    return entry ? entry->asVector() : DUMMY_VECTOR;
}

bool PropertyVector::removeElement(const AbstractProperty* entry)
{
    // From the back: a replaced entry is most often one added just before.
    for (auto it = elements.rbegin(); it != elements.rend(); ++it) {
        if (it->get() == entry) {
            elements.erase(std::next(it).base());
            return true;
        }
    }
    return false;
}

void PropertyVector::resolveTemplates(TemplateWalk& walk)
{
    if (!walk.visited.insert(this).second)
        return;
    // A copy, so that an element that changes this vector cannot invalidate the walk.
    const Elements snapshot = elements;
    for (const RefPointer<AbstractProperty>& element : snapshot)
        element->resolveTemplates(walk);
}
