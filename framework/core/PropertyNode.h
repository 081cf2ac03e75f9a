#pragma once

#include <list>
#include <string>
#include <unordered_map>
#include <vector>

#include "framework/core/PropertyVector.h"

// An ordered list of properties that also finds its children by name. Names
// are unique among the children (a second child of a name, or a second
// unnamed child, replaces the first); untyped values (XML attributes) are
// found by name but are not in the ordered list. The type name is the XML tag
// the node was read from.
class PropertyNode : public PropertyVector {
    TT_CLASS_RECORD(PropertyNode)
public:
    explicit PropertyNode(const std::string& name = std::string(), const std::string& typeName = std::string());

    // Replaces a child of the same name; an untyped value goes to the name
    // map only. Returns the entry (the null objects drop it and return the
    // null object of its kind, so chained calls stay safe).
    virtual AbstractProperty* addChild(AbstractProperty* entry);
    // Appends to the ordered list only (not found by name).
    void add(AbstractProperty* entry) override;
    void addBoolean(bool value) override;
    virtual void setBoolean(const std::string& name, bool value, bool untyped = false);
    void clear() override;

    // Convenience setters; each replaces any child of that name.
    void setInt(const std::string& name, int value, bool untyped = false);
    void setFloat(const std::string& name, float value, bool untyped = false);
    void setString(const std::string& name, const std::string& value, bool untyped = false);
    void setWString(const std::string& name, const WString& value, bool untyped = false);
    // Adds a new empty child node or vector and returns it.
    PropertyNode* addNode(const std::string& name, const std::string& typeName);
    PropertyVector* addVector(const std::string& name);
    // Removes the child of that name from the map and the ordered list.
    bool removeChild(const std::string& name);

    // The child of that name, or null (no null object here).
    AbstractProperty* getChild(const std::string& name) const;
    bool hasChild(const std::string& name) const { return getChild(name) != nullptr; }
    // The child as the wanted kind, or the null object; never null.
    PropertyValue* getValue(const std::string& name) const;
    PropertyNode* getNode(const std::string& name) const;
    PropertyVector* getVector(const std::string& name) const;

    // Typed reads of a child value; `fallback` when there is no value child of that name.
    using AbstractProperty::getBool;
    using AbstractProperty::getDouble;
    using AbstractProperty::getFloat;
    using AbstractProperty::getInt;
    using AbstractProperty::getString;
    using AbstractProperty::getWString;
    int getInt(const std::string& name, int fallback = 0) const;
    float getFloat(const std::string& name, float fallback = 0.0f) const;
    double getDouble(const std::string& name, double fallback = 0.0) const;
    bool getBool(const std::string& name, bool fallback = false) const;
    std::string getString(const std::string& name, const std::string& fallback = std::string()) const;
    WString getWString(const std::string& name, const WString& fallback = WString()) const;

    // The index of the first keyword equal to the child's narrow text;
    // `fallback` when the child is missing or matches none.
    int getKeywordIndex(const std::string& name, const char* const* keywords, int count, int fallback) const;

    // Every child including untyped values, in the name map's order (the
    // order in which the names were added; a replaced child moves to the end).
    std::vector<AbstractProperty*> getNamedChildren() const;
    int getNamedCount() const { return static_cast<int>(namedChildren.size()); }

    using AbstractProperty::resolveTemplates;
    void resolveTemplates(TemplateWalk& walk) override;

    static PropertyNode* nullObject();

protected:
    PropertyNode(int kind, const std::string& name, const std::string& typeName);

private:
    struct NamedChild {
        std::string name;
        RefPointer<AbstractProperty> entry;
    };
    using NamedList = std::list<NamedChild>;

    // Removes a child of that name from the map and from the ordered list.
    void removeNamed(const std::string& name);
    // Copies the template's children that this node lacks (shared, not copied).
    void inheritFrom(PropertyNode* templateNode, const std::string& templateName);

    NamedList namedChildren;
    std::unordered_map<std::string, NamedList::iterator> childIndex;
    // Elements appended by add(), which the name map does not know; while
    // there are none, replacing a name never has to search the list.
    int unindexedCount = 0;
};

// The empty node that typed lookups give for a missing entry.
#define DUMMY_NODE (PropertyNode::nullObject())
