#include "host/SettingsStore.h"

#include <algorithm>
#include <cstdlib>
#include <tinyxml.h>
#include <unordered_set>

#include "host/AtomicFile.h"
#include "host/Folders.h"
#include "host/HostLog.h"
#include "host/XmlParseLock.h"
#include "host/XmlShape.h"

namespace {

// A settings file holds a few dozen values; anything far larger is not one.
constexpr size_t kMaxSettingsFileSize = 1 << 20;

// A settings file is one flat list of values with four attributes each.
constexpr int kMaxSettingsNesting = 16;
constexpr int kMaxSettingsAttributes = 16;

std::string lowerAscii(std::string text)
{
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + 32);
    }
    return text;
}

bool equalsIgnoringCase(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i] >= 'A' && a[i] <= 'Z' ? static_cast<char>(a[i] + 32) : a[i];
        char y = b[i] >= 'A' && b[i] <= 'Z' ? static_cast<char>(b[i] + 32) : b[i];
        if (x != y)
            return false;
    }
    return true;
}

const char* typeName(SettingType type)
{
    switch (type) {
    case SettingType::String: return "string";
    case SettingType::Number: return "number";
    case SettingType::Other: return "other";
    }
    return "other";
}

std::string toHex(const std::vector<uint8_t>& bytes)
{
    static const char digits[] = "0123456789abcdef";
    std::string text;
    for (uint8_t byte : bytes) {
        text += digits[byte >> 4];
        text += digits[byte & 15];
    }
    return text;
}

bool fromHex(const std::string& text, std::vector<uint8_t>& bytes)
{
    auto digit = [](char c) -> int {
        if (c >= '0' && c <= '9')
            return c - '0';
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        if (c >= 'A' && c <= 'F')
            return c - 'A' + 10;
        return -1;
    };
    if (text.size() % 2 != 0)
        return false;
    bytes.clear();
    for (size_t i = 0; i < text.size(); i += 2) {
        int high = digit(text[i]);
        int low = digit(text[i + 1]);
        if (high < 0 || low < 0)
            return false;
        bytes.push_back(static_cast<uint8_t>(high * 16 + low));
    }
    return true;
}

bool parseNumber(const std::string& text, uint32_t& number)
{
    if (text.empty() || text.size() > 10 || text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    unsigned long long value = std::strtoull(text.c_str(), nullptr, 10);
    if (value > 0xFFFFFFFFULL)
        return false;
    number = static_cast<uint32_t>(value);
    return true;
}

// A game id becomes one folder name: separators and a leading dot are replaced.
std::string safeFolderName(const std::string& name)
{
    std::string safe;
    for (char c : name)
        safe += (c == '/' || c == '\\' || c == '\0') ? '_' : c;
    if (safe.empty() || safe[0] == '.')
        safe.insert(safe.begin(), '_');
    return safe;
}

} // namespace

std::string SettingsStore::normalizeKeyPath(const std::string& keyPath)
{
    std::string result;
    for (char c : keyPath) {
        char separatorOrChar = c == '\\' ? '/' : c;
        if (separatorOrChar == '/' && (result.empty() || result.back() == '/'))
            continue;
        result += separatorOrChar;
    }
    if (!result.empty() && result.back() == '/')
        result.pop_back();
    return result;
}

std::vector<SettingsStore::Entry>::const_iterator SettingsStore::find(const std::string& keyPath,
                                                                      const std::string& name) const
{
    std::string key = normalizeKeyPath(keyPath);
    return std::find_if(entries.begin(), entries.end(), [&](const Entry& entry) {
        return equalsIgnoringCase(entry.keyPath, key) && equalsIgnoringCase(entry.name, name);
    });
}

bool SettingsStore::readValue(const std::string& keyPath, const std::string& name, SettingValue& value) const
{
    auto found = find(keyPath, name);
    if (found == entries.end())
        return false;
    value = found->value;
    return true;
}

bool SettingsStore::writeValue(const std::string& keyPath, const std::string& name, const SettingValue& value)
{
    return writeValues(keyPath, {NamedValue(name, value)});
}

bool SettingsStore::writeValues(const std::string& keyPath, const std::vector<NamedValue>& values)
{
    std::vector<Entry> before = entries;
    bool changed = false;
    for (const NamedValue& named : values) {
        auto found = find(keyPath, named.first);
        // What is stored already is not written again: each write of the file
        // is flushed to disk, which costs the start-up and the shut-down dearly.
        if (found != entries.end() && found->value == named.second)
            continue;
        if (found != entries.end())
            entries[static_cast<size_t>(found - entries.begin())].value = named.second;
        else
            entries.push_back(Entry{normalizeKeyPath(keyPath), named.first, named.second});
        changed = true;
    }
    if (!changed || commit())
        return true;
    entries = std::move(before);
    return false;
}

bool SettingsStore::removeValue(const std::string& keyPath, const std::string& name)
{
    auto found = find(keyPath, name);
    if (found == entries.end())
        return false;
    std::vector<Entry> before = entries;
    entries.erase(found);
    if (commit())
        return true;
    entries = std::move(before);
    return false;
}

std::vector<SettingsStore::NamedValue> SettingsStore::listValues(const std::string& keyPath) const
{
    std::string key = normalizeKeyPath(keyPath);
    std::vector<NamedValue> values;
    for (const Entry& entry : entries)
        if (equalsIgnoringCase(entry.keyPath, key))
            values.emplace_back(entry.name, entry.value);
    return values;
}

bool SettingsStore::keyExists(const std::string& keyPath) const
{
    std::string key = normalizeKeyPath(keyPath);
    std::string prefix = key + "/";
    for (const Entry& entry : entries) {
        if (equalsIgnoringCase(entry.keyPath, key) || key.empty())
            return true;
        if (entry.keyPath.size() > prefix.size() && equalsIgnoringCase(entry.keyPath.substr(0, prefix.size()), prefix))
            return true;
    }
    return false;
}

uint32_t SettingsStore::readNumber(const std::string& keyPath, const std::string& name, uint32_t defaultValue) const
{
    SettingValue value;
    if (!readValue(keyPath, name, value) || value.type != SettingType::Number)
        return defaultValue;
    return value.number;
}

std::string SettingsStore::readString(const std::string& keyPath, const std::string& name,
                                      const std::string& defaultValue) const
{
    SettingValue value;
    if (!readValue(keyPath, name, value) || value.type != SettingType::String)
        return defaultValue;
    return value.text;
}

bool SettingsStore::writeNumber(const std::string& keyPath, const std::string& name, uint32_t number)
{
    return writeValue(keyPath, name, SettingValue::ofNumber(number));
}

bool SettingsStore::writeString(const std::string& keyPath, const std::string& name, const std::string& text)
{
    return writeValue(keyPath, name, SettingValue::ofString(text));
}

FileSettingsStore::FileSettingsStore(std::string filePath) : filePath(std::move(filePath))
{
    reload();
}

std::string FileSettingsStore::settingsFileFor(const std::string& gameId)
{
    return makerFolderUnder(getConfigHome()) + "/" + safeFolderName(gameId) + "/settings.xml";
}

void FileSettingsStore::reload()
{
    replaceEntries({});
    if (!pathExists(filePath))
        return;

    // The file is read here rather than by TinyXML, which trusts the file's
    // size blindly (a folder in its place makes it allocate without bound).
    std::string text;
    std::string reason;
    TiXmlDocument document;
    bool readable = readWholeFile(filePath, text, kMaxSettingsFileSize, &reason);
    if (readable) {
        // Refused before parsing: nesting deep enough to exhaust the parser's
        // stack, and so many attributes that its duplicate search takes minutes.
        const XmlShape shape = measureXmlShape(text.data(), text.size());
        if (shape.deepestNesting > kMaxSettingsNesting || shape.mostAttributes > kMaxSettingsAttributes) {
            readable = false;
            reason = "nested too deeply or too many attributes on one element";
        }
    }
    if (readable) {
        {
            std::lock_guard<std::mutex> lock(xmlParseMutex());
            TiXmlBase::SetCondenseWhiteSpace(true);
            document.Parse(text.c_str(), nullptr, TIXML_ENCODING_UTF8);
        }
        readable = !document.Error() && document.RootElement() &&
                   std::string(document.RootElement()->Value()) == "settings";
        reason = document.Error() ? document.ErrorDesc() : "not a settings file";
    }
    if (!readable && !isRegularFile(filePath)) {
        hostLog("settings: cannot read %s (%s)", filePath.c_str(), reason.c_str());
        return;
    }
    if (!readable) {
        // Keep the damaged file for inspection; the next save starts afresh.
        std::string aside = filePath + ".bak-" + std::to_string(getUnixTime());
        hostLog("settings: cannot read %s (%s); moving it aside to %s", filePath.c_str(), reason.c_str(),
                aside.c_str());
        renamePath(filePath, aside);
        return;
    }

    std::vector<Entry> loaded;
    std::unordered_set<std::string> seen;
    for (TiXmlElement* element = document.RootElement()->FirstChildElement("value"); element;
         element = element->NextSiblingElement("value")) {
        const char* key = element->Attribute("key");
        const char* name = element->Attribute("name");
        const char* type = element->Attribute("type");
        const char* data = element->Attribute("data");
        if (!name || !type || !data) {
            hostLog("settings: %s: skipped a value without name, type or data", filePath.c_str());
            continue;
        }
        Entry entry{normalizeKeyPath(key ? key : ""), name, SettingValue()};
        std::string typeText = type;
        bool valid = true;
        if (typeText == "string") {
            entry.value = SettingValue::ofString(data);
        } else if (typeText == "number") {
            entry.value.type = SettingType::Number;
            valid = parseNumber(data, entry.value.number);
        } else if (typeText == "other") {
            entry.value.type = SettingType::Other;
            valid = fromHex(data, entry.value.bytes);
        } else {
            valid = false;
        }
        if (!valid) {
            hostLog("settings: %s: skipped the malformed value \"%s\"", filePath.c_str(), name);
            continue;
        }
        // The first of a key and name (in any case) counts.
        if (seen.insert(lowerAscii(entry.keyPath) + '\n' + lowerAscii(entry.name)).second)
            loaded.push_back(std::move(entry));
    }
    replaceEntries(std::move(loaded));
}

bool FileSettingsStore::commit()
{
    TiXmlDocument document;
    document.LinkEndChild(new TiXmlDeclaration("1.0", "UTF-8", ""));
    auto* root = new TiXmlElement("settings");
    document.LinkEndChild(root);
    for (const Entry& entry : getEntries()) {
        auto* element = new TiXmlElement("value");
        element->SetAttribute("key", entry.keyPath);
        element->SetAttribute("name", entry.name);
        element->SetAttribute("type", typeName(entry.value.type));
        switch (entry.value.type) {
        case SettingType::String: element->SetAttribute("data", entry.value.text); break;
        case SettingType::Number: element->SetAttribute("data", std::to_string(entry.value.number)); break;
        case SettingType::Other: element->SetAttribute("data", toHex(entry.value.bytes)); break;
        }
        root->LinkEndChild(element);
    }
    TiXmlPrinter printer;
    printer.SetIndent("  ");
    document.Accept(&printer);

    std::string folder = filePath.substr(0, filePath.find_last_of('/'));
    std::string error;
    if (!makeDirectoryTree(folder)) {
        hostLog("settings: cannot create the folder %s", folder.c_str());
        return false;
    }
    if (!writeFileAtomically(filePath, printer.Str(), &error)) {
        hostLog("settings: %s", error.c_str());
        return false;
    }
    return true;
}
