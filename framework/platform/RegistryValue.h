#pragma once

#include <cstdint>
#include <memory>
#include <string>

class SettingsStore;

// One named value of the game's settings store (in place of a registry
// value). Built from a path relative to the game's key: "/" and "\" both
// separate, a trailing separator is dropped, the last part is the value name
// and the rest the key path ("qpx/cdgfilename").
class RegistryValue {
public:
    RegistryValue(const std::string& fullPath, std::shared_ptr<SettingsStore> store);
    virtual ~RegistryValue() = default;

    const std::string& getKeyPath() const { return keyPath; }
    const std::string& getValueName() const { return valueName; }
    // The value was found by the last read or kept by the last write.
    bool exists() const { return found; }

protected:
    std::shared_ptr<SettingsStore> store;
    std::string keyPath;
    std::string valueName;
    bool found = false;
};

// A 32-bit number; reading a missing value (or one of another type) gives the default.
class RegistryDWord : public RegistryValue {
public:
    RegistryDWord(const std::string& fullPath, uint32_t defaultValue,
                  std::shared_ptr<SettingsStore> store = nullptr);
    uint32_t read();
    bool write(uint32_t newValue);
    uint32_t get() const { return value; }

private:
    uint32_t value;
    uint32_t defaultValue;
};

// A text value; reading a missing value (or one of another type) gives the default.
class RegistryString : public RegistryValue {
public:
    RegistryString(const std::string& fullPath, const std::string& defaultValue,
                   std::shared_ptr<SettingsStore> store = nullptr);
    std::string read();
    bool write(const std::string& newValue);
    const std::string& get() const { return value; }

private:
    std::string value;
    std::string defaultValue;
};

// The settings store of the running game ("GAME_ID"), opened through the host.
std::shared_ptr<SettingsStore> openGameSettingsStore();
