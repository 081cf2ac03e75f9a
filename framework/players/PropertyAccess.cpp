#include "framework/players/PropertyAccess.h"

#include <climits>
#include <cstdio>

#include "framework/core/BasicProperties.h"
#include "framework/core/PropertyNode.h"
#include "framework/core/PropertyValue.h"
#include "framework/core/PropertyVector.h"
#include "framework/core/RefPointer.h"

PropertyNode* nodeOrDummy(AbstractProperty* entry)
{
    return entry ? entry->asNode() : DUMMY_NODE;
}

PropertyVector* vectorOrDummy(AbstractProperty* entry)
{
    return entry ? entry->asVector() : DUMMY_VECTOR;
}

PropertyValue* valueOrDummy(AbstractProperty* entry)
{
    return entry ? entry->asValue() : DUMMY_VALUE;
}

PropertyNode* childNode(AbstractProperty* node, const std::string& name)
{
    return nodeOrDummy(node)->getNode(name);
}

PropertyVector* childVector(AbstractProperty* node, const std::string& name)
{
    return nodeOrDummy(node)->getVector(name);
}

PropertyValue* childValue(AbstractProperty* node, const std::string& name)
{
    return nodeOrDummy(node)->getValue(name);
}

bool hasChildNamed(AbstractProperty* node, const std::string& name)
{
    return nodeOrDummy(node)->getChild(name) != nullptr;
}

int childInt(AbstractProperty* node, const std::string& name)
{
    return childValue(node, name)->toInt();
}

bool parseIntInRange(const std::string& text, long long low, long long high, int& value)
{
    size_t begin = text.find_first_not_of(" \t\r\n");
    const size_t end = text.find_last_not_of(" \t\r\n");
    if (begin == std::string::npos)
        return false;
    bool negative = false;
    if (text[begin] == '-' || text[begin] == '+') {
        negative = text[begin] == '-';
        ++begin;
    }
    if (begin > end)
        return false;
    // Accumulated with a bound well above any int, so no digit count overflows.
    long long magnitude = 0;
    for (size_t i = begin; i <= end; ++i) {
        const char c = text[i];
        if (c < '0' || c > '9')
            return false;
        magnitude = magnitude * 10 + (c - '0');
        if (magnitude > (1LL << 40))
            return false;
    }
    const long long number = negative ? -magnitude : magnitude;
    if (number < low || number > high || number < INT_MIN || number > INT_MAX)
        return false;
    value = static_cast<int>(number);
    return true;
}

CheckedNumber childIntInRange(AbstractProperty* node, const std::string& name, long long low, long long high,
                              int& value)
{
    if (!hasChildNamed(node, name))
        return CheckedNumber::Missing;
    return parseIntInRange(childString(node, name), low, high, value) ? CheckedNumber::Valid
                                                                       : CheckedNumber::Invalid;
}

bool childBool(AbstractProperty* node, const std::string& name)
{
    return childValue(node, name)->toBool();
}

std::string childString(AbstractProperty* node, const std::string& name)
{
    std::string text;
    childValue(node, name)->toString(text);
    return text;
}

WString childWideString(AbstractProperty* node, const std::string& name)
{
    return childValue(node, name)->getValue();
}

float childFloatScanned(AbstractProperty* node, const std::string& name)
{
    return childValue(node, name)->toFloat();
}

int elementCount(PropertyVector* vector)
{
    return vector ? vector->getCount() : 0;
}

AbstractProperty* elementAt(PropertyVector* vector, int index)
{
    AbstractProperty* entry = vector ? vector->getAt(index) : nullptr;
    return entry ? entry : DUMMY_NODE;
}

void addUntypedInt(PropertyNode* node, const std::string& name, int value)
{
    nodeOrDummy(node)->addChild(new PropertyValue(name, value, true));
}

void addUntypedString(PropertyNode* node, const std::string& name, const std::string& value)
{
    nodeOrDummy(node)->addChild(new PropertyValue(name, value, true));
}

void addUntypedWideString(PropertyNode* node, const std::string& name, const WString& value)
{
    nodeOrDummy(node)->addChild(new PropertyValue(name, value, true));
}

void addUntypedBool(PropertyNode* node, const std::string& name, bool value)
{
    nodeOrDummy(node)->setBoolean(name, value, true);
}

void addUntypedFloatFixed(PropertyNode* node, const std::string& name, float value)
{
    addUntypedString(node, name, formatFixedFloat(value));
}

void addUntypedFloat(PropertyNode* node, const std::string& name, float value)
{
    nodeOrDummy(node)->addChild(new PropertyValue(name, value, true));
}

namespace {

void addUntypedKey(PropertyNode* entry, int key) { addUntypedInt(entry, "key", key); }
void addUntypedKey(PropertyNode* entry, const std::string& key) { addUntypedString(entry, "key", key); }

template <class Key>
void addEntries(PropertyNode* node, const std::string& name, const std::map<Key, int>& entries)
{
    addNodeVector(node, name, "Entry", entries, [](PropertyNode* entry, const std::pair<const Key, int>& pair) {
        addUntypedKey(entry, pair.first);
        addUntypedInt(entry, "val", pair.second);
    });
}

} // namespace

void addEntryVector(PropertyNode* node, const std::string& name, const std::map<int, int>& entries)
{
    addEntries(node, name, entries);
}

void addEntryVector(PropertyNode* node, const std::string& name, const std::map<std::string, int>& entries)
{
    addEntries(node, name, entries);
}

std::string formatFixedFloat(float value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%f", static_cast<double>(value));
    return text;
}

float scanFloat(const std::string& text)
{
    return PropertyValue::parseFloat(toWideString(text));
}

int basicInt(const std::string& key)
{
    return BasicProperties::instance ? BasicProperties::instance->getInt(key) : 0;
}

float basicFloat(const std::string& key)
{
    return BasicProperties::instance ? BasicProperties::instance->getFloat(key) : 0.0f;
}

std::string basicString(const std::string& key)
{
    return BasicProperties::instance ? BasicProperties::instance->getString(key) : std::string();
}

WString basicText(const std::string& key)
{
    return BasicProperties::instance ? BasicProperties::instance->getText(key) : WString();
}
