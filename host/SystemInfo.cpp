#include "host/SystemInfo.h"

#include <cmath>
#include <cstdlib>
#include <sstream>
#include <sys/utsname.h>
#include <unistd.h>

#include "host/Folders.h"
#include "host/HostPlatform.h"

namespace {

// The system's small text files; empty when one cannot be read.
std::string readSystemFile(const char* path)
{
    constexpr size_t kMaxSystemFileSize = 16 << 20;
    std::string text;
    readWholeFile(path, text, kMaxSystemFileSize, nullptr);
    return text;
}

// "6.1.0-18-amd64" gives 60100: major, minor and patch as one number.
int buildNumberOf(const std::string& release)
{
    int parts[3] = {0, 0, 0};
    size_t index = 0;
    for (int part = 0; part < 3 && index < release.size(); ++part) {
        char* end = nullptr;
        long value = std::strtol(release.c_str() + index, &end, 10);
        if (end == release.c_str() + index)
            break;
        parts[part] = static_cast<int>(value < 0 ? 0 : (value > 99 ? 99 : value));
        index = static_cast<size_t>(end - release.c_str());
        if (index >= release.size() || release[index] != '.')
            break;
        ++index;
    }
    return parts[0] * 10000 + parts[1] * 100 + parts[2];
}

} // namespace

int cpuSpeedFromCpuInfo(const std::string& cpuInfo)
{
    std::istringstream lines(cpuInfo);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.compare(0, 7, "cpu MHz") != 0)
            continue;
        size_t colon = line.find(':');
        if (colon == std::string::npos)
            continue;
        double value = std::strtod(line.c_str() + colon + 1, nullptr);
        if (value > 0 && value < 1e6)
            return static_cast<int>(std::lround(value));
    }
    return 0;
}

SystemInformation querySystemInformation()
{
    SystemInformation info;
    utsname names;
    if (uname(&names) == 0) {
        info.computerName = names.nodename;
        info.osName = std::string(names.sysname) + " " + names.release;
        info.osBuild = buildNumberOf(names.release);
        std::string machine = names.machine;
        if (machine == "x86_64" || machine == "amd64")
            info.cpuType = 8664;
        else if (machine.size() == 4 && machine[0] == 'i' && machine.compare(2, 2, "86") == 0)
            info.cpuType = 586;
    } else {
        info.osName = "Unknown";
    }

    long processors = sysconf(_SC_NPROCESSORS_ONLN);
    info.cpuCount = processors > 0 ? static_cast<int>(processors) : 1;
    long pages = sysconf(_SC_PHYS_PAGES);
    long pageSize = sysconf(_SC_PAGESIZE);
    if (pages > 0 && pageSize > 0)
        info.totalMemoryBytes = static_cast<uint64_t>(pages) * static_cast<uint64_t>(pageSize);

    info.cpuSpeedMHz = cpuSpeedFromCpuInfo(readSystemFile("/proc/cpuinfo"));
    if (info.cpuSpeedMHz == 0) {
        long kiloHertz = std::atol(readSystemFile("/sys/devices/system/cpu/cpu0/cpufreq/cpuinfo_max_freq").c_str());
        info.cpuSpeedMHz = static_cast<int>(kiloHertz / 1000);
    }

    info.directXVersion = probeDirectXVersion();
    DesktopMode desktop = HostPlatform::current().getDesktopMode();
    info.desktopBitsPerPixel = desktop.bytesPerPixel * 8;
    info.screenWidth = desktop.width;
    info.screenHeight = desktop.height;
    return info;
}

uint64_t statusValueBytes(const std::string& status, const std::string& name)
{
    std::istringstream lines(status);
    std::string line;
    const std::string prefix = name + ":";
    while (std::getline(lines, line)) {
        if (line.compare(0, prefix.size(), prefix) != 0)
            continue;
        return std::strtoull(line.c_str() + prefix.size(), nullptr, 10) * 1024u;
    }
    return 0;
}

uint64_t residentMemoryBytes()
{
    std::string status;
    if (!readWholeFile("/proc/self/status", status, 1 << 16, nullptr))
        return 0;
    return statusValueBytes(status, "VmRSS");
}
