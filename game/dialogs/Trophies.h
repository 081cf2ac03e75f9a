#pragma once

#include <string>
#include <vector>

#include "framework/core/BaseObject.h"
#include "framework/core/RefPointer.h"

class AbstractProperty;
class PropertyNode;

// One picture-and-texts record of a trophy (button, large picture, locked button).
struct TrophyInfo {
    int x = 0;
    int y = 0;
    std::string image;
    std::string headerId;
    std::string textId;
    std::string section;
};

// A trophy's records and the player's state for it.
class Trophy : public BaseObject {
public:
    // 0 not earned, 1 earned, 2 announced, 3 seen on the trophy screen.
    enum State { NotEarned = 0, Earned = 1, Announced = 2, Seen = 3 };

    Trophy(AbstractProperty* node, const std::string& defaultSection);

    // Null outside the list of records.
    const TrophyInfo* getInfo(int index) const;
    int getInfoCount() const { return static_cast<int>(infos.size()); }

    std::vector<TrophyInfo> infos;
    int state = NotEarned;
};

// The fifteen trophies of a profile, read from the trophy file, with the
// player's state of each; only the states are saved.
class Trophies : public BaseObject {
public:
    static constexpr const char* kDefaultFile = "media/properties/trophies.xml";

    // Reads the trophy file (a missing file gives no trophies).
    Trophies();
    // The same from a parsed trophy file.
    explicit Trophies(AbstractProperty* definitions);

    // Sets the states from the node's "trophyVector".
    virtual void load(AbstractProperty* node);
    // Adds "trophyVector" with one "Integer" state per trophy.
    virtual void save(PropertyNode* node) const;

    int getCount() const { return static_cast<int>(trophies.size()); }
    // Null for an index outside the list, which callers treat as no trophy.
    Trophy* getTrophy(int index) const;
    // 0 for an index outside the list.
    int getState(int index) const;
    // Ignored for an index outside the list.
    void setState(int index, int state);
    bool getSaveNotShownAsNew() const { return saveNotShownAsNew; }
    const std::string& getTrophySection() const { return trophySection; }

    // The file every new collection reads (tests point it elsewhere).
    static void setDefinitionFile(const std::string& path);
    static const std::string& getDefinitionFile();

private:
    void parse(AbstractProperty* definitions);

    std::vector<RefPointer<Trophy>> trophies;
    bool saveNotShownAsNew = true;
    std::string trophySection;
};
