#pragma once

#include <string>
#include <vector>

#include "framework/core/AbstractProperty.h"
#include "framework/core/RefPointer.h"

// An ordered list of properties (type name "Vector"); unnamed and repeated
// elements are allowed.
class PropertyVector : public AbstractProperty {
    TT_CLASS_RECORD(PropertyVector)
public:
    using Elements = std::vector<RefPointer<AbstractProperty>>;

    explicit PropertyVector(const std::string& name = std::string());

    // Appends and takes a reference; the null objects drop the entry.
    virtual void add(AbstractProperty* entry);
    // Appends an unnamed "Boolean" value.
    virtual void addBoolean(bool value);
    // Removes every element.
    virtual void clear();

    int getCount() const { return static_cast<int>(elements.size()); }
    bool isEmpty() const { return elements.empty(); }
    // Null when the index is negative or not below the count.
    AbstractProperty* getAt(int index) const;
    // The element as the wanted kind, or the null object; never null.
    PropertyValue* getValueAt(int index) const;
    PropertyNode* getNodeAt(int index) const;
    PropertyVector* getVectorAt(int index) const;

    const Elements& getElements() const { return elements; }
    Elements::const_iterator begin() const { return elements.begin(); }
    Elements::const_iterator end() const { return elements.end(); }

    using AbstractProperty::resolveTemplates;
    void resolveTemplates(TemplateWalk& walk) override;

    static PropertyVector* nullObject();

protected:
    PropertyVector(int kind, const std::string& name, const std::string& typeName);
    // Removes the last element that is `entry` (by identity); false when absent.
    bool removeElement(const AbstractProperty* entry);

    Elements elements;
};

// The empty vector that typed lookups give for a missing entry.
#define DUMMY_VECTOR (PropertyVector::nullObject())
