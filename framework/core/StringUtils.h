#pragma once

#include <string>
#include <vector>

// Wide text shown to the player is UTF-16; narrow text (keys, file names, XML
// names, the clipboard) is UTF-8. All conversions between them live here.
using WString = std::u16string;

std::string intToString(int value);
WString intToWString(int value);

// UTF-8 to UTF-16. Malformed sequences become U+FFFD.
WString toWideString(const std::string& text);
// UTF-16 to UTF-8. Unpaired surrogates become U+FFFD.
std::string toNarrowString(const WString& text);
// Convenience for literals in code: toWide("abc").
inline WString toWide(const char* text) { return toWideString(text ? std::string(text) : std::string()); }

// Appends the parts of `text` between delimiters. Empty parts are kept only
// with `keepEmpty`; a trailing delimiter adds nothing; an empty delimiter
// appends the whole (non-empty) text.
void splitString(const WString& text, std::vector<WString>& pieces, const WString& delimiter, bool keepEmpty);
void splitString(const std::string& text, std::vector<std::string>& pieces, const std::string& delimiter,
                 bool keepEmpty);

// Removes leading and/or trailing characters found in `characters`; true when anything was removed.
bool trim(WString& text, const WString& characters, bool fromStart, bool fromEnd);
bool trim(std::string& text, const std::string& characters, bool fromStart, bool fromEnd);
// trim with tab and blank.
bool trimWhitespace(WString& text, bool fromStart = true, bool fromEnd = true);
bool trimWhitespace(std::string& text, bool fromStart = true, bool fromEnd = true);

// Replaces the first occurrence of `what` (every one with `all`); the search
// resumes after the inserted text. True when anything was replaced.
bool replaceAll(WString& text, const WString& what, const WString& with, bool all = true);
bool replaceInString(std::string& text, const std::string& what, const std::string& with, bool all = true);

// ASCII-only case mapping, for keys and file names.
std::string toLowerAscii(std::string text);
std::string toUpperAscii(std::string text);
bool equalsIgnoreCaseAscii(const std::string& a, const std::string& b);
