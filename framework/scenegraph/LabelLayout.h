#pragma once

#include <cstdint>
#include <vector>

#include "framework/core/StringUtils.h"
#include "framework/graphics/LabelLine.h"

class BitmapFont;

// The line breaking and placing of a Label, kept apart from the node so that
// it can be used and tested on its own. Widths are the font's run widths.
namespace LabelLayout {

enum WrapStyle : int32_t { WrapAutoWidth = 0, WrapWordWrap = 1, WrapTruncate = 2 };
enum AlignH : int32_t { AlignLeft = 0, AlignCenter = 1, AlignRight = 2 };

// The pieces of text between line breaks. An empty piece between two breaks,
// or before a leading break, is kept; a break at the very end adds nothing.
std::vector<WString> splitParagraphs(const WString& text);

// Breaks one paragraph into lines no wider than `width`: at the last blank
// that fits, else between characters; every line holds at least one
// character, and lines after a break lose their leading blanks.
void wrapParagraph(const BitmapFont& font, const WString& paragraph, int32_t width, std::vector<WString>& lines);

// The paragraph when it fits, else its longest prefix that fits with "..."
// appended (never a blank before the "..."), else the empty text.
WString truncateParagraph(const BitmapFont& font, const WString& paragraph, int32_t width);

// The lines of a text by wrap style; no lines for an unknown style.
std::vector<WString> breakLines(const BitmapFont& font, const WString& text, int32_t wrapStyle, int32_t width);

// Measures and places lines: y = index * lineHeight, x aligned inside the
// widest line (alignH -1 leaves every x at 0). Returns the widest width.
int32_t placeLines(const BitmapFont& font, const std::vector<WString>& texts, int32_t alignH, int32_t lineHeight,
                   std::vector<LabelLine>& lines);

// The font's width of a whole text.
int32_t textWidth(const BitmapFont& font, const WString& text);

} // namespace LabelLayout
