#include "game/text/GameText.h"

#include "framework/core/BasicProperties.h"
#include "framework/graphics/BitmapFont.h"
#include "framework/gui/StyleLabel.h"
#include "framework/scenegraph/Label.h"
#include "game/data/RankTable.h"

WString textByKey(const std::string& key)
{
    if (key.empty() || !BasicProperties::instance)
        return WString();
    return BasicProperties::instance->getText(key);
}

WString groupedNumber(int value)
{
    return formatGroupedNumber(value, getDigitGroupingSymbol());
}

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

void setLabelText(GameNode* label, const WString& text)
{
    if (auto* plain = objectCast<Label>(label)) {
        plain->setText(text);
        plain->updateLayout();
        return;
    }
    if (auto* styled = objectCast<StyleLabel>(label)) {
        // The same text is not laid out by setText: refresh instead, once.
        const WString before = styled->getText();
        styled->setText(text);
        if (styled->getText() == before)
            styled->refresh();
    }
}

void setLabelNumber(GameNode* label, int value)
{
    setLabelText(label, toWideString(std::to_string(value)));
}

int labelTextHeight(GameNode* label)
{
    if (auto* plain = objectCast<Label>(label)) {
        plain->updateLayout();
        return plain->getHeight();
    }
    if (auto* styled = objectCast<StyleLabel>(label)) {
        // The text's own extent: the label's box only ever grows, so a reused
        // label would keep the height of its longest text.
        const StyleLabel::LayoutState& state = styled->getState();
        return state.cursorY + (state.font ? state.font->getDerivedLineHeight() : 0);
    }
    return 0;
}

int labelLineHeight(GameNode* label)
{
    if (auto* plain = objectCast<Label>(label))
        return plain->getLineHeight();
    if (auto* styled = objectCast<StyleLabel>(label)) {
        const StyleLabel::LayoutState& state = styled->getState();
        BitmapFont* font = state.fonts.empty() ? state.font.get() : state.fonts.front().get();
        return font ? font->getLineHeight() : 0;
    }
    return 0;
}
