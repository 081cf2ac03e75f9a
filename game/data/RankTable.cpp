#include "game/data/RankTable.h"

#include <cstdint>

#include "framework/core/PropertyNode.h"
#include "framework/core/PropertyStore.h"
#include "framework/players/PropertyAccess.h"
#include "game/data/TuningTable.h"

RankTable* RankTable::instance = nullptr;

RankTable* RankTable::create()
{
    destroyInstance();
    holdGlobalInstance(instance, new RankTable());
    instance->load();
    return instance;
}

void RankTable::destroyInstance()
{
    releaseGlobalInstance(instance);
}

void RankTable::load(const std::string& fileName)
{
    definitions = PropertyStore::loadedFrom(fileName).get();
}

void RankTable::setDefinitions(AbstractProperty* root)
{
    definitions = root;
}

AbstractProperty* RankTable::rankAt(int rank) const
{
    return elementAt(childVector(definitions.get(), "ranks"), rank);
}

int RankTable::getRankCount() const
{
    return elementCount(childVector(definitions.get(), "ranks"));
}

int RankTable::getRankScore(int rank) const
{
    return childInt(rankAt(rank), "score");
}

int RankTable::getRankMaxScore(int rank) const
{
    return static_cast<int>(static_cast<int64_t>(getRankScore(rank + 1)) - 1);
}

int RankTable::getRankForScore(int score) const
{
    int rank = getRankCount() - 1;
    while (rank >= 0 && getRankScore(rank) > score)
        --rank;
    return rank;
}

WString RankTable::getRankName(int rank) const
{
    return basicText(childString(rankAt(rank), "name"));
}

WString RankTable::getRankRewardText(int rank) const
{
    WString text = basicText(childString(rankAt(rank), "reward"));
    const WString percent = toWide("%");
    auto insertValue = [&](int value) {
        if (value != -1)
            replaceAll(text, percent, formatGroupedNumber(value, getDigitGroupingSymbol()), true);
    };
    auto insertText = [&](const char* key) { replaceAll(text, percent, basicText(key), false); };
    const TuningTable& t = tuning();
    switch (rank) {
    case 2: insertValue(t.UNLOCK_STARBONUS0); break;
    case 3: insertText("TEXT_ARCADENAME1"); break;
    case 4: insertValue(t.UNLOCK_STARBONUS1); break;
    case 5:
        insertText("TEXT_ARCADENAME2");
        insertText("TEXT_ARCADENAME3");
        break;
    case 6: insertValue(t.UNLOCK_STARBONUS2); break;
    case 8: insertValue(t.UNLOCK_STARBONUS3); break;
    case 9:
        insertText("TEXT_ARCADENAME4");
        insertText("TEXT_ARCADENAME5");
        break;
    default: break;
    }
    return text;
}

int getThemeIndex(const std::string& themeName)
{
    static const char* const kThemes[] = {"cake",   "birthday",  "flan",     "exam1",   "lamour",
                                          "chocolate", "tropical", "exam2", "redfruit", "desserts",
                                          "bonbons", "exam3",     "extravagant", "contest", "wedding"};
    for (int i = 0; i < static_cast<int>(sizeof kThemes / sizeof kThemes[0]); ++i) {
        if (themeName == kThemes[i])
            return i;
    }
    return 15;
}

WString getThemeTitle(int themeIndex)
{
    return basicText("TEXT_THEME" + intToString(themeIndex));
}

WString getDigitGroupingSymbol()
{
    const WString symbol = basicText("CTEXT_DIGIT_GROUPING_SYMBOL");
    return symbol == toWide("_") ? toWide(" ") : symbol;
}

WString formatGroupedNumber(int value, const WString& separator)
{
    // The magnitude in 64 bits, so that the smallest int has one too.
    const int64_t wide = value;
    const std::string digits = std::to_string(wide < 0 ? -wide : wide);
    WString result;
    if (wide < 0)
        result += u'-';
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            result += separator;
        result += static_cast<char16_t>(digits[i]);
    }
    return result;
}
