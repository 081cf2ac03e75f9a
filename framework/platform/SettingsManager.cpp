#include "framework/platform/SettingsManager.h"

#include "framework/core/Log.h"
#include "framework/core/PropertyNode.h"
#include "framework/core/PropertyValue.h"
#include "framework/platform/RegistryValue.h"
#include "host/SettingsStore.h"

TT_DEFINE_RECORD(SettingsManager, &BaseObject::classRecord);

SettingsManager* SettingsManager::instance = nullptr;

void SettingsManager::create(IGameSettings* settings, std::shared_ptr<SettingsStore> store)
{
    destroyInstance();
    instance = new SettingsManager(settings, store ? std::move(store) : openGameSettingsStore());
    instance->addRef();
    instance->loadFromRegistry();
}

void SettingsManager::destroyInstance()
{
    if (!instance)
        return;
    SettingsManager* old = instance;
    instance = nullptr;
    old->release();
}

SettingsManager::SettingsManager(IGameSettings* settings, std::shared_ptr<SettingsStore> store)
    : settings(settings), store(std::move(store))
{
}

void SettingsManager::loadFromRegistry()
{
    if (!settings || !store)
        return;
    RefPointer<PropertyNode> node(new PropertyNode("GameSettngs", "Node"));
    for (const SettingsStore::NamedValue& named : store->listValues("")) {
        const SettingValue& value = named.second;
        if (value.type == SettingType::String)
            node->setWString(named.first, toWideString(value.text));
        else if (value.type == SettingType::Number)
            node->setInt(named.first, static_cast<int32_t>(value.number));
    }
    settings->readFrom(node.get());
}

bool SettingsManager::saveToRegistry()
{
    if (!settings || !store)
        return false;
    RefPointer<PropertyNode> node(new PropertyNode("GameSettngs", "Node"));
    settings->writeTo(node.get());
    // One write of the file for all of them: each write is flushed to disk,
    // which on a slow disk costs the shut-down a noticeable pause.
    std::vector<SettingsStore::NamedValue> values;
    for (const RefPointer<AbstractProperty>& child : *node) {
        const std::string& type = child->getTypeName();
        SettingValue value;
        if (type == "String" || type == "Text") {
            value = SettingValue::ofString(child->getString());
        } else if (type == "Boolean") {
            const std::string text = child->getString();
            value = SettingValue::ofNumber(text.empty() || text[0] == 'f' ? 0u : 1u);
        } else {
            value = SettingValue::ofNumber(static_cast<uint32_t>(child->getInt()));
        }
        values.emplace_back(child->getName(), std::move(value));
    }
    if (store->writeValues("", values))
        return true;
    LOG_ERROR("the settings could not be saved");
    return false;
}

void SettingsManager::writeTo(PropertyNode* node) const
{
    if (!node)
        return;
    if (settings)
        settings->writeTo(node);
    node->setBoolean("dontuseregistry", dontUseRegistry);
    node->setBoolean("shutdowncorrect", shutdownCorrect);
    node->setBoolean("fatalerror", fatalError);
}

void SettingsManager::readFrom(const PropertyNode* node)
{
    if (!node)
        return;
    if (settings)
        settings->readFrom(node);
    if (node->hasChild("dontuseregistry"))
        dontUseRegistry = IGameSettings::settingNumber(node, "dontuseregistry") != 0;
    if (node->hasChild("shutdowncorrect"))
        shutdownCorrect = IGameSettings::settingNumber(node, "shutdowncorrect") != 0;
    if (node->hasChild("fatalerror"))
        fatalError = IGameSettings::settingNumber(node, "fatalerror") != 0;
}
