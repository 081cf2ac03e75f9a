#pragma once

#include <cstdint>
#include <vector>

#include "framework/core/RefPointer.h"
#include "framework/core/StringUtils.h"
#include "framework/graphics/BitmapFont.h"
#include "framework/gui/StyleLine.h"
#include "framework/scenegraph/Sprite.h"

// A sprite that shows text with inline markup: words in several fonts and
// colours, line breaks, tab stops, alignment per line, three wrap styles and
// images placed inline or with the text flowing round them. The text is laid
// out into one label per word and drawn once into the sprite's own image.
//
// Markup: "[tag]" or "[tag=argument]"; "\[" shows a bracket. The tags are the
// StyleFormat classes (br, color, font, image, wrapstyle, alignv, alignh,
// tabs, tab, width).
class StyleLabel : public Sprite {
    TT_CLASS_RECORD(StyleLabel)
public:
    enum WrapStyle : int32_t { WrapAutoWidth = 0, WrapWordWrap = 1, WrapTruncate = 2 };
    enum AlignV : int32_t { AlignTop = 0, AlignCenterV = 1, AlignBaseline = 2, AlignBottom = 3 };
    enum AlignH : int32_t { AlignLeft = 0, AlignCenter = 1, AlignRight = 2 };

    // Everything the layout and the tag classes work on. The font, colours,
    // alignments, wrap style and stacks carry over from one layout to the
    // next, so tags left open by an earlier text still count.
    struct LayoutState {
        std::vector<uint32_t> colours;
        std::vector<int32_t> wrapStyles;
        std::vector<int32_t> alignVs;
        std::vector<int32_t> alignHs;
        std::vector<int32_t> tabStops;
        std::vector<RefPointer<BitmapFont>> fonts;
        std::vector<RefPointer<Sprite>> images;
        std::vector<RefPointer<StyleLine>> lines;
        RefPointer<BitmapFont> font;
        int32_t cursorX = 0;
        int32_t cursorY = 0;
        int32_t lineHeight = 0;
        int32_t alignV = AlignTop;
        int32_t alignH = AlignLeft;
        int32_t wrapStyle = WrapAutoWidth;
        int32_t pendingLineHeight = 0;
        int32_t lineEnd = 0;
        // Set when truncation cut the line: later words of the line are dropped.
        bool lineFull = false;
        RefPointer<StyleLine> currentLine;
    };

    // Sprite keys, then "font"/"section", "color", "wrapstyle", "alignh",
    // "autofitheight" and the text from "text", "value" or "textid".
    explicit StyleLabel(AbstractProperty* configuration);
    StyleLabel(BitmapFont* font, int32_t x, int32_t y, int32_t width, int32_t height, int32_t wrapStyle = 0);
    ~StyleLabel() override;

    // Backslash and "n" become a line break; a different text is laid out at once.
    virtual void setText(const WString& text);
    const WString& getText() const { return text; }
    // Lays the text out again and renders the image.
    virtual void refresh();

    // Ends the line being built: aligns its words, stores it and moves the cursor down.
    void endLine();
    LayoutState& getState() { return state; }
    const LayoutState& getState() const { return state; }
    bool getAutoFit() const { return autoFit; }
    void setAutoFit(bool value) { autoFit = value; }

private:
    void layOut();
    void finishWord(const WString& source, size_t position);
    void placeWord(Label& word);
    bool avoidImages(Label& word, int32_t width, int32_t wordLineHeight);
    void startNewLine();
    void alignLineVertically(StyleLine& line) const;
    void renderImage();
    static uint32_t wordColour(const Label& word);

    LayoutState state;
    bool autoFit = true;
    bool laidOut = false;
    WString text;
    size_t wordStart = 0;
};
