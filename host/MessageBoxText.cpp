#include "host/MessageBoxText.h"

#include <vector>

namespace {

bool continuesCharacter(char byte)
{
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

// Splits one line (no line break in it) into pieces of at most `columns`
// characters, appending them to `lines`.
void wrapLine(const std::string& line, size_t columns, std::vector<std::string>& lines)
{
    size_t start = 0;
    while (start < line.size()) {
        // Walk up to `columns` characters, remembering the last place to break.
        size_t end = start;
        size_t counted = 0;
        size_t lastSpace = std::string::npos;
        size_t afterLastSlash = std::string::npos;
        while (end < line.size() && counted < columns) {
            if (line[end] == ' ')
                lastSpace = end;
            else if (line[end] == '/')
                afterLastSlash = end + 1;
            ++end;
            while (end < line.size() && continuesCharacter(line[end]))
                ++end;
            ++counted;
        }
        if (end == line.size()) {
            lines.push_back(line.substr(start));
            return;
        }
        // A space just past the last character that fits is as good a break.
        if (line[end] == ' ')
            lastSpace = end;
        if (lastSpace != std::string::npos && lastSpace > start) {
            lines.push_back(line.substr(start, lastSpace - start));
            start = lastSpace + 1;
        } else if (afterLastSlash != std::string::npos && afterLastSlash > start + 1) {
            lines.push_back(line.substr(start, afterLastSlash - start));
            start = afterLastSlash;
        } else {
            lines.push_back(line.substr(start, end - start));
            start = end;
        }
    }
}

} // namespace

std::string wrapMessageBoxText(const std::string& text, size_t columns, size_t maxLines)
{
    if (columns == 0)
        columns = 1;
    std::vector<std::string> lines;
    size_t start = 0;
    for (;;) {
        size_t end = text.find('\n', start);
        std::string line = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty())
            lines.emplace_back();
        else
            wrapLine(line, columns, lines);
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    if (maxLines > 0 && lines.size() > maxLines) {
        lines.resize(maxLines);
        lines.back() = "...";
    }
    std::string wrapped;
    wrapped.reserve(text.size() + lines.size());
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i > 0)
            wrapped += '\n';
        wrapped += lines[i];
    }
    return wrapped;
}
