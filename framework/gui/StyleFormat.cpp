#include "framework/gui/StyleFormat.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>

#include "framework/core/Log.h"
#include "framework/graphics/BitmapFont.h"
#include "framework/gui/StyleLabel.h"
#include "framework/resources/ResourceLookup.h"

TT_DEFINE_RECORD(StyleFormat, &BaseObject::classRecord);
TT_DEFINE_RECORD(FormatNewLine, &StyleFormat::classRecord);
TT_DEFINE_RECORD(FormatColor, &StyleFormat::classRecord);
TT_DEFINE_RECORD(FormatFont, &StyleFormat::classRecord);
TT_DEFINE_RECORD(FormatImage, &StyleFormat::classRecord);
TT_DEFINE_RECORD(FormatWrapStyle, &StyleFormat::classRecord);
TT_DEFINE_RECORD(FormatAlignV, &StyleFormat::classRecord);
TT_DEFINE_RECORD(FormatAlignH, &StyleFormat::classRecord);
TT_DEFINE_RECORD(FormatTab, &StyleFormat::classRecord);
TT_DEFINE_RECORD(FormatWidth, &StyleFormat::classRecord);

namespace {

// A label wider than an image may be is never drawn; "[width=n]" stays inside.
constexpr int32_t kMaxWidth = 16384;

// An integer as "%i" reads it (decimal, "0x" hexadecimal, leading-0 octal,
// leading blanks and a sign); false when no number starts the text.
bool readInteger(const WString& text, int32_t& value)
{
    const std::string narrow = toNarrowString(text);
    const char* begin = narrow.c_str();
    char* end = nullptr;
    errno = 0;
    const long long parsed = std::strtoll(begin, &end, 0);
    if (end == begin)
        return false;
    value = static_cast<int32_t>(std::clamp<long long>(parsed, INT32_MIN, INT32_MAX));
    return true;
}

// Hexadecimal digits as "%x" reads them, keeping the low 32 bits; 0 when none.
uint32_t readHex(const WString& text, size_t from)
{
    uint32_t value = 0;
    for (size_t i = from; i < text.size(); ++i) {
        const char16_t c = text[i];
        uint32_t digit;
        if (c >= u'0' && c <= u'9')
            digit = c - u'0';
        else if (c >= u'a' && c <= u'f')
            digit = c - u'a' + 10;
        else if (c >= u'A' && c <= u'F')
            digit = c - u'A' + 10;
        else
            break;
        value = (value << 4) | digit;
    }
    return value;
}

// Opening word: push the current value, then take the keyword's number when
// the argument is one of them. Closing word: pop into the current value.
void applyStacked(int32_t index, const WString& argument, int32_t& current, std::vector<int32_t>& stack,
                  const char* const* keywords, int32_t count)
{
    if (index == 0) {
        stack.push_back(current);
        const std::string word = toNarrowString(argument);
        for (int32_t i = 0; i < count; ++i)
            if (word == keywords[i]) {
                current = i;
                break;
            }
    } else if (!stack.empty()) {
        current = stack.back();
        stack.pop_back();
    }
}

} // namespace

void FormatNewLine::apply(int32_t /*index*/, const WString& /*argument*/, StyleLabel& label)
{
    label.endLine();
}

void FormatColor::apply(int32_t index, const WString& argument, StyleLabel& label)
{
    std::vector<uint32_t>& colours = label.getState().colours;
    if (index == 0) {
        const bool hash = !argument.empty() && argument[0] == u'#';
        colours.push_back(readHex(argument, hash ? 1 : 0));
    } else if (!colours.empty()) {
        colours.pop_back();
    }
}

void FormatFont::apply(int32_t index, const WString& argument, StyleLabel& label)
{
    StyleLabel::LayoutState& state = label.getState();
    if (index != 0) {
        if (!state.fonts.empty()) {
            state.font = state.fonts.back();
            state.fonts.pop_back();
        }
        return;
    }
    // The current font is pushed even when the new one is not found, so that
    // the closing tag still restores the right font.
    state.fonts.push_back(state.font);
    const size_t comma = argument.find(u',');
    if (comma == WString::npos) {
        LOG_WARNING("styled text: font tag without a section: " + toNarrowString(argument));
        return;
    }
    const std::string key = toNarrowString(argument.substr(0, comma));
    const std::string section = toNarrowString(argument.substr(comma + 1));
    RefPointer<BitmapFont> font = ResourceLookup::findAs<BitmapFont>(key, section);
    if (!font) {
        LOG_WARNING("styled text: no font \"" + key + "\" in section \"" + section + "\"");
        return;
    }
    state.font = font;
}

void FormatImage::apply(int32_t /*index*/, const WString& argument, StyleLabel& label)
{
    // Up to four parts; the key counts only when a comma follows it.
    std::vector<WString> parts;
    size_t start = 0;
    while (parts.size() < 4) {
        const size_t comma = argument.find(u',', start);
        if (comma == WString::npos) {
            parts.push_back(argument.substr(start));
            break;
        }
        parts.push_back(argument.substr(start, comma - start));
        start = comma + 1;
    }
    if (argument.find(u',') == WString::npos)
        parts[0].clear();
    parts.resize(4);
    const std::string key = toNarrowString(parts[0]);
    const std::string section = toNarrowString(parts[1]);
    RefPointer<Image> picture = ResourceLookup::findAs<Image>(key, section);
    if (!picture) {
        LOG_WARNING("styled text: no image \"" + key + "\" in section \"" + section + "\"");
        return;
    }
    StyleLabel::LayoutState& state = label.getState();
    RefPointer<Sprite> sprite(new Sprite(state.cursorX, state.cursorY, picture.get()));
    const int32_t w = picture->getWidth();
    const int32_t h = picture->getHeight();
    const int32_t W = label.getWidth();
    if (parts[2] == u"left")
        sprite->setX(0);
    else if (parts[2] == u"center")
        sprite->setX((W - w) / 2);
    else if (parts[2] == u"right")
        sprite->setX(W - w);
    if (parts[3] == u"none") {
        if (state.cursorX != 0)
            label.endLine();
        sprite->setY(state.cursorY);
        state.cursorY += h;
    } else if (parts[3] == u"single") {
        state.lineHeight = std::max(state.lineHeight, h);
    }
    state.images.push_back(sprite);
    if (label.getHeight() < h)
        label.setHeight(h);
}

void FormatWrapStyle::apply(int32_t index, const WString& argument, StyleLabel& label)
{
    static const char* const kWords[] = {"autowidth", "wordwrap", "truncate"};
    StyleLabel::LayoutState& state = label.getState();
    applyStacked(index, argument, state.wrapStyle, state.wrapStyles, kWords, 3);
}

void FormatAlignV::apply(int32_t index, const WString& argument, StyleLabel& label)
{
    static const char* const kWords[] = {"top", "center", "baseline", "bottom"};
    StyleLabel::LayoutState& state = label.getState();
    applyStacked(index, argument, state.alignV, state.alignVs, kWords, 4);
}

void FormatAlignH::apply(int32_t index, const WString& argument, StyleLabel& label)
{
    static const char* const kWords[] = {"left", "center", "right"};
    StyleLabel::LayoutState& state = label.getState();
    applyStacked(index, argument, state.alignH, state.alignHs, kWords, 3);
}

void FormatTab::apply(int32_t index, const WString& argument, StyleLabel& label)
{
    StyleLabel::LayoutState& state = label.getState();
    if (index == 0) {
        state.tabStops.clear();
        std::vector<WString> entries;
        splitString(argument, entries, u",", true);
        for (const WString& entry : entries) {
            int32_t stop;
            // A stop far outside any label would overflow the line arithmetic.
            if (readInteger(entry, stop))
                state.tabStops.push_back(std::clamp(stop, -kMaxWidth, kMaxWidth));
        }
        return;
    }
    if (argument.empty()) {
        for (int32_t stop : state.tabStops) {
            if (stop >= state.cursorX) {
                state.cursorX = stop;
                break;
            }
        }
        return;
    }
    int32_t n;
    if (readInteger(argument, n) && n >= 1 && static_cast<size_t>(n) <= state.tabStops.size())
        state.cursorX = state.tabStops[static_cast<size_t>(n) - 1];
}

void FormatWidth::apply(int32_t /*index*/, const WString& argument, StyleLabel& label)
{
    int32_t width;
    if (!readInteger(argument, width)) {
        LOG_WARNING("styled text: width is not a number: " + toNarrowString(argument));
        return;
    }
    label.setWidth(std::clamp(width, 1, kMaxWidth));
}
