#pragma once

#include <string>
#include <utility>
#include <vector>

// Writes a zip file with the given (name, bytes) entries; `compress` picks
// deflate over stored entries. Returns false when minizip fails.
bool writeTestZip(const std::string& path, const std::vector<std::pair<std::string, std::string>>& entries,
                  bool compress);
