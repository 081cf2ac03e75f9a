#include "game/dialogs/TrophyText.h"

#include "framework/core/BasicProperties.h"
#include "framework/core/Log.h"
#include "framework/graphics/BitmapFont.h"
#include "framework/graphics/Image.h"
#include "framework/gui/StyleLabel.h"
#include "framework/resources/ResourceManager.h"
#include "framework/scenegraph/Label.h"
#include "game/data/RankTable.h"
#include "game/data/TortelunePlayer.h"
#include "game/data/TuningTable.h"
#include "game/dialogs/Trophies.h"
#include "game/production/GameScreen.h"

bool replaceMarkupTag(WString& text, const std::string& tag, const WString& openText, const WString& closeText)
{
    const bool opened = replaceAll(text, toWideString("[" + tag + "]"), openText, true);
    if (!opened)
        return false;
    return replaceAll(text, toWideString("[/" + tag + "]"), closeText, true);
}

WString formatDialogText(const WString& text)
{
    WString result = text;
    const WString close = toWide("[/font]");
    replaceMarkupTag(result, "i", toWide("[font=FONT_TEXT_ITALIC,default]"), close);
    replaceMarkupTag(result, "b", toWide("[font=FONT_NUMBERS,default]"), close);
    result += u'\n';
    return result;
}

namespace trophytext {

namespace {

WString rankName(int rank)
{
    RankTable* ranks = RankTable::getInstance();
    return ranks ? ranks->getRankName(rank) : WString();
}

WString grouped(int value)
{
    return formatGroupedNumber(value, getDigitGroupingSymbol());
}

} // namespace

WString text(const std::string& key)
{
    if (key.empty() || !BasicProperties::instance)
        return WString();
    return BasicProperties::instance->getText(key);
}

WString substituteValues(int trophyIndex, WString description, Column column)
{
    const WString percent = toWide("%");
    const TuningTable& values = tuning();
    switch (trophyIndex) {
    case 1:
        replaceAll(description, percent, rankName(7), true);
        break;
    case 5:
        replaceAll(description, percent, rankName(1), true);
        break;
    case 6:
        replaceAll(description, percent, rankName(9), true);
        break;
    case 7:
        replaceAll(description, percent, grouped(values.TROPHYVALUE_GIANTSCORE), true);
        break;
    case 8:
        replaceAll(description, percent, grouped(values.TROPHYVALUE_BONUSFRENZY), true);
        break;
    case 10:
        replaceAll(description, percent,
                   column == Column::Awarded ? intToWString(values.TROPHYVALUE_COMBOQUEEN)
                                             : grouped(values.TROPHYVALUE_COMBOQUEEN),
                   true);
        break;
    case 11:
        if (column == Column::Awarded) {
            replaceAll(description, percent, grouped(values.TROPHYVALUE_PERSEVERANCE), true);
        } else {
            TortelunePlayer* player = gamescreen::currentPlayer();
            replaceAll(description, toWide("%1"), grouped(values.TROPHYVALUE_PERSEVERANCE), true);
            replaceAll(description, toWide("%2"), grouped(player ? player->numPastries : 0), true);
        }
        break;
    default:
        break;
    }
    return description;
}

RefPointer<Image> recordImage(const TrophyInfo& record)
{
    RefPointer<Image> image;
    if (!record.image.empty() && ResourceManager::instance) {
        ResourceLock lock;
        image = ResourceManager::instance->getLoadedResourceAs<Image>(record.image, record.section);
    }
    if (!image)
        LOG_WARNING("trophy picture \"" + record.image + "\" of section \"" + record.section + "\" is missing");
    return image;
}

int setDescription(GameNode* label, const WString& description)
{
    if (auto* styled = objectCast<StyleLabel>(label)) {
        styled->setText(description);
        return styled->getHeight();
    }
    if (auto* plain = objectCast<Label>(label)) {
        plain->setText(description);
        plain->updateLayout();
        return plain->getHeight();
    }
    return 0;
}

int lineHeightOf(GameNode* label)
{
    if (auto* plain = objectCast<Label>(label))
        return plain->getFont() ? plain->getFont()->getLineHeight() : 0;
    if (auto* styled = objectCast<StyleLabel>(label)) {
        const StyleLabel::LayoutState& state = styled->getState();
        BitmapFont* font = state.fonts.empty() ? state.font.get() : state.fonts.front().get();
        return font ? font->getLineHeight() : 0;
    }
    return 0;
}

void setLabelText(GameNode* label, const WString& value)
{
    if (auto* styled = objectCast<StyleLabel>(label)) {
        styled->setText(value);
        return;
    }
    if (auto* plain = objectCast<Label>(label)) {
        plain->setText(value);
        plain->updateLayout();
    }
}

} // namespace trophytext
