#pragma once

#include <cstdint>
#include <string>

class PropertyNode;
struct SystemInformation;

// The description of the machine that heads the usage statistics, built for
// one write and then dropped. Everything is read from the system; nothing is
// measured by waiting.
class SystemInfo {
public:
    // Reads the running machine.
    SystemInfo();
    explicit SystemInfo(const SystemInformation& information);

    // Writes the values, untyped, in the statistics file's order; `gameId`
    // names the game ("GAME_ID").
    void writeTo(PropertyNode* node, const std::string& gameId) const;

    // Total memory as the statistics count it: bytes / 1000 / 1024, both truncating.
    static int systemMemoryFigure(uint64_t totalBytes);

    std::string computerName;
    std::string osName;
    int osBuild = 0;
    int cpuType = 0;
    int cpuSpeed = 0;
    int cpuCount = 1;
    uint64_t totalMemoryBytes = 0;
    int directXVersion = 0;
    int bitsPerPixel = 32;
    int screenWidth = 0;
    int screenHeight = 0;
};
