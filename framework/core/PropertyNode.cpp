#include "framework/core/PropertyNode.h"

#include <unordered_set>

#include "framework/core/BasicProperties.h"
#include "framework/core/Log.h"
#include "framework/core/PropertyValue.h"

TT_DEFINE_RECORD(PropertyNode, &AbstractProperty::classRecord);

namespace {

// True when `target` can be reached from `root` through nodes and vectors.
bool reaches(const AbstractProperty* root, const AbstractProperty* target)
{
    std::unordered_set<const AbstractProperty*> seen;
    std::vector<const AbstractProperty*> pending {root};
    while (!pending.empty()) {
        const AbstractProperty* entry = pending.back();
        pending.pop_back();
        if (entry == target)
            return true;
        if (entry->isValue() || !seen.insert(entry).second)
            continue;
        if (entry->isNode()) {
            for (AbstractProperty* child : static_cast<const PropertyNode*>(entry)->getNamedChildren())
                pending.push_back(child);
        } else {
            for (const RefPointer<AbstractProperty>& element : *static_cast<const PropertyVector*>(entry))
                pending.push_back(element.get());
        }
    }
    return false;
}

} // namespace

PropertyNode::PropertyNode(const std::string& name, const std::string& typeName)
    : PropertyVector(KIND_NODE, name, typeName)
{
}

PropertyNode::PropertyNode(int kind, const std::string& name, const std::string& typeName)
    : PropertyVector(kind, name, typeName)
{
}

PropertyNode* PropertyNode::nullObject()
{
    // Never destroyed: lookups may run from static destructors.
    static PropertyNode* instance = [] {
        PropertyNode* made = new PropertyNode("DUMMY_NODE", std::string());
        made->markNullObject();
        made->addRef();
        return made;
    }();
    return instance;
}

AbstractProperty* PropertyNode::addChild(AbstractProperty* entry)
{
    if (!entry)
        return nullptr;
    if (isNullObject()) {
        const int kind = entry->getKind();
        RefPointer<AbstractProperty> dropped(entry);
        if (kind == KIND_VALUE)
            return DUMMY_VALUE;
        return kind == KIND_NODE ? static_cast<AbstractProperty*>(DUMMY_NODE) : DUMMY_VECTOR;
    }
    // Hold the entry while the old child of that name goes: it may be the same object.
    RefPointer<AbstractProperty> held(entry);
    removeNamed(entry->getName());
    auto position = namedChildren.insert(namedChildren.end(), NamedChild {entry->getName(), held});
    childIndex[entry->getName()] = position;
    if (!entry->isUntypedValue())
        PropertyVector::add(entry);
    return entry;
}

void PropertyNode::removeNamed(const std::string& name)
{
    auto found = childIndex.find(name);
    if (found != childIndex.end()) {
        RefPointer<AbstractProperty> old = found->second->entry;
        namedChildren.erase(found->second);
        childIndex.erase(found);
        removeElement(old.get());
        return;
    }
    // Entries put into the list by add() are not in the map.
    if (unindexedCount == 0)
        return;
    for (auto it = elements.begin(); it != elements.end(); ++it) {
        if ((*it)->getName() == name) {
            elements.erase(it);
            --unindexedCount;
            return;
        }
    }
}

void PropertyNode::add(AbstractProperty* entry)
{
    if (entry && !isNullObject())
        ++unindexedCount;
    PropertyVector::add(entry);
}

bool PropertyNode::removeChild(const std::string& name)
{
    if (isNullObject() || !getChild(name))
        return false;
    removeNamed(name);
    return true;
}

void PropertyNode::addBoolean(bool value)
{
    addChild(PropertyValue::makeBoolean(std::string(), value));
}

void PropertyNode::setBoolean(const std::string& name, bool value, bool untyped)
{
    addChild(PropertyValue::makeBoolean(name, value, untyped));
}

void PropertyNode::setInt(const std::string& name, int value, bool untyped)
{
    addChild(new PropertyValue(name, value, untyped));
}

void PropertyNode::setFloat(const std::string& name, float value, bool untyped)
{
    addChild(new PropertyValue(name, value, untyped));
}

void PropertyNode::setString(const std::string& name, const std::string& value, bool untyped)
{
    addChild(new PropertyValue(name, value, untyped));
}

void PropertyNode::setWString(const std::string& name, const WString& value, bool untyped)
{
    addChild(new PropertyValue(name, value, untyped));
}

PropertyNode* PropertyNode::addNode(const std::string& name, const std::string& typeName)
{
    return addChild(new PropertyNode(name, typeName))->asNode();
}

PropertyVector* PropertyNode::addVector(const std::string& name)
{
    return addChild(new PropertyVector(name))->asVector();
}

void PropertyNode::clear()
{
    if (isNullObject())
        return;
    childIndex.clear();
    namedChildren.clear();
    unindexedCount = 0;
    PropertyVector::clear();
}

AbstractProperty* PropertyNode::getChild(const std::string& name) const
{
    auto found = childIndex.find(name);
    return found == childIndex.end() ? nullptr : found->second->entry.get();
}

PropertyValue* PropertyNode::getValue(const std::string& name) const
{
    AbstractProperty* child = getChild(name);
    return child ? child->asValue() : DUMMY_VALUE;
}

PropertyNode* PropertyNode::getNode(const std::string& name) const
{
    AbstractProperty* child = getChild(name);
    return child ? child->asNode() : DUMMY_NODE;
}

PropertyVector* PropertyNode::getVector(const std::string& name) const
{
    AbstractProperty* child = getChild(name);
    return child ? child->asVector() : DUMMY_VECTOR;
}

int PropertyNode::getInt(const std::string& name, int fallback) const
{
    AbstractProperty* child = getChild(name);
    return child && child->isValue() ? child->getInt() : fallback;
}

float PropertyNode::getFloat(const std::string& name, float fallback) const
{
    AbstractProperty* child = getChild(name);
    return child && child->isValue() ? child->getFloat() : fallback;
}

double PropertyNode::getDouble(const std::string& name, double fallback) const
{
    AbstractProperty* child = getChild(name);
    return child && child->isValue() ? child->getDouble() : fallback;
}

bool PropertyNode::getBool(const std::string& name, bool fallback) const
{
    AbstractProperty* child = getChild(name);
    return child && child->isValue() ? child->getBool() : fallback;
}

std::string PropertyNode::getString(const std::string& name, const std::string& fallback) const
{
    AbstractProperty* child = getChild(name);
    return child && child->isValue() ? child->getString() : fallback;
}

WString PropertyNode::getWString(const std::string& name, const WString& fallback) const
{
    AbstractProperty* child = getChild(name);
    return child && child->isValue() ? child->getWString() : fallback;
}

int PropertyNode::getKeywordIndex(const std::string& name, const char* const* keywords, int count,
                                  int fallback) const
{
    AbstractProperty* child = getChild(name);
    if (!child)
        return fallback;
    const std::string text = child->getString();
    for (int i = 0; i < count; ++i) {
        if (keywords[i] && text == keywords[i])
            return i;
    }
    return fallback;
}

std::vector<AbstractProperty*> PropertyNode::getNamedChildren() const
{
    std::vector<AbstractProperty*> children;
    children.reserve(namedChildren.size());
    for (const NamedChild& child : namedChildren)
        children.push_back(child.entry.get());
    return children;
}

void PropertyNode::inheritFrom(PropertyNode* templateNode, const std::string& templateName)
{
    for (AbstractProperty* child : templateNode->getNamedChildren()) {
        // The template's own "setup" was resolved (or is unresolvable) for the template.
        if (child->getName() == "setup" || getChild(child->getName()))
            continue;
        // Sharing a child that contains this node would make the tree a cycle.
        if (child == this || (!child->isValue() && reaches(child, this))) {
            LOG_WARNING("template \"" + templateName + "\" would contain \"" + getName() +
                        "\" within itself; entry \"" + child->getName() + "\" skipped");
            continue;
        }
        addChild(child);
    }
}

void PropertyNode::resolveTemplates(TemplateWalk& walk)
{
    if (!walk.visited.insert(this).second)
        return;
    if (AbstractProperty* setup = getChild("setup")) {
        const std::string templateName = setup->getString();
        RefPointer<AbstractProperty> keep(setup);
        removeNamed("setup");
        if (!templateName.empty()) {
            PropertyNode* templateNode =
                BasicProperties::instance ? BasicProperties::instance->findNode(templateName) : nullptr;
            if (!templateNode) {
                LOG_WARNING("template \"" + templateName + "\" not found for \"" + getName() + "\"");
                return;
            }
            if (templateNode != this) {
                // A template that inherits in turn is resolved first, wherever it
                // lies; the walk's visited set stops chains that come back.
                templateNode->resolveTemplates(walk);
                inheritFrom(templateNode, templateName);
            }
        }
    }
    for (AbstractProperty* child : getNamedChildren())
        child->resolveTemplates(walk);
}
