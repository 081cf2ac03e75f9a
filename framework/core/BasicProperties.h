#pragma once

#include <string>
#include <unordered_map>

#include "framework/core/BaseObject.h"
#include "framework/core/RefPointer.h"
#include "framework/core/StringUtils.h"

class AbstractProperty;
class PropertyNode;
class PropertyVector;

// The global store of typed properties by key, filled from the property
// files: one map per type ("Integer", "Double", "Float", "Boolean", "String",
// "Text", "Node", "Vector"). Reading a missing key yields the type's default
// and adds it, so that a later read finds the same value.
class BasicProperties : public BaseObject {
    TT_CLASS_RECORD(BasicProperties)
public:
    static BasicProperties* instance;
    // Creates the singleton and takes one reference; callers test `instance` first.
    static void createInstance();
    // Releases the singleton (shut-down and tests).
    static void destroyInstance();

    // Stores the entry in the map of its type name; false when the type has no map.
    bool merge(AbstractProperty* entry);
    // merge() for every child of the node, in its name map's order.
    void mergeChildren(const PropertyNode* node);

    // Lookup-or-insert reads.
    int getInt(const std::string& key);
    double getDouble(const std::string& key);
    float getFloat(const std::string& key);
    bool getBool(const std::string& key);
    const std::string& getString(const std::string& key);
    const WString& getText(const std::string& key);
    // DUMMY_NODE / DUMMY_VECTOR when the key holds no node or vector.
    PropertyNode* getNode(const std::string& key);
    PropertyVector* getVector(const std::string& key);

    // Reads that insert nothing: null when the key is absent.
    PropertyNode* findNode(const std::string& key) const;
    bool hasInt(const std::string& key) const { return integers.count(key) != 0; }
    bool hasFloat(const std::string& key) const { return floats.count(key) != 0; }
    bool hasDouble(const std::string& key) const { return doubles.count(key) != 0; }
    bool hasBool(const std::string& key) const { return booleans.count(key) != 0; }
    bool hasString(const std::string& key) const { return strings.count(key) != 0; }
    bool hasText(const std::string& key) const { return texts.count(key) != 0; }

    void setInt(const std::string& key, int value) { integers[key] = value; }
    void setDouble(const std::string& key, double value) { doubles[key] = value; }
    void setFloat(const std::string& key, float value) { floats[key] = value; }
    void setBool(const std::string& key, bool value) { booleans[key] = value; }
    void setString(const std::string& key, const std::string& value) { strings[key] = value; }
    void setText(const std::string& key, const WString& value) { texts[key] = value; }
    void setNode(const std::string& key, PropertyNode* node);
    void setVector(const std::string& key, PropertyVector* vector);

    // The maps themselves, for code that walks every key.
    const std::unordered_map<std::string, int>& getIntegers() const { return integers; }
    const std::unordered_map<std::string, float>& getFloats() const { return floats; }
    const std::unordered_map<std::string, WString>& getTexts() const { return texts; }

private:
    std::unordered_map<std::string, int> integers;
    std::unordered_map<std::string, double> doubles;
    std::unordered_map<std::string, float> floats;
    std::unordered_map<std::string, bool> booleans;
    std::unordered_map<std::string, std::string> strings;
    std::unordered_map<std::string, WString> texts;
    std::unordered_map<std::string, RefPointer<PropertyNode>> nodes;
    std::unordered_map<std::string, RefPointer<PropertyVector>> vectors;
};

// The "GAME_NAME" and "GAME_ID" strings, cached once found; empty (and asked
// again next time) while BasicProperties or the key is missing.
std::string getGameName();
std::string getGameId();
// Forgets the cached name and id (tests that load other files).
void resetGameIdentityCache();
