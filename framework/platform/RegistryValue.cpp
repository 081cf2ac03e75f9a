#include "framework/platform/RegistryValue.h"

#include "framework/core/BasicProperties.h"
#include "framework/core/Log.h"
#include "host/HostPlatform.h"
#include "host/SettingsStore.h"

std::shared_ptr<SettingsStore> openGameSettingsStore()
{
    return HostPlatform::current().openSettingsStore(getGameId());
}

RegistryValue::RegistryValue(const std::string& fullPath, std::shared_ptr<SettingsStore> givenStore)
    : store(givenStore ? std::move(givenStore) : openGameSettingsStore())
{
    std::string path = SettingsStore::normalizeKeyPath(fullPath);
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        valueName = path;
    } else {
        keyPath = path.substr(0, slash);
        valueName = path.substr(slash + 1);
    }
}

RegistryDWord::RegistryDWord(const std::string& fullPath, uint32_t defaultValue, std::shared_ptr<SettingsStore> store)
    : RegistryValue(fullPath, std::move(store)), value(defaultValue), defaultValue(defaultValue)
{
}

uint32_t RegistryDWord::read()
{
    SettingValue stored;
    found = store && store->readValue(keyPath, valueName, stored) && stored.type == SettingType::Number;
    value = found ? stored.number : defaultValue;
    return value;
}

bool RegistryDWord::write(uint32_t newValue)
{
    value = newValue;
    found = store && store->writeNumber(keyPath, valueName, newValue);
    if (!found)
        LOG_ERROR("setting \"" + keyPath + "/" + valueName + "\" could not be saved");
    return found;
}

RegistryString::RegistryString(const std::string& fullPath, const std::string& defaultValue,
                               std::shared_ptr<SettingsStore> store)
    : RegistryValue(fullPath, std::move(store)), value(defaultValue), defaultValue(defaultValue)
{
}

std::string RegistryString::read()
{
    SettingValue stored;
    found = store && store->readValue(keyPath, valueName, stored) && stored.type == SettingType::String;
    value = found ? stored.text : defaultValue;
    return value;
}

bool RegistryString::write(const std::string& newValue)
{
    value = newValue;
    found = store && store->writeString(keyPath, valueName, newValue);
    if (!found)
        LOG_ERROR("setting \"" + keyPath + "/" + valueName + "\" could not be saved");
    return found;
}
