#pragma once

#include <string>

// Path and file-name rules shared by the file layer, the archive and the
// saving code. Paths use "/" everywhere; a "\" from data or code becomes "/".

// "\" -> "/", "//" -> "/", and "." path segments ("./") removed; ".." is kept.
std::string normalizePath(const std::string& path);
// normalizePath, then no leading "/" and ASCII letters in lower case.
std::string normalizeResourcePath(const std::string& path);
// The normalised path up to its last "/"; the whole path when it has none.
std::string getDirectoryPart(const std::string& path);
// Keeps "a"-"z" and "0"-"9"; any other byte b becomes "-%X-" of b read as a
// signed 8-bit number ("A" -> "-41-", 0xE9 -> "-FFFFFFE9-").
std::string fileSafeName(const std::string& name);
