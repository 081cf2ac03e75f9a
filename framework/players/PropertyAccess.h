#pragma once

#include <map>
#include <string>

#include "framework/core/PropertyNode.h"
#include "framework/core/PropertyVector.h"
#include "framework/core/RefPointer.h"
#include "framework/core/StringUtils.h"

class AbstractProperty;
class PropertyValue;

// Small helpers shared by every saved form (profiles, scores, saved games):
// the lookups fall back to the null objects, so a damaged file reads as
// zeros and empty texts and never as a null pointer.

// The entry as a node, vector or value; the matching null object otherwise.
PropertyNode* nodeOrDummy(AbstractProperty* entry);
PropertyVector* vectorOrDummy(AbstractProperty* entry);
PropertyValue* valueOrDummy(AbstractProperty* entry);

// The named child of `node` (which may be null or of another kind), typed.
PropertyNode* childNode(AbstractProperty* node, const std::string& name);
PropertyVector* childVector(AbstractProperty* node, const std::string& name);
PropertyValue* childValue(AbstractProperty* node, const std::string& name);
// True when `node` is a node with a direct child of that name.
bool hasChildNamed(AbstractProperty* node, const std::string& name);

int childInt(AbstractProperty* node, const std::string& name);
bool childBool(AbstractProperty* node, const std::string& name);
std::string childString(AbstractProperty* node, const std::string& name);
WString childWideString(AbstractProperty* node, const std::string& name);
// How a number read with childIntInRange() turned out.
enum class CheckedNumber { Missing, Valid, Invalid };
// Reads the child as a whole decimal integer (blanks around it allowed)
// within [low, high] into `value`. Invalid for any other text: "nan", "1e308",
// "12abc", a number out of the range; `value` is then left as it was.
CheckedNumber childIntInRange(AbstractProperty* node, const std::string& name, long long low, long long high,
                              int& value);
// The same for a text on its own.
bool parseIntInRange(const std::string& text, long long low, long long high, int& value);
// The text scanned as "%f"; 0 when it does not start with a number.
float childFloatScanned(AbstractProperty* node, const std::string& name);

// Number of elements of a vector and the element at an index (null outside).
int elementCount(PropertyVector* vector);
AbstractProperty* elementAt(PropertyVector* vector, int index);
// Calls `visit` with each element of the child vector `name`, in file order;
// nothing when there is no such vector.
template <class Visit>
void forEachElement(AbstractProperty* node, const std::string& name, Visit&& visit)
{
    PropertyVector* list = childVector(node, name);
    for (int i = 0; i < elementCount(list); ++i)
        visit(elementAt(list, i));
}

// Untyped values (XML attributes of the node's element).
void addUntypedInt(PropertyNode* node, const std::string& name, int value);
void addUntypedString(PropertyNode* node, const std::string& name, const std::string& value);
void addUntypedWideString(PropertyNode* node, const std::string& name, const WString& value);
void addUntypedBool(PropertyNode* node, const std::string& name, bool value);
// Written with "%f" (six decimals), the form of the saved play records.
void addUntypedFloatFixed(PropertyNode* node, const std::string& name, float value);
// Written in the property tree's float form (trailing zeros removed).
void addUntypedFloat(PropertyNode* node, const std::string& name, float value);
// Adds a vector `name` holding one node of type `typeName` per item, in
// order, each filled by `fill(node, item)`.
template <class Range, class Fill>
void addNodeVector(PropertyNode* node, const std::string& name, const std::string& typeName, const Range& items,
                   Fill&& fill)
{
    RefPointer<PropertyVector> list(new PropertyVector(name));
    for (const auto& item : items) {
        RefPointer<PropertyNode> element(new PropertyNode("", typeName));
        fill(element.get(), item);
        list->add(element.get());
    }
    node->addChild(list.get());
}
// Adds the map as a vector `name` of "Entry" nodes with untyped "key" and "val".
void addEntryVector(PropertyNode* node, const std::string& name, const std::map<int, int>& entries);
void addEntryVector(PropertyNode* node, const std::string& name, const std::map<std::string, int>& entries);

// "%f" text of a float, as the saved records write it.
std::string formatFixedFloat(float value);
// The text scanned as "%f"; 0 when nothing can be read.
float scanFloat(const std::string& text);

// Lookup-or-insert reads of the global typed properties (0, 0.0 or empty
// text when the key is missing or there is no store yet).
int basicInt(const std::string& key);
float basicFloat(const std::string& key);
std::string basicString(const std::string& key);
WString basicText(const std::string& key);
