#include "framework/scenegraph/LabelLayout.h"

#include <algorithm>

#include "framework/graphics/BitmapFont.h"

namespace LabelLayout {

namespace {

bool isBlank(char16_t c)
{
    return c == u' ' || c == u'\t';
}

} // namespace

int32_t textWidth(const BitmapFont& font, const WString& text)
{
    return font.measure(text, 0, -1, BitmapFont::MetricRight);
}

std::vector<WString> splitParagraphs(const WString& text)
{
    std::vector<WString> paragraphs;
    splitString(text, paragraphs, u"\n", true);
    return paragraphs;
}

void wrapParagraph(const BitmapFont& font, const WString& paragraph, int32_t width, std::vector<WString>& lines)
{
    if (paragraph.empty() || textWidth(font, paragraph) <= width) {
        lines.push_back(paragraph);
        return;
    }
    WString rest = paragraph;
    // Every pass takes at least one character off, so this ends.
    while (!rest.empty()) {
        GlyphLayout layout;
        font.measureText(rest, layout, 0, -1);
        if (layout.maxRight <= width)
            break;
        // The width of the prefix of length i is the largest right edge of its
        // first i boxes: a box depends only on the characters before it.
        size_t breakAt = 0;
        size_t longestFit = 0;
        bool blankFound = false;
        int32_t prefixWidth = 0;
        for (size_t i = 1; i < rest.size(); ++i) {
            prefixWidth = std::max(prefixWidth, layout.boxes[i - 1].right);
            if (prefixWidth > width)
                break;
            longestFit = i;
            if (isBlank(rest[i])) {
                breakAt = i;
                blankFound = true;
            }
        }
        if (!blankFound)
            breakAt = std::max<size_t>(1, longestFit);
        lines.push_back(rest.substr(0, breakAt));
        rest.erase(0, breakAt);
        trimWhitespace(rest, true, false);
    }
    trimWhitespace(rest, true, false);
    if (!rest.empty())
        lines.push_back(rest);
}

WString truncateParagraph(const BitmapFont& font, const WString& paragraph, int32_t width)
{
    if (paragraph.empty() || textWidth(font, paragraph) <= width)
        return paragraph;
    static const WString kEllipsis = u"...";
    WString best;
    size_t i = 1;
    while (i <= paragraph.size()) {
        size_t length = i;
        // A prefix never ends in a blank before the "...".
        while (length < paragraph.size() && paragraph[length - 1] == u' ')
            ++length;
        if (paragraph[length - 1] == u' ')
            break;  // only blanks remain
        WString candidate = paragraph.substr(0, length) + kEllipsis;
        if (textWidth(font, candidate) > width)
            break;
        best = std::move(candidate);
        i = length + 1;
    }
    return best;
}

std::vector<WString> breakLines(const BitmapFont& font, const WString& text, int32_t wrapStyle, int32_t width)
{
    std::vector<WString> lines;
    if (wrapStyle != WrapAutoWidth && wrapStyle != WrapWordWrap && wrapStyle != WrapTruncate)
        return lines;
    for (WString& paragraph : splitParagraphs(text)) {
        if (wrapStyle == WrapWordWrap)
            wrapParagraph(font, paragraph, width, lines);
        else if (wrapStyle == WrapTruncate)
            lines.push_back(truncateParagraph(font, paragraph, width));
        else
            lines.push_back(std::move(paragraph));
    }
    return lines;
}

int32_t placeLines(const BitmapFont& font, const std::vector<WString>& texts, int32_t alignH, int32_t lineHeight,
                   std::vector<LabelLine>& lines)
{
    lines.clear();
    lines.reserve(texts.size());
    int32_t maxWidth = 0;
    int32_t y = 0;
    for (const WString& text : texts) {
        LabelLine line;
        line.text = text;
        line.width = textWidth(font, text);
        line.y = y;
        y += lineHeight;
        maxWidth = std::max(maxWidth, line.width);
        lines.push_back(std::move(line));
    }
    for (LabelLine& line : lines) {
        if (alignH == AlignCenter)
            line.x = (maxWidth - line.width) / 2;
        else if (alignH == AlignRight)
            line.x = maxWidth - line.width;
    }
    return maxWidth;
}

} // namespace LabelLayout
