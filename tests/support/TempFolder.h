#pragma once

#include <string>
#include <vector>

// A fresh, empty folder under the build tree's test scratch space, removed
// with everything in it when the object goes.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return folderPath; }
    // The names in the folder (dot files included), sorted.
    std::vector<std::string> entries() const;

private:
    std::string folderPath;
};
