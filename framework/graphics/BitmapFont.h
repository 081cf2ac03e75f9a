#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "framework/core/RefPointer.h"
#include "framework/core/StringUtils.h"
#include "framework/graphics/Font.h"
#include "framework/graphics/FontLayer.h"
#include "framework/graphics/LabelLine.h"

class AbstractProperty;
class Graphics;

// One glyph of a bitmap font: its box in the unpadded sheet, its position in
// the sheet order, its advance and bearing, and the kerning against the
// characters that may follow it.
struct Glyph {
    int32_t sx = 0;
    int32_t sy = 0;
    int32_t sw = 0;
    int32_t sh = 0;
    int32_t index = 0;
    int32_t width = 0;
    int32_t bx = 0;
    int32_t by = 0;
    std::unordered_map<char16_t, int32_t> kerning;
};

// Where measureText put one character, in pixels from the text's top left.
struct CharBox {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t next = 0;          // the pen after the character, before kerning
    int32_t visibleRight = 0;  // right without the trailing padding, except for the last character
};

// The output of BitmapFont::measureText: one box per measured character and
// the running maxima over them.
struct GlyphLayout {
    std::vector<CharBox> boxes;
    int32_t maxRight = 0;
    int32_t maxNext = 0;
    int32_t maxVisibleRight = 0;
};

// Draws and measures text from glyph images cut out of one or more layer
// sheets. The glyph metrics and kerning are shared by every layer; each layer
// adds its own padding and colour.
class BitmapFont : public Font {
    TT_CLASS_RECORD(BitmapFont)
public:
    // What measure() returns.
    enum Metric : int32_t {
        MetricRight = 0,         // the width of the run: the largest right edge, padding included
        MetricAdvance = 1,       // where the pen stands after the run
        MetricVisibleRight = 2,  // caret positions: the right edge without padding, except after the last character
    };

    BitmapFont() { completeMissingGlyph(); }
    // Reads "charspacing", "spacewidth", "lineheight", "baseline", "chars" and
    // "kerning" from the font's node; a missing or malformed entry is skipped.
    explicit BitmapFont(const AbstractProperty* configuration);
    ~BitmapFont() override;

    // Appends a layer; layers are drawn from the last to the first.
    void addLayer(FontLayer* layer);
    const std::vector<RefPointer<FontLayer>>& getLayers() const { return layers; }

    // Draws each line at its own x and y (not shifted by the graphics' offset);
    // layer k takes colours[k] when the list has such an entry, else its own.
    virtual void drawText(Graphics* graphics, const std::vector<LabelLine>& lines,
                          const std::vector<uint32_t>& colours);
    virtual int32_t getMaxPadding() const { return maxPadding; }
    // Appends the boxes of text[start, start + count) to `layout`; a negative
    // start counts as 0 and a negative or overlong count runs to the end.
    virtual void measureText(const WString& text, GlyphLayout& layout, int32_t start, int32_t count) const;
    // One maximum of measureText over the range; 0 when nothing was measured.
    virtual int32_t measure(const WString& text, int32_t start, int32_t count, int32_t metric) const;
    // True for the space and every character with a glyph record.
    virtual bool hasGlyph(char16_t ch) const;
    virtual bool isFlagB() const { return flagB; }
    virtual void setFlagB(bool value) { flagB = value; }
    virtual bool getFlagA() const { return flagA; }
    // The tallest glyph bottom plus the widest padding above and below.
    virtual int32_t getDerivedLineHeight() const { return maxGlyphBottom + 2 * maxPadding; }
    virtual int32_t getBaseline() const { return baseline; }
    // The file's "lineheight" when above 0, else the derived line height.
    virtual int32_t getLineHeight() const;
    // The colour of the layer drawn first (the last in the list); 0 without layers.
    virtual uint32_t getTopLayerColour() const;
    // True when the layer drawn first is a 1-byte mask, so callers may colour it.
    virtual bool isMaskFont() const;

    int32_t getCharSpacing() const { return charSpacing; }
    int32_t getMaxGlyphBottom() const { return maxGlyphBottom; }
    // The glyph record of a character, or null.
    const Glyph* findGlyph(char16_t ch) const;
    const Glyph& getMissingGlyph() const { return missingGlyph; }
    size_t getGlyphCount() const { return glyphs.size(); }

    // Reads a kerning text: hexadecimal codes each after one separator
    // character (normally "#"); code 0, or U+0001 where a separator is
    // expected, starts a group whose first code is the leading character.
    // Malformed tokens are skipped. Calls add(leading, following) per pair.
    template <class AddPair>
    static void parseKerningText(const WString& text, AddPair&& add);

private:
    void readChars(const AbstractProperty* chars);
    void readKerning(const AbstractProperty* kerning);
    void completeMissingGlyph();

    std::vector<RefPointer<FontLayer>> layers;
    std::unordered_map<char16_t, Glyph> glyphs;
    int32_t charSpacing = 0;
    int32_t lineHeight = 0;
    int32_t maxGlyphBottom = 0;
    int32_t baseline = 0;
    bool flagA = false;
    bool flagB = true;
    int32_t maxPadding = 0;
    Glyph missingGlyph;
};

template <class AddPair>
void BitmapFont::parseKerningText(const WString& text, AddPair&& add)
{
    constexpr char16_t kGroupMark = 0x0001;
    constexpr size_t kMaxHexDigits = 8;
    bool groupOpen = false;
    bool haveLeading = false;
    char16_t leading = 0;
    size_t i = 0;
    const size_t n = text.size();
    while (i < n) {
        if (text[i] == kGroupMark) {
            groupOpen = true;
            haveLeading = false;
            ++i;
            continue;
        }
        ++i;  // the separator
        size_t end = i;
        while (end < n && text[end] != u'#')
            ++end;
        // The token's value is its leading hexadecimal digits, as "%x" reads them.
        uint32_t value = 0;
        size_t digits = 0;
        bool valid = true;
        for (size_t k = i; k < end; ++k) {
            const char16_t c = text[k];
            uint32_t d;
            if (c >= u'0' && c <= u'9')
                d = c - u'0';
            else if (c >= u'a' && c <= u'f')
                d = c - u'a' + 10;
            else if (c >= u'A' && c <= u'F')
                d = c - u'A' + 10;
            else
                break;
            if (++digits > kMaxHexDigits) {
                valid = false;
                break;
            }
            value = value * 16 + d;
        }
        i = end;
        if (!valid || digits == 0 || value > 0xFFFF)
            continue;
        if (value == 0) {
            groupOpen = true;
            haveLeading = false;
        } else if (groupOpen && !haveLeading) {
            leading = static_cast<char16_t>(value);
            haveLeading = true;
        } else if (haveLeading) {
            add(leading, static_cast<char16_t>(value));
        }
        // A code before any group start has no leading character: skipped.
    }
}
