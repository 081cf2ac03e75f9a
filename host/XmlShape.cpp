#include "host/XmlShape.h"

#include <cstring>

namespace {

size_t skipPast(const char* text, size_t size, size_t from, const char* terminator)
{
    const size_t length = std::strlen(terminator);
    for (size_t i = from; i + length <= size; ++i) {
        if (std::memcmp(text + i, terminator, length) == 0)
            return i + length;
    }
    return size;
}

bool startsWith(const char* text, size_t size, size_t at, const char* prefix)
{
    const size_t length = std::strlen(prefix);
    return at + length <= size && std::memcmp(text + at, prefix, length) == 0;
}

} // namespace

XmlShape measureXmlShape(const char* text, size_t size)
{
    XmlShape shape;
    int depth = 0;
    size_t i = 0;
    while (i < size) {
        if (text[i] != '<') {
            ++i;
            continue;
        }
        if (startsWith(text, size, i, "<!--")) {
            i = skipPast(text, size, i + 4, "-->");
        } else if (startsWith(text, size, i, "<![CDATA[")) {
            i = skipPast(text, size, i + 9, "]]>");
        } else if (i + 1 < size && (text[i + 1] == '?' || text[i + 1] == '!')) {
            i = skipPast(text, size, i + 2, ">");
        } else if (i + 1 < size && text[i + 1] == '/') {
            --depth;
            i = skipPast(text, size, i + 2, ">");
        } else {
            // A start tag: find its end outside quoted attribute values; each
            // equals sign outside quotes starts an attribute's value.
            char quote = 0;
            int attributes = 0;
            size_t j = i + 1;
            for (; j < size; ++j) {
                const char c = text[j];
                if (quote) {
                    if (c == quote)
                        quote = 0;
                } else if (c == '"' || c == '\'') {
                    quote = c;
                } else if (c == '=') {
                    ++attributes;
                } else if (c == '>') {
                    break;
                }
            }
            if (attributes > shape.mostAttributes)
                shape.mostAttributes = attributes;
            const bool selfClosing = j < size && text[j - 1] == '/';
            if (!selfClosing && ++depth > shape.deepestNesting)
                shape.deepestNesting = depth;
            i = j + 1;
        }
        if (depth < 0)
            depth = 0;
    }
    return shape;
}
