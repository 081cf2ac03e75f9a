#pragma once

#include <string>
#include <unordered_set>

#include "framework/core/BaseObject.h"
#include "framework/core/StringUtils.h"

class PropertyValue;
class PropertyVector;
class PropertyNode;
struct TemplateWalk;

// Base of the property tree: a named, typed entry that is a value, a node or
// a vector. Every typed read falls back to a null object, so chained lookups
// on missing entries go on and end in 0, false or empty text.
class AbstractProperty : public BaseObject {
    TT_CLASS_RECORD(AbstractProperty)
public:
    enum Kind { KIND_VALUE = 1, KIND_NODE = 2, KIND_VECTOR = 3 };

    int getKind() const { return kind; }
    bool isValue() const { return kind == KIND_VALUE; }
    bool isNode() const { return kind == KIND_NODE; }
    bool isVector() const { return kind == KIND_VECTOR; }
    // An untyped value is an XML attribute of its node.
    bool isUntypedValue() const { return kind == KIND_VALUE && typeName.empty(); }

    // The XML tag the entry was read from; empty for an untyped value.
    const std::string& getTypeName() const { return typeName; }
    // The XML "id" (or the attribute name of an untyped value); may be empty.
    const std::string& getName() const { return name; }
    void setName(const std::string& newName);
    void setTypeName(const std::string& newTypeName);

    // The null objects ignore every change.
    bool isNullObject() const { return nullObject; }

    // This entry seen as the wanted kind, or the matching null object; never null.
    PropertyValue* asValue();
    const PropertyValue* asValue() const;
    PropertyNode* asNode();
    const PropertyNode* asNode() const;
    PropertyVector* asVector();
    const PropertyVector* asVector() const;

    // Conversions of the value text, read on every call (0, false or empty
    // text when this entry is not a value).
    int getInt() const;
    float getFloat() const;
    double getDouble() const;
    bool getBool() const;
    std::string getString() const;
    const WString& getWString() const;

    // Applies "setup" template inheritance to this entry and everything below it.
    void resolveTemplates();
    virtual void resolveTemplates(TemplateWalk& walk);

protected:
    AbstractProperty(int kind, const std::string& name, const std::string& typeName);
    // Marks one of the three null objects; done once when they are built.
    void markNullObject() { nullObject = true; }

private:
    int kind;
    std::string typeName;
    std::string name;
    bool nullObject = false;
};

// The state of one template-resolution walk: the entries already walked, so
// that shared and self-referring templates are resolved once and never loop.
struct TemplateWalk {
    std::unordered_set<const AbstractProperty*> visited;
};
