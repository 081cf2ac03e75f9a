#include "framework/core/BasicProperties.h"

#include "framework/core/PropertyNode.h"
#include "framework/core/PropertyValue.h"
#include "framework/core/PropertyVector.h"

TT_DEFINE_RECORD(BasicProperties, &BaseObject::classRecord);

BasicProperties* BasicProperties::instance = nullptr;

namespace {

std::string cachedGameName;
std::string cachedGameId;

std::string cachedString(std::string& cache, const char* key)
{
    if (cache.empty() && BasicProperties::instance && BasicProperties::instance->hasString(key))
        cache = BasicProperties::instance->getString(key);
    return cache;
}

} // namespace

void BasicProperties::createInstance()
{
    destroyInstance();
    holdGlobalInstance(instance, new BasicProperties());
}

void BasicProperties::destroyInstance()
{
    releaseGlobalInstance(instance);
}

bool BasicProperties::merge(AbstractProperty* entry)
{
    if (!entry)
        return false;
    const std::string& type = entry->getTypeName();
    const std::string& key = entry->getName();
    if (type == "Integer")
        integers[key] = entry->getInt();
    else if (type == "Double")
        doubles[key] = entry->getDouble();
    else if (type == "Float")
        floats[key] = entry->getFloat();
    else if (type == "Boolean")
        booleans[key] = entry->getBool();
    else if (type == "String")
        strings[key] = entry->getString();
    else if (type == "Text")
        texts[key] = entry->getWString();
    else if (type == "Node")
        nodes[key] = entry->asNode();
    else if (type == "Vector")
        vectors[key] = entry->asVector();
    else
        return false;
    return true;
}

void BasicProperties::mergeChildren(const PropertyNode* node)
{
    if (!node)
        return;
    for (AbstractProperty* child : node->getNamedChildren())
        merge(child);
}

int BasicProperties::getInt(const std::string& key)
{
    return integers[key];
}

double BasicProperties::getDouble(const std::string& key)
{
    return doubles[key];
}

float BasicProperties::getFloat(const std::string& key)
{
    return floats[key];
}

bool BasicProperties::getBool(const std::string& key)
{
    return booleans[key];
}

const std::string& BasicProperties::getString(const std::string& key)
{
    return strings[key];
}

const WString& BasicProperties::getText(const std::string& key)
{
    return texts[key];
}

PropertyNode* BasicProperties::getNode(const std::string& key)
{
    PropertyNode* node = nodes[key].get();
    return node ? node : DUMMY_NODE;
}

PropertyVector* BasicProperties::getVector(const std::string& key)
{
    PropertyVector* vector = vectors[key].get();
    return vector ? vector : DUMMY_VECTOR;
}

PropertyNode* BasicProperties::findNode(const std::string& key) const
{
    auto found = nodes.find(key);
    if (found == nodes.end() || !found->second || found->second->isNullObject())
        return nullptr;
    return found->second.get();
}

void BasicProperties::setNode(const std::string& key, PropertyNode* node)
{
    nodes[key] = node;
}

void BasicProperties::setVector(const std::string& key, PropertyVector* vector)
{
    vectors[key] = vector;
}

std::string getGameName()
{
    return cachedString(cachedGameName, "GAME_NAME");
}

std::string getGameId()
{
    return cachedString(cachedGameId, "GAME_ID");
}

void resetGameIdentityCache()
{
    cachedGameName.clear();
    cachedGameId.clear();
}
