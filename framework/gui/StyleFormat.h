#pragma once

#include <cstdint>
#include <vector>

#include "framework/core/BaseObject.h"
#include "framework/core/StringUtils.h"

class StyleLabel;

// A markup tag class of styled text: it knows one or two tag words and, when
// one is met, changes the label's layout state (font, colour, alignment, wrap
// style, tab stops, width) or ends a line or places an image.
class StyleFormat : public BaseObject {
    TT_CLASS_RECORD(StyleFormat)
public:
    // `index` is the position of the met word in getWords(); `argument` is the
    // text after "=" (empty without one). Closing words ignore the argument.
    virtual void apply(int32_t index, const WString& argument, StyleLabel& label) = 0;
    const std::vector<WString>& getWords() const { return words; }

protected:
    void addWord(const WString& word) { words.push_back(word); }

private:
    std::vector<WString> words;
};

// "br": ends the line as a line break does.
class FormatNewLine : public StyleFormat {
    TT_CLASS_RECORD(FormatNewLine)
public:
    FormatNewLine() { addWord(u"br"); }
    void apply(int32_t index, const WString& argument, StyleLabel& label) override;
};

// "color=#AARRGGBB" ... "/color": the colour of the words' first font layer.
class FormatColor : public StyleFormat {
    TT_CLASS_RECORD(FormatColor)
public:
    FormatColor() { addWord(u"color"); addWord(u"/color"); }
    void apply(int32_t index, const WString& argument, StyleLabel& label) override;
};

// "font=key,section" ... "/font": another font resource.
class FormatFont : public StyleFormat {
    TT_CLASS_RECORD(FormatFont)
public:
    FormatFont() { addWord(u"font"); addWord(u"/font"); }
    void apply(int32_t index, const WString& argument, StyleLabel& label) override;
};

// "image=key,section,place,wrap": an image resource in the text.
class FormatImage : public StyleFormat {
    TT_CLASS_RECORD(FormatImage)
public:
    FormatImage() { addWord(u"image"); }
    void apply(int32_t index, const WString& argument, StyleLabel& label) override;
};

// "wrapstyle=autowidth|wordwrap|truncate" ... "/wrapstyle".
class FormatWrapStyle : public StyleFormat {
    TT_CLASS_RECORD(FormatWrapStyle)
public:
    FormatWrapStyle() { addWord(u"wrapstyle"); addWord(u"/wrapstyle"); }
    void apply(int32_t index, const WString& argument, StyleLabel& label) override;
};

// "alignv=top|center|baseline|bottom" ... "/alignv".
class FormatAlignV : public StyleFormat {
    TT_CLASS_RECORD(FormatAlignV)
public:
    FormatAlignV() { addWord(u"alignv"); addWord(u"/alignv"); }
    void apply(int32_t index, const WString& argument, StyleLabel& label) override;
};

// "alignh=left|center|right" ... "/alignh"; aligns the lines it is open at the end of.
class FormatAlignH : public StyleFormat {
    TT_CLASS_RECORD(FormatAlignH)
public:
    FormatAlignH() { addWord(u"alignh"); addWord(u"/alignh"); }
    void apply(int32_t index, const WString& argument, StyleLabel& label) override;
};

// "tabs=x1,x2,..." sets the stops; "tab" moves to the next stop, "tab=n" to stop n.
class FormatTab : public StyleFormat {
    TT_CLASS_RECORD(FormatTab)
public:
    FormatTab() { addWord(u"tabs"); addWord(u"tab"); }
    void apply(int32_t index, const WString& argument, StyleLabel& label) override;
};

// "width=n": the label's width from here on.
class FormatWidth : public StyleFormat {
    TT_CLASS_RECORD(FormatWidth)
public:
    FormatWidth() { addWord(u"width"); }
    void apply(int32_t index, const WString& argument, StyleLabel& label) override;
};
