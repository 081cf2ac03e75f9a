#include "framework/gui/StyleLabel.h"

#include <algorithm>

#include "framework/core/Log.h"
#include "framework/core/ObjectFactoryContainer.h"
#include "framework/core/PropertyNode.h"
#include "framework/graphics/Graphics.h"
#include "framework/gui/StyleParser.h"
#include "framework/scenegraph/Label.h"

TT_DEFINE_RECORD(StyleLabel, &Sprite::classRecord);
TT_REGISTER_CLASS(StyleLabel);

namespace {

const char* const kWrapStyles[] = {"autowidth", "wordwrap", "truncate"};
const char* const kAlignments[] = {"left", "center", "right"};
const WString kEllipsis = u"...";
// Moving a word past images gives up after this many passes (the word is
// dropped): a word can always be pushed on, but never without end.
constexpr int32_t kMaxAvoidPasses = 256;

} // namespace

StyleLabel::StyleLabel(AbstractProperty* configuration) : Sprite(configuration)
{
    const PropertyNode* node = configuration ? configuration->asNode() : DUMMY_NODE;
    if (node->hasChild("font"))
        state.font = Label::findConfiguredFont(node, "styled label");
    if (node->hasChild("color"))
        state.colours.push_back(static_cast<uint32_t>(node->getInt("color")));
    if (node->hasChild("wrapstyle"))
        state.wrapStyle = node->getKeywordIndex("wrapstyle", kWrapStyles, 3, -1);
    if (node->hasChild("alignh"))
        state.alignH = node->getKeywordIndex("alignh", kAlignments, 3, -1);
    if (node->hasChild("autofitheight"))
        autoFit = node->getBool("autofitheight");
    WString initial;
    Label::readConfiguredText(node, initial);
    setText(initial);
}

StyleLabel::StyleLabel(BitmapFont* font, int32_t x, int32_t y, int32_t width, int32_t height, int32_t wrapStyle)
    : Sprite(x, y, width, height)
{
    state.font = font;
    state.wrapStyle = wrapStyle;
}

StyleLabel::~StyleLabel() = default;

void StyleLabel::setText(const WString& newText)
{
    WString converted = Label::withLineBreaks(newText);
    if (converted == text && laidOut)
        return;
    text = std::move(converted);
    refresh();
}

void StyleLabel::refresh()
{
    layOut();
    renderImage();
    laidOut = true;
}

void StyleLabel::startNewLine()
{
    state.currentLine = new StyleLine();
}

void StyleLabel::layOut()
{
    state.cursorX = 0;
    state.cursorY = 0;
    state.lineHeight = 0;
    state.pendingLineHeight = 0;
    state.lineEnd = 0;
    state.lineFull = false;
    state.lines.clear();
    state.images.clear();
    startNewLine();
    wordStart = 0;

    // The walk edits its own copy ("\[" loses its backslash), so laying out
    // the same text again gives the same result.
    WString source = text;
    StyleParser* parser = StyleParser::getInstance();
    size_t position = 0;
    while (position < source.size()) {
        const char16_t c = source[position];
        if (c == u'\n') {
            finishWord(source, position);
            endLine();
        } else if (c == u' ') {
            finishWord(source, position);
            if (state.cursorX != 0 && state.font)
                state.cursorX += state.font->measure(u" ", 0, 0x7FFFFFFF, BitmapFont::MetricAdvance) -
                                 2 * state.font->getMaxPadding();
        } else if (c == u'[' && position > wordStart && source[position - 1] == u'\\') {
            source.erase(position - 1, 1);
            --position;  // the bracket stays a character of the word
        } else if (c == u'[') {
            finishWord(source, position);
            size_t end = position;
            while (end < source.size() && source[end] != u']' && source[end] != u'=')
                ++end;
            const WString tagWord = source.substr(wordStart, end - wordStart);
            WString argument;
            if (end < source.size() && source[end] == u'=') {
                const size_t close = source.find(u']', end + 1);
                const size_t stop = close == WString::npos ? source.size() : close;
                argument = source.substr(end + 1, stop - end - 1);
                end = stop;
            }
            position = end;
            wordStart = position + 1;
            parser->dispatch(tagWord, argument, *this);
        }
        ++position;
    }
    finishWord(source, source.size());
    state.lines.push_back(state.currentLine);
    startNewLine();

    // Only an automatic width grows with its text; wrapping and truncation
    // keep the width they were given.
    const bool wraps = state.wrapStyle == WrapWordWrap || state.wrapStyle == WrapTruncate;
    if (autoFit && !wraps && state.lineEnd > getWidth())
        setWidth(state.lineEnd);
    const int32_t lastLine = state.font ? state.font->getDerivedLineHeight() : 0;
    if (getHeight() < state.cursorY + lastLine)
        setHeight(state.cursorY + lastLine);
    if (getHeight() <= 0)
        setHeight(1);
    if (getWidth() <= 0)
        setWidth(1);
    StyleParser::destroyInstance();
}

void StyleLabel::finishWord(const WString& source, size_t position)
{
    const size_t start = std::min(wordStart, source.size());
    const size_t end = std::min(position, source.size());
    wordStart = position + 1;
    if (end <= start || !state.font)
        return;
    RefPointer<Label> word(new StyleWord(state.font.get(), state.cursorX, state.cursorY));
    if (!state.colours.empty())
        word->setLayerColor(state.colours.back(), 0);
    word->setAlignV(state.alignV);
    word->setText(source.substr(start, end - start));
    word->updateLayout();
    placeWord(*word);
}

void StyleLabel::placeWord(Label& word)
{
    const int32_t W = getWidth();
    int32_t w = word.getWidth();
    const int32_t wordHeight = word.getLineHeight();
    switch (state.wrapStyle) {
    case WrapWordWrap:
        if (state.cursorX + w <= W)
            break;
        if (state.cursorX != 0 && w <= W) {
            state.pendingLineHeight = wordHeight;
            endLine();
            word.setPosition(state.cursorX, state.cursorY);
        } else {
            word.setText(WString());
        }
        break;
    case WrapTruncate:
        state.pendingLineHeight = wordHeight;
        if (!state.lineFull && state.cursorX + w <= W)
            break;
        if (state.lineFull || state.lineEnd >= W) {
            word.setText(WString());
            break;
        }
        word.setText(word.getText().substr(0, 1) + kEllipsis);
        word.updateLayout();
        w = word.getWidth();
        if (state.cursorX + w > W) {
            word.setText(WString());
            if (!state.currentLine->words.empty()) {
                Label& last = *state.currentLine->words.back();
                const WString& lastText = last.getText();
                last.setText(lastText.size() > 3 ? lastText.substr(0, lastText.size() - 3) + kEllipsis
                                                 : lastText.substr(0, 1) + kEllipsis);
                last.updateLayout();
                state.lineEnd = last.getX() + last.getWidth();
            }
        }
        state.lineFull = true;
        break;
    default:
        state.pendingLineHeight = wordHeight;
        break;
    }
    if (word.getText().empty())
        return;
    word.updateLayout();
    w = word.getWidth();
    if (!avoidImages(word, w, wordHeight))
        return;
    state.currentLine->words.emplace_back(&word);
    state.lineEnd = state.cursorX + w;
    state.lineHeight = std::max(state.lineHeight, wordHeight);
    state.cursorX += w;
}

bool StyleLabel::avoidImages(Label& word, int32_t w, int32_t wordHeight)
{
    const int32_t W = getWidth();
    for (int32_t pass = 0; pass < kMaxAvoidPasses; ++pass) {
        bool moved = false;
        for (const RefPointer<Sprite>& image : state.images) {
            const int64_t ix = image->getX();
            const int64_t iy = image->getY();
            const int64_t iw = image->getWidth();
            const int64_t ih = image->getHeight();
            const int64_t wx = word.getX();
            const int64_t wy = word.getY();
            if (ix + iw > wx && iy + ih > wy && ix < wx + w && iy < wy + wordHeight) {
                // The image's right edge lies right of the word, so this always moves on.
                state.cursorX = static_cast<int32_t>(ix + iw + 1);
                word.setPosition(state.cursorX, state.cursorY);
                moved = true;
            }
            if (state.wrapStyle == WrapWordWrap && state.cursorX + w > W) {
                if (state.cursorX != 0 && w <= W) {
                    state.pendingLineHeight = wordHeight;
                    endLine();
                    word.setPosition(state.cursorX, state.cursorY);
                    moved = true;
                } else {
                    word.setText(WString());
                    return false;
                }
            }
        }
        if (!moved)
            return true;
    }
    word.setText(WString());
    return false;
}

void StyleLabel::alignLineVertically(StyleLine& line) const
{
    const Label* tallest = nullptr;
    int32_t largestBaseline = 0;
    for (const RefPointer<Label>& word : line.words) {
        const int32_t baseline = word->getFont() ? word->getFont()->getBaseline() : 0;
        if (!tallest || baseline > largestBaseline) {
            tallest = word.get();
            largestBaseline = baseline;
        }
    }
    if (!tallest)
        return;
    const int32_t slack = state.lineHeight - tallest->getLineHeight();
    for (const RefPointer<Label>& word : line.words) {
        const BitmapFont* font = word->getFont();
        if (!font)
            continue;
        int32_t down = 0;
        switch (word->getAlignV()) {
        case AlignTop:
            break;
        case AlignCenterV:
            // The word's cell centred in the line.
            down = (state.lineHeight - font->getDerivedLineHeight()) / 2;
            break;
        case AlignBaseline:
            down = largestBaseline + slack - font->getBaseline();
            break;
        default:
            down = state.lineHeight - font->getDerivedLineHeight();
            break;
        }
        word->setY(word->getY() + down);
    }
}

void StyleLabel::endLine()
{
    StyleLine& line = *state.currentLine;
    alignLineVertically(line);

    int32_t room = getWidth() - state.lineEnd;
    for (int32_t pass = 0; pass < kMaxAvoidPasses; ++pass) {
        const int32_t before = room;
        for (const RefPointer<Sprite>& image : state.images) {
            const int64_t ix = image->getX();
            const int64_t iy = image->getY();
            if (ix + image->getWidth() > state.lineEnd && state.cursorY < iy + image->getHeight() &&
                ix < static_cast<int64_t>(state.lineEnd) + room && iy < state.cursorY + state.lineHeight)
                room = std::max(0, room - image->getWidth());
        }
        if (room == before)
            break;
    }
    int32_t shift = 0;
    if (state.alignH == AlignCenter)
        shift = room / 2;
    else if (state.alignH == AlignRight && room > 0)
        shift = room;
    if (shift != 0)
        for (const RefPointer<Label>& word : line.words)
            word->setX(word->getX() + shift);

    state.lines.push_back(state.currentLine);
    int32_t advance = state.lineHeight;
    if (advance == 0 && state.font)
        advance = state.font->getLineHeight();
    state.cursorY += advance;
    state.cursorX = 0;
    state.lineHeight = state.pendingLineHeight;
    state.lineFull = false;
    startNewLine();

    if (autoFit) {
        if (getHeight() < state.cursorY)
            setHeight(state.cursorY);
        const bool wraps = state.wrapStyle == WrapWordWrap || state.wrapStyle == WrapTruncate;
        if (!wraps && getWidth() < state.lineEnd)
            setWidth(state.lineEnd);
    }
    // The new line is empty: a full previous line must not cut its first word.
    state.lineEnd = 0;
}

uint32_t StyleLabel::wordColour(const Label& word)
{
    const BitmapFont* font = word.getFont();
    if (!font)
        return 0;
    if (!word.getLayerColors().empty() && font->isMaskFont())
        return word.getLayerColors()[0];
    return font->getTopLayerColour();
}

void StyleLabel::renderImage()
{
    RefPointer<Image> image = Image::createForScreen(getWidth(), getHeight());
    if (!image) {
        LOG_WARNING("styled label: image of " + intToString(getWidth()) + " x " + intToString(getHeight()) +
                    " pixels refused");
        setImage(nullptr);
        return;
    }
    setImage(image.get());
    RefPointer<Graphics> graphics = image->getGraphics();
    if (!graphics)
        return;
    graphics->fillChannel(Graphics::ChannelAlpha, 0, 0, 0);
    // Under each word the transparent pixels take the word's colour, so its
    // glyph edges blend towards it and not towards black.
    for (const RefPointer<StyleLine>& line : state.lines)
        for (const RefPointer<Label>& word : line->words) {
            graphics->setColour(wordColour(*word));
            graphics->fillRect(word->getX(), word->getY(), word->getWidth(), word->getHeight());
        }
    for (const RefPointer<StyleLine>& line : state.lines)
        for (const RefPointer<Label>& word : line->words) {
            graphics->setFont(word->getFont());
            graphics->setColour(wordColour(*word));
            graphics->drawText(word->getText(), word->getX(), word->getY());
        }
    for (const RefPointer<Sprite>& sprite : state.images) {
        Image* picture = sprite->getImage();
        if (!picture)
            continue;
        graphics->blit(picture, sprite->getX(), sprite->getY());
        graphics->blitChannelMax(picture, Graphics::ChannelAlpha, sprite->getX(), sprite->getY());
    }
}
