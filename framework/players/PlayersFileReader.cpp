#include "framework/players/PlayersFileReader.h"

#include <cctype>
#include <string_view>

#include "framework/core/Log.h"
#include "framework/core/PropertyStore.h"
#include "framework/core/PropertyVector.h"
#include "framework/players/PropertyAccess.h"
#include "framework/resources/FileCipher.h"
#include "framework/resources/FileModes.h"
#include "host/Folders.h"

namespace {

enum class TagKind { Open, Close, Empty, Skip, Broken };

struct Tag {
    TagKind kind = TagKind::Skip;
    size_t begin = 0;
    size_t end = 0; // one past the tag
    std::string_view name;
};

// The next piece of markup at or after `pos`; false at the end of the text or
// inside a tag cut off by it. The files we write escape "<" and ">" in values,
// so quotes are not followed: a removed quote then spoils one tag, not the
// rest of the file. A "<" before the tag's ">" marks the tag as broken and the
// scan goes on from that "<".
bool nextTag(const std::string& text, size_t pos, Tag& tag)
{
    const size_t open = text.find('<', pos);
    if (open == std::string::npos)
        return false;
    tag = Tag();
    tag.begin = open;
    for (const auto& [start, finish] : {std::pair<const char*, const char*>("<!--", "-->"), {"<![CDATA[", "]]>"}}) {
        if (text.compare(open, std::char_traits<char>::length(start), start) == 0) {
            const size_t close = text.find(finish, open);
            if (close == std::string::npos)
                return false;
            tag.end = close + std::char_traits<char>::length(finish);
            return true;
        }
    }
    const size_t stop = text.find_first_of("<>", open + 1);
    if (stop == std::string::npos)
        return false;
    if (text[stop] == '<') {
        tag.kind = TagKind::Broken;
        tag.end = stop;
        return true;
    }
    tag.end = stop + 1;
    const char second = text[open + 1];
    if (second == '?' || second == '!')
        return true;
    const bool closing = second == '/';
    size_t nameEnd = open + (closing ? 2 : 1);
    const size_t nameBegin = nameEnd;
    while (nameEnd < stop && !std::isspace(static_cast<unsigned char>(text[nameEnd])) && text[nameEnd] != '/')
        ++nameEnd;
    tag.name = std::string_view(text).substr(nameBegin, nameEnd - nameBegin);
    tag.kind = closing ? TagKind::Close : (text[stop - 1] == '/' ? TagKind::Empty : TagKind::Open);
    return true;
}

bool tagHasId(const std::string& text, const Tag& tag, std::string_view id)
{
    const std::string_view body = std::string_view(text).substr(tag.begin, tag.end - tag.begin);
    const std::string wanted = "id=\"" + std::string(id) + "\"";
    return body.find(wanted) != std::string_view::npos;
}

// The players element's own attributes, read from its opening tag alone.
RefPointer<PropertyNode> readHeader(const std::string& text, const Tag& tag)
{
    std::string element = text.substr(tag.begin, tag.end - tag.begin);
    if (tag.kind == TagKind::Open)
        element.insert(element.size() - 1, "/");
    const std::string wrapped = "<root>" + element + "</root>";
    RefPointer<PropertyStore> store(new PropertyStore());
    if (!store->loadFromBuffer(wrapped.data(), wrapped.size(), "players file header"))
        return RefPointer<PropertyNode>();
    return RefPointer<PropertyNode>(store->getNode("players"));
}

// One complete entry parsed on its own; null when it does not parse.
RefPointer<AbstractProperty> readEntry(const std::string& text, size_t begin, size_t end)
{
    const std::string wrapped = "<root><Vector id=\"e\">" + text.substr(begin, end - begin) + "</Vector></root>";
    RefPointer<PropertyStore> store(new PropertyStore());
    if (!store->loadFromBuffer(wrapped.data(), wrapped.size(), "players file entry"))
        return RefPointer<AbstractProperty>();
    PropertyVector* vector = store->getVector("e");
    if (!vector || vector->getCount() != 1)
        return RefPointer<AbstractProperty>();
    return RefPointer<AbstractProperty>(vector->getAt(0));
}

} // namespace

RefPointer<PropertyNode> recoverPlayerEntries(const std::string& text, int& unreadableEntries)
{
    unreadableEntries = 0;
    RefPointer<PropertyNode> header;
    RefPointer<PropertyVector> entries(new PropertyVector("playernames"));
    auto addEntry = [&](size_t begin, size_t end) {
        RefPointer<AbstractProperty> entry = readEntry(text, begin, end);
        if (entry)
            entries->add(entry.get());
        else
            ++unreadableEntries;
    };

    int depth = 0;
    int vectorDepth = -1;
    bool inEntry = false;
    size_t entryBegin = 0;
    std::string entryTag;
    bool listEnded = false;
    size_t pos = 0;
    Tag tag;
    for (; nextTag(text, pos, tag); pos = tag.end) {
        if (tag.kind == TagKind::Skip || tag.kind == TagKind::Broken)
            continue;
        if (vectorDepth < 0) {
            if (tag.kind == TagKind::Open) {
                ++depth;
                if (!header && tagHasId(text, tag, "players")) {
                    header = readHeader(text, tag);
                    if (!header)
                        break;
                } else if (header && tag.name == "Vector" && tagHasId(text, tag, "playernames")) {
                    vectorDepth = depth;
                }
            } else if (tag.kind == TagKind::Close) {
                --depth;
            }
            continue;
        }
        const bool opens = tag.kind == TagKind::Open || tag.kind == TagKind::Empty;
        if (!inEntry) {
            if (tag.kind == TagKind::Close) {
                listEnded = true;
                break;
            }
            if (entryTag.empty())
                entryTag = std::string(tag.name);
        } else if (opens && tag.name == entryTag) {
            // Every entry has the same tag, and none holds another: the
            // entry before this one never closed.
            ++unreadableEntries;
            inEntry = false;
        }
        if (!inEntry) {
            if (tag.kind == TagKind::Empty) {
                addEntry(tag.begin, tag.end);
            } else if (tag.kind == TagKind::Open) {
                inEntry = true;
                entryBegin = tag.begin;
                depth = vectorDepth + 1;
            }
            continue;
        }
        if (tag.kind == TagKind::Open) {
            ++depth;
        } else if (tag.kind == TagKind::Close && --depth == vectorDepth) {
            inEntry = false;
            addEntry(entryBegin, tag.end);
        }
    }
    // A list cut off between two entries may have lost the ones that
    // followed: that counts as one unreadable entry, unless the cut fell in
    // the list's own end tag.
    const size_t rest = text.find('<', pos);
    if (!inEntry && !listEnded && vectorDepth >= 0)
        listEnded = rest != std::string::npos && text.compare(rest, 2, "</") == 0;
    if (inEntry || !listEnded)
        ++unreadableEntries;
    if (!header)
        return header;
    header->addChild(entries.get());
    return header;
}

PlayersFileReading readPlayersFile(const std::string& storedPath, int fileMode, const std::string& version,
                                   size_t maxBytes)
{
    PlayersFileReading reading;
    if (!isRegularFile(storedPath))
        return reading;
    std::string text;
    if (!readWholeFile(storedPath, text, maxBytes, &reading.reason)) {
        reading.outcome = PlayersFileReading::Outcome::Unreadable;
        return reading;
    }
    if (text.empty()) {
        reading.outcome = PlayersFileReading::Outcome::Unreadable;
        reading.reason = storedPath + ": empty";
        return reading;
    }
    const int mode = effectiveFileMode(fileMode);
    if (mode == FILE_MODE_ENCRYPT_FILE || mode == FILE_MODE_ENCRYPT_ZIP)
        applyFileCipher(&text[0], text.size());

    RefPointer<PropertyStore> store(new PropertyStore());
    if (store->loadFromBuffer(text.data(), text.size(), storedPath)) {
        reading.players = childNode(store.get(), "players");
        reading.outcome = PlayersFileReading::Outcome::Whole;
    } else {
        reading.reason = store->getLastError();
        reading.players = recoverPlayerEntries(text, reading.unreadableEntries);
        if (!reading.players) {
            reading.outcome = PlayersFileReading::Outcome::Unreadable;
            return reading;
        }
        reading.outcome = PlayersFileReading::Outcome::Partial;
    }
    const std::string fileVersion = childString(reading.players.get(), "version");
    if (fileVersion != version) {
        reading.outcome = PlayersFileReading::Outcome::OtherVersion;
        reading.reason = storedPath + ": version \"" + fileVersion + "\"";
        reading.players = RefPointer<PropertyNode>();
    }
    return reading;
}
