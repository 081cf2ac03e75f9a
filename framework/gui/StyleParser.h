#pragma once

#include <cstdint>
#include <vector>

#include "framework/core/BaseObject.h"
#include "framework/core/RefPointer.h"
#include "framework/core/StringUtils.h"
#include "framework/gui/StyleFormat.h"

class StyleLabel;

// The registry of markup tag classes. A styled label hands it every tag it
// meets; the first tag class with an equal word (case-sensitive) applies it.
// One instance lives while a label lays out.
class StyleParser : public BaseObject {
    TT_CLASS_RECORD(StyleParser)
public:
    // The instance, created with one object of each tag class when there is none.
    static StyleParser* getInstance();
    static void destroyInstance();

    // True when a tag class took the tag; an unknown word changes nothing.
    bool dispatch(const WString& tagWord, const WString& argument, StyleLabel& label);
    const std::vector<RefPointer<StyleFormat>>& getFormats() const { return formats; }

private:
    StyleParser();

    std::vector<RefPointer<StyleFormat>> formats;
    static StyleParser* instance;
};
