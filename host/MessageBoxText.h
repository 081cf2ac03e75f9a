#pragma once

#include <cstddef>
#include <string>

// The text of a message box, laid out so that the box fits the smallest
// screen the game supports (800 x 600). The box grows to its longest line and
// to its number of lines, and the desktop's message-box font may be large.

// Columns (characters) a line may take: 64 of the widest common message-box
// font still leave the box inside 800 pixels.
constexpr size_t kMessageBoxColumns = 64;
// Lines a box may hold within 600 pixels; a text with more ends in "...".
constexpr size_t kMessageBoxLines = 24;

// Wraps every line of `text` to `columns` characters (UTF-8 sequences count
// as one): at the last space that fits, else after the last "/" that fits (a
// path), else within the word. The text's own line breaks stay, and so does
// every character but the spaces a break replaces. More than `maxLines` lines
// (0: no limit) end in a line "...". Linear in the text.
std::string wrapMessageBoxText(const std::string& text, size_t columns = kMessageBoxColumns,
                               size_t maxLines = kMessageBoxLines);
