#include "framework/platform/FileNames.h"

#include <cstdint>
#include <cstdio>

#include "framework/core/StringUtils.h"

std::string normalizePath(const std::string& path)
{
    std::string text = path;
    for (char& c : text) {
        if (c == '\\')
            c = '/';
    }
    while (replaceInString(text, "//", "/", true)) {
    }
    // Drop "." segments only; a "./" that ends ".." stays, so parent paths survive.
    std::string result;
    result.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        const bool segmentStart = i == 0 || text[i - 1] == '/';
        if (segmentStart && text.compare(i, 2, "./") == 0) {
            i += 2;
            continue;
        }
        result += text[i];
        ++i;
    }
    return result;
}

std::string normalizeResourcePath(const std::string& path)
{
    std::string text = normalizePath(path);
    if (!text.empty() && text[0] == '/')
        text.erase(0, 1);
    return toLowerAscii(text);
}

std::string getDirectoryPart(const std::string& path)
{
    const std::string text = normalizePath(path);
    const size_t slash = text.rfind('/');
    return slash == std::string::npos ? text : text.substr(0, slash);
}

std::string fileSafeName(const std::string& name)
{
    std::string safe;
    for (char c : name) {
        if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) {
            safe += c;
            continue;
        }
        char code[16];
        const int value = static_cast<int8_t>(c);
        std::snprintf(code, sizeof code, "-%X-", static_cast<unsigned>(value));
        safe += code;
    }
    return safe;
}
