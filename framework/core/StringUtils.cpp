#include "framework/core/StringUtils.h"

#include <cstdio>

namespace {

template <class S>
void splitImpl(const S& text, std::vector<S>& pieces, const S& delimiter, bool keepEmpty)
{
    if (delimiter.empty()) {
        if (!text.empty())
            pieces.push_back(text);
        return;
    }
    size_t start = 0;
    for (;;) {
        size_t found = text.find(delimiter, start);
        if (found == S::npos)
            break;
        if (found > start || keepEmpty)
            pieces.push_back(text.substr(start, found - start));
        start = found + delimiter.size();
    }
    if (start < text.size())
        pieces.push_back(text.substr(start));
}

template <class S>
bool trimImpl(S& text, const S& characters, bool fromStart, bool fromEnd)
{
    const size_t originalSize = text.size();
    if (fromEnd) {
        size_t last = text.find_last_not_of(characters);
        text.erase(last == S::npos ? 0 : last + 1);
    }
    if (fromStart) {
        size_t first = text.find_first_not_of(characters);
        text.erase(0, first == S::npos ? text.size() : first);
    }
    return text.size() != originalSize;
}

template <class S>
bool replaceImpl(S& text, const S& what, const S& with, bool all)
{
    if (what.empty())
        return false;
    bool replaced = false;
    size_t position = 0;
    for (;;) {
        size_t found = text.find(what, position);
        if (found == S::npos)
            break;
        text.replace(found, what.size(), with);
        replaced = true;
        position = found + with.size();
        if (!all)
            break;
    }
    return replaced;
}

void appendUtf8(std::string& out, char32_t code)
{
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

void appendUtf16(WString& out, char32_t code)
{
    if (code < 0x10000) {
        out += static_cast<char16_t>(code);
    } else {
        code -= 0x10000;
        out += static_cast<char16_t>(0xD800 + (code >> 10));
        out += static_cast<char16_t>(0xDC00 + (code & 0x3FF));
    }
}

constexpr char32_t kReplacement = 0xFFFD;

} // namespace

std::string intToString(int value)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%d", value);
    return buffer;
}

WString intToWString(int value)
{
    return toWideString(intToString(value));
}

WString toWideString(const std::string& text)
{
    WString out;
    out.reserve(text.size());
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    const size_t size = text.size();
    size_t i = 0;
    while (i < size) {
        unsigned char lead = bytes[i];
        if (lead < 0x80) {
            out += static_cast<char16_t>(lead);
            ++i;
            continue;
        }
        int extra = 0;
        char32_t code = 0;
        char32_t minimum = 0;
        if ((lead & 0xE0) == 0xC0) {
            extra = 1;
            code = lead & 0x1F;
            minimum = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            extra = 2;
            code = lead & 0x0F;
            minimum = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            extra = 3;
            code = lead & 0x07;
            minimum = 0x10000;
        } else {
            out += static_cast<char16_t>(kReplacement);
            ++i;
            continue;
        }
        size_t j = 1;
        for (; j <= static_cast<size_t>(extra); ++j) {
            if (i + j >= size || (bytes[i + j] & 0xC0) != 0x80)
                break;
            code = (code << 6) | (bytes[i + j] & 0x3F);
        }
        if (j <= static_cast<size_t>(extra)) {
            // Truncated sequence: replace what was read and resume at the next byte.
            out += static_cast<char16_t>(kReplacement);
            i += j;
            continue;
        }
        if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            code = kReplacement;
        appendUtf16(out, code);
        i += extra + 1;
    }
    return out;
}

std::string toNarrowString(const WString& text)
{
    std::string out;
    out.reserve(text.size());
    const size_t size = text.size();
    for (size_t i = 0; i < size; ++i) {
        char32_t unit = text[i];
        if (unit >= 0xD800 && unit <= 0xDBFF) {
            if (i + 1 < size && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
                char32_t code = 0x10000 + ((unit - 0xD800) << 10) + (text[i + 1] - 0xDC00);
                appendUtf8(out, code);
                ++i;
            } else {
                appendUtf8(out, kReplacement);
            }
        } else if (unit >= 0xDC00 && unit <= 0xDFFF) {
            appendUtf8(out, kReplacement);
        } else {
            appendUtf8(out, unit);
        }
    }
    return out;
}

void splitString(const WString& text, std::vector<WString>& pieces, const WString& delimiter, bool keepEmpty)
{
    splitImpl(text, pieces, delimiter, keepEmpty);
}

void splitString(const std::string& text, std::vector<std::string>& pieces, const std::string& delimiter,
                 bool keepEmpty)
{
    splitImpl(text, pieces, delimiter, keepEmpty);
}

bool trim(WString& text, const WString& characters, bool fromStart, bool fromEnd)
{
    return trimImpl(text, characters, fromStart, fromEnd);
}

bool trim(std::string& text, const std::string& characters, bool fromStart, bool fromEnd)
{
    return trimImpl(text, characters, fromStart, fromEnd);
}

bool trimWhitespace(WString& text, bool fromStart, bool fromEnd)
{
    return trimImpl(text, WString(u"\t "), fromStart, fromEnd);
}

bool trimWhitespace(std::string& text, bool fromStart, bool fromEnd)
{
    return trimImpl(text, std::string("\t "), fromStart, fromEnd);
}

bool replaceAll(WString& text, const WString& what, const WString& with, bool all)
{
    return replaceImpl(text, what, with, all);
}

bool replaceInString(std::string& text, const std::string& what, const std::string& with, bool all)
{
    return replaceImpl(text, what, with, all);
}

std::string toLowerAscii(std::string text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

std::string toUpperAscii(std::string text)
{
    for (char& c : text)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return text;
}

bool equalsIgnoreCaseAscii(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && toLowerAscii(a) == toLowerAscii(b);
}
