#include "game/data/TortelunePlayer.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <functional>

#include "framework/core/ObjectFactoryContainer.h"
#include "framework/core/PropertyNode.h"
#include "framework/core/PropertyValue.h"
#include "framework/players/PropertyAccess.h"
#include "game/data/GameData.h"
#include "game/data/ToolCatalog.h"

TT_DEFINE_RECORD(TortelunePlayer, &AbstractPlayer::classRecord);
TT_REGISTER_CLASS(TortelunePlayer);

namespace {

// The profile's counters, in the order they are written.
struct SavedCounter {
    const char* key;
    int TortelunePlayer::*field;
};
const SavedCounter kSavedCounters[] = {{"rank", &TortelunePlayer::rank},
                                       {"score", &TortelunePlayer::score},
                                       {"numMatches", &TortelunePlayer::numMatches},
                                       {"numPastries", &TortelunePlayer::numPastries},
                                       {"numShopVisits", &TortelunePlayer::numShopVisits},
                                       {"numArcadeVisits", &TortelunePlayer::numArcadeVisits}};

// A read entry that did not hold a sane number: what it was, for the log.
using RepairNote = std::function<void(const std::string&)>;

void readIntMap(PropertyNode* node, const char* key, std::map<int, int>& map, long long lowestValue,
                const RepairNote& note)
{
    forEachElement(node, key, [&](AbstractProperty* entry) {
        int entryKey = 0;
        int value = 0;
        if (parseIntInRange(childString(entry, "key"), 0, INT_MAX, entryKey) &&
            parseIntInRange(childString(entry, "val"), lowestValue, INT_MAX, value))
            map[entryKey] = value;
        else
            note(std::string(key) + " entry key=\"" + childString(entry, "key") + "\" val=\"" +
                 childString(entry, "val") + "\" dropped");
    });
}

void readIntList(PropertyNode* node, const char* key, std::vector<int>& list, const RepairNote& note)
{
    if (!hasChildNamed(node, key))
        return;
    list.clear();
    forEachElement(node, key, [&](AbstractProperty* element) {
        int value = 0;
        if (parseIntInRange(childString(element, "val"), INT_MIN, INT_MAX, value))
            list.push_back(value);
        else
            note(std::string(key) + " entry \"" + childString(element, "val") + "\" dropped");
    });
}

// The last career level's index; unbounded before the level list is known.
long long lastCareerLevel()
{
    const GameData* data = GameData::instance;
    const int count = data && data->state ? data->state->levelManager.getLevelCount() : 0;
    return count > 0 ? count - 1 : INT_MAX;
}

void writeIntList(PropertyNode* node, const char* key, const char* tag, const std::vector<int>& values)
{
    RefPointer<PropertyVector> list(new PropertyVector(key));
    for (int value : values) {
        RefPointer<PropertyNode> entry(new PropertyNode("", tag));
        addUntypedInt(entry.get(), "val", value);
        list->add(entry.get());
    }
    node->addChild(list.get());
}

void keepLarger(std::map<int, int>& map, int key, int value)
{
    int& entry = map[key]; // an absent entry counts as 0
    entry = std::max(entry, value);
}

bool contains(const std::vector<int>& list, int value)
{
    return std::find(list.begin(), list.end(), value) != list.end();
}

} // namespace

TortelunePlayer::TortelunePlayer(const std::string& name)
    : AbstractPlayer(name), toolSlots(kToolSlotCount, -1), trophies(new Trophies())
{
}

TortelunePlayer::TortelunePlayer(AbstractProperty* entry)
    : AbstractPlayer(entry), toolSlots(kToolSlotCount, -1), trophies(new Trophies())
{
    PropertyNode* node = nodeOrDummy(entry);
    // A damaged number is logged and replaced, never read as whatever its
    // first digits say ("1e308" is not level 1).
    const RepairNote note = [this](const std::string& what) { noteRepair(what); };
    auto readNumber = [&](const char* key, long long low, long long high, int& field, int replacement) {
        if (childIntInRange(node, key, low, high, field) == CheckedNumber::Invalid) {
            note(std::string(key) + "=\"" + childString(node, key) + "\" replaced by " + std::to_string(replacement));
            field = replacement;
        }
    };
    if (hasChildNamed(node, "is_arcade_unlocked"))
        arcadeUnlocked = childBool(node, "is_arcade_unlocked");
    if (hasChildNamed(node, "show_hints"))
        showHints = childBool(node, "show_hints");
    forEachElement(node, "seen_hints",
                   [this](AbstractProperty* hint) { seenHints.push_back(valueOrDummy(hint)->getString()); });
    forEachElement(node, "seen_bonus", [&](AbstractProperty* item) {
        int value = 0;
        if (parseIntInRange(childString(item, "val"), INT_MIN, INT_MAX, value))
            seenBonus[childString(item, "key")] = value;
        else
            note("seen_bonus " + childString(item, "key") + "=\"" + childString(item, "val") + "\" dropped");
    });
    readIntMap(node, "level_score", levelScore, 0, note);
    readIntMap(node, "level_stars", levelStars, 0, note);
    readNumber("stars_offset", INT_MIN, INT_MAX, starsOffset, 0);
    readIntMap(node, "level_tries", levelTries, 0, note);
    readIntMap(node, "arcade_state", arcadeState, INT_MIN, note);
    readIntMap(node, "arcade_score", arcadeScore, 0, note);
    readIntMap(node, "arcade_level", arcadeLevel, 0, note);
    // A damaged highest level falls back to the highest level won, so that
    // the levels the player has stars for stay open.
    const long long lastLevel = lastCareerLevel();
    int highestWon = -1;
    for (const auto& [level, stars] : levelStars)
        if (stars > 0 && level <= lastLevel)
            highestWon = std::max(highestWon, level);
    readNumber("highest_level_reached", -1, lastLevel, highestLevelReached, highestWon);
    readIntList(node, "tools", tools, note);
    readIntList(node, "toolslots", toolSlots, note);
    // Exactly two slots; an id the catalogue lacks counts as an empty slot.
    toolSlots.resize(kToolSlotCount, -1);
    for (int& slot : toolSlots)
        if (slot < 0 || slot >= kToolCount)
            slot = -1;
    readIntList(node, "toollevels", toolLevels, note);
    readIntMap(node, "toolbought", toolBought, INT_MIN, note);
    for (const SavedCounter& counter : kSavedCounters)
        readNumber(counter.key, 0, INT_MAX, this->*counter.field, 0);
    if (hasChildNamed(node, "trophies"))
        trophies->load(childNode(node, "trophies"));
}

void TortelunePlayer::writeTo(PropertyNode* node)
{
    AbstractPlayer::writeTo(node);
    node->setTypeName("TortelunePlayer");
    addUntypedBool(node, "is_arcade_unlocked", arcadeUnlocked);
    addUntypedBool(node, "show_hints", showHints);
    addUntypedInt(node, "highest_level_reached", highestLevelReached);

    RefPointer<PropertyVector> hints(new PropertyVector("seen_hints"));
    for (const std::string& hint : seenHints)
        hints->add(new PropertyValue("", hint));
    node->addChild(hints.get());

    addEntryVector(node, "seen_bonus", seenBonus);

    addEntryVector(node, "level_score", levelScore);
    addEntryVector(node, "level_stars", levelStars);
    addUntypedInt(node, "stars_offset", starsOffset);
    addEntryVector(node, "level_tries", levelTries);
    addEntryVector(node, "arcade_state", arcadeState);
    addEntryVector(node, "arcade_score", arcadeScore);
    addEntryVector(node, "arcade_level", arcadeLevel);
    writeIntList(node, "tools", "Tool", tools);
    writeIntList(node, "toolslots", "ToolSlot", toolSlots);
    writeIntList(node, "toollevels", "ToolLevel", toolLevels);
    addEntryVector(node, "toolbought", toolBought);
    for (const SavedCounter& counter : kSavedCounters)
        addUntypedInt(node, counter.key, this->*counter.field);

    RefPointer<PropertyNode> trophyNode(new PropertyNode("trophies", "Trophies"));
    node->addChild(trophyNode.get());
    trophies->save(trophyNode.get());
}

bool TortelunePlayer::hasSeenHint(const std::string& hint) const
{
    return std::find(seenHints.begin(), seenHints.end(), hint) != seenHints.end();
}

void TortelunePlayer::setHintSeen(const std::string& hint)
{
    if (!hasSeenHint(hint))
        seenHints.push_back(hint);
}

void TortelunePlayer::setBonusSeen(const std::string& bonus, int value)
{
    auto found = seenBonus.find(bonus);
    if (found == seenBonus.end())
        seenBonus[bonus] = value;
    else
        found->second = std::min(found->second, value);
}

void TortelunePlayer::updateLevelScore(int level, int value)
{
    keepLarger(levelScore, level, value);
}

void TortelunePlayer::updateLevelStars(int level, int stars)
{
    keepLarger(levelStars, level, stars);
}

void TortelunePlayer::updateArcadeScore(int key, int value)
{
    keepLarger(arcadeScore, key, value);
}

void TortelunePlayer::updateArcadeLevel(int key, int level)
{
    keepLarger(arcadeLevel, key, level);
}

int TortelunePlayer::getTotalStars() const
{
    // Summed wide: a damaged profile must not overflow.
    int64_t total = 0;
    for (const auto& entry : levelStars)
        total += entry.second;
    return static_cast<int>(std::clamp<int64_t>(total, INT32_MIN, INT32_MAX));
}

void TortelunePlayer::buyTool(int toolId)
{
    if (contains(tools, toolId))
        return;
    tools.push_back(toolId);
    toolBought[toolId] = highestLevelReached + 1;
}

bool TortelunePlayer::hasTool(int toolId) const
{
    return contains(tools, toolId);
}

void TortelunePlayer::addToolLevel(int level)
{
    if (!contains(toolLevels, level))
        toolLevels.push_back(level);
}

bool TortelunePlayer::hasToolLevel(int level) const
{
    return contains(toolLevels, level);
}

bool TortelunePlayer::isToolSelectable(int toolId) const
{
    const Tool* tool = ToolCatalog::getInstance() ? ToolCatalog::getInstance()->find(toolId) : nullptr;
    return tool && hasToolLevel(tool->level) && contains(toolSlots, toolId);
}

void TortelunePlayer::clearNotices()
{
    newLevelNotice = toolLevel0Notice = starBonus0Notice = arcadeSet0Notice = arcadeSet1Notice = false;
    starBonus1Notice = arcadeSets2And3Notice = starBonus2Notice = toolLevel1Notice = false;
    starBonus3Notice = arcadeSets4And5Notice = false;
}
