#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

// The kinds of stored value: text, a 32-bit number, or raw bytes.
enum class SettingType { String, Number, Other };

// One stored value with its kind.
struct SettingValue {
    SettingType type = SettingType::String;
    std::string text;
    uint32_t number = 0;
    std::vector<uint8_t> bytes;

    static SettingValue ofString(std::string text)
    {
        SettingValue value;
        value.type = SettingType::String;
        value.text = std::move(text);
        return value;
    }
    static SettingValue ofNumber(uint32_t number)
    {
        SettingValue value;
        value.type = SettingType::Number;
        value.number = number;
        return value;
    }
    static SettingValue ofBytes(std::vector<uint8_t> bytes)
    {
        SettingValue value;
        value.type = SettingType::Other;
        value.bytes = std::move(bytes);
        return value;
    }
    friend bool operator==(const SettingValue& a, const SettingValue& b)
    {
        if (a.type != b.type)
            return false;
        switch (a.type) {
        case SettingType::String: return a.text == b.text;
        case SettingType::Number: return a.number == b.number;
        case SettingType::Other: return a.bytes == b.bytes;
        }
        return false;
    }
};

// Named, typed values grouped under key paths, in place of the registry key
// of a game. Key paths are relative to the game's key ("" is the key itself,
// "qpx" a subkey); "\" and "/" separate alike, and key paths and value names
// are matched without regard to ASCII case. This class keeps the values in
// memory (it is the fake of the tests); FileSettingsStore also keeps a file.
class SettingsStore {
public:
    using NamedValue = std::pair<std::string, SettingValue>;

    SettingsStore() = default;
    virtual ~SettingsStore() = default;
    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

    // False when the value does not exist; `value` is left alone then.
    bool readValue(const std::string& keyPath, const std::string& name, SettingValue& value) const;
    // Creates or overwrites the value. False when it could not be kept; the
    // store then holds what it held before.
    bool writeValue(const std::string& keyPath, const std::string& name, const SettingValue& value);
    // Creates or overwrites several values under one key path, kept in one
    // go (one write of the file). False when they could not be kept; the store
    // then holds what it held before.
    bool writeValues(const std::string& keyPath, const std::vector<NamedValue>& values);
    bool removeValue(const std::string& keyPath, const std::string& name);
    // The values directly under the key path, in the order they were first written.
    std::vector<NamedValue> listValues(const std::string& keyPath) const;
    bool keyExists(const std::string& keyPath) const;

    // Typed shorthands: a missing value or one of another type gives the default.
    uint32_t readNumber(const std::string& keyPath, const std::string& name, uint32_t defaultValue) const;
    std::string readString(const std::string& keyPath, const std::string& name, const std::string& defaultValue) const;
    bool writeNumber(const std::string& keyPath, const std::string& name, uint32_t number);
    bool writeString(const std::string& keyPath, const std::string& name, const std::string& text);

    // "\" becomes "/", repeated separators collapse, and outer ones go.
    static std::string normalizeKeyPath(const std::string& keyPath);

protected:
    struct Entry {
        std::string keyPath; // as first written, normalised
        std::string name;    // as first written
        SettingValue value;
    };

    // Called after every change with the new contents; a false answer undoes
    // the change. The memory store has nothing to keep.
    virtual bool commit() { return true; }
    const std::vector<Entry>& getEntries() const { return entries; }
    // Replaces everything without committing (used when a file is read).
    void replaceEntries(std::vector<Entry> newEntries) { entries = std::move(newEntries); }

private:
    std::vector<Entry>::const_iterator find(const std::string& keyPath, const std::string& name) const;

    std::vector<Entry> entries;
};

// The settings of one game in a small XML file, rewritten atomically after
// every change. An unreadable file is set aside as "<name>.bak-<time>" and the
// store starts empty.
class FileSettingsStore : public SettingsStore {
public:
    explicit FileSettingsStore(std::string filePath);

    const std::string& getFilePath() const { return filePath; }
    // Reads the file again, dropping what is in memory.
    void reload();

    // $XDG_CONFIG_HOME/Quillmark/Games/<gameId>/settings.xml (the id made safe as a file name).
    static std::string settingsFileFor(const std::string& gameId);

protected:
    bool commit() override;

private:
    std::string filePath;
};
