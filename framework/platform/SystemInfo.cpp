#include "framework/platform/SystemInfo.h"

#include <cstdio>

#include "framework/core/PropertyNode.h"
#include "host/SystemInfo.h"

namespace {

// The name field is a fixed buffer in the file's other writers; keep to it.
constexpr size_t kMaxComputerName = 1023;

} // namespace

SystemInfo::SystemInfo() : SystemInfo(querySystemInformation()) {}

SystemInfo::SystemInfo(const SystemInformation& information)
    : computerName(information.computerName.substr(0, kMaxComputerName)),
      osName(information.osName.empty() ? std::string("Unknown") : information.osName),
      osBuild(information.osBuild),
      cpuType(information.cpuType),
      cpuSpeed(information.cpuSpeedMHz),
      cpuCount(information.cpuCount),
      totalMemoryBytes(information.totalMemoryBytes),
      directXVersion(information.directXVersion),
      bitsPerPixel(information.desktopBitsPerPixel),
      screenWidth(information.screenWidth),
      screenHeight(information.screenHeight)
{
}

int SystemInfo::systemMemoryFigure(uint64_t totalBytes)
{
    uint64_t figure = totalBytes / 1000 / 1024;
    return figure > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(figure);
}

void SystemInfo::writeTo(PropertyNode* node, const std::string& gameId) const
{
    char directX[16];
    std::snprintf(directX, sizeof directX, "#%04x", static_cast<unsigned>(directXVersion) & 0xFFFFu);
    node->setString("GameId", gameId, true);
    node->setString("CompName", computerName, true);
    node->setInt("CPUSpeed", cpuSpeed, true);
    node->setInt("CPUType", cpuType, true);
    node->setInt("NumberOfCPUs", cpuCount, true);
    node->setInt("CPUCaps", 0, true);
    node->setString("OSName", osName, true);
    node->setInt("WinBuild", osBuild, true);
    node->setInt("SysMem", systemMemoryFigure(totalMemoryBytes), true);
    node->setString("DirectX", directX, true);
    node->setInt("ScreenWidth", screenWidth, true);
    node->setInt("ScreenHeight", screenHeight, true);
    node->setInt("BitDepth", bitsPerPixel, true);
}
