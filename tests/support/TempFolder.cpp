#include "support/TempFolder.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

TempFolder::TempFolder()
{
    std::string base = TORTELUNE_BINARY_DIR "/test-home/tmp";
    std::error_code ignored;
    fs::create_directories(base, ignored);
    std::string pattern = base + "/t-XXXXXX";
    if (::mkdtemp(&pattern[0]))
        folderPath = pattern;
}

TempFolder::~TempFolder()
{
    std::error_code ignored;
    if (!folderPath.empty())
        fs::remove_all(folderPath, ignored);
}

std::vector<std::string> TempFolder::entries() const
{
    std::vector<std::string> names;
    std::error_code ignored;
    for (const auto& entry : fs::directory_iterator(folderPath, ignored))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}
