#include "framework/gui/StyleParser.h"

TT_DEFINE_RECORD(StyleParser, &BaseObject::classRecord);

StyleParser* StyleParser::instance = nullptr;

StyleParser::StyleParser()
{
    formats.emplace_back(new FormatNewLine());
    formats.emplace_back(new FormatColor());
    formats.emplace_back(new FormatFont());
    formats.emplace_back(new FormatImage());
    formats.emplace_back(new FormatWrapStyle());
    formats.emplace_back(new FormatAlignV());
    formats.emplace_back(new FormatAlignH());
    formats.emplace_back(new FormatTab());
    formats.emplace_back(new FormatWidth());
}

StyleParser* StyleParser::getInstance()
{
    if (!instance)
        holdGlobalInstance(instance, new StyleParser());
    return instance;
}

void StyleParser::destroyInstance()
{
    releaseGlobalInstance(instance);
}

bool StyleParser::dispatch(const WString& tagWord, const WString& argument, StyleLabel& label)
{
    for (const RefPointer<StyleFormat>& format : formats) {
        const std::vector<WString>& words = format->getWords();
        for (size_t i = 0; i < words.size(); ++i) {
            if (words[i] == tagWord) {
                format->apply(static_cast<int32_t>(i), argument, label);
                return true;
            }
        }
    }
    return false;
}
