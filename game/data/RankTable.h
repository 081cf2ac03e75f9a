#pragma once

#include <string>

#include "framework/core/BaseObject.h"
#include "framework/core/RefPointer.h"
#include "framework/core/StringUtils.h"

class AbstractProperty;
class PropertyStore;

// The ranks a player climbs by total score: a threshold, a name text and a
// reward text per rank, read from the rank file.
class RankTable : public BaseObject {
public:
    static constexpr const char* kFile = "media/properties/ranks.xml";

    static RankTable* create();
    static RankTable* getInstance() { return instance; }
    static void destroyInstance();

    // Reads the rank file (a missing one gives an empty table).
    void load(const std::string& fileName = kFile);
    // Uses an already parsed rank file (tests, tools).
    void setDefinitions(AbstractProperty* root);

    int getRankCount() const;
    // 0 for a rank outside the table.
    int getRankScore(int rank) const;
    int getRankMaxScore(int rank) const;
    // The highest rank whose threshold is not above the score; -1 below all.
    int getRankForScore(int score) const;
    WString getRankName(int rank) const;
    WString getRankRewardText(int rank) const;

private:
    static RankTable* instance;
    AbstractProperty* rankAt(int rank) const;

    RefPointer<AbstractProperty> definitions;
};

// 0 to 14 for the game's themes, 15 for any other name.
int getThemeIndex(const std::string& themeName);
// The text "TEXT_THEME" followed by the index.
WString getThemeTitle(int themeIndex);
// The text "CTEXT_DIGIT_GROUPING_SYMBOL"; the entry "_" stands for a blank.
WString getDigitGroupingSymbol();
// The value in decimal with the separator between groups of three digits;
// a negative value gets a minus sign before its grouped magnitude.
WString formatGroupedNumber(int value, const WString& separator);
