#pragma once

#include <cstdint>
#include <string>

// A description of the machine for the usage statistics. Everything is read
// from the system (no measuring loops).
struct SystemInformation {
    std::string computerName;
    std::string osName;
    int osBuild = 0;
    // 8664 for 64-bit x86, 586 for 32-bit x86, 0 for others.
    int cpuType = 0;
    int cpuSpeedMHz = 0;
    int cpuCount = 1;
    uint64_t totalMemoryBytes = 0;
    int directXVersion = 0;
    int desktopBitsPerPixel = 32;
    int screenWidth = 0;
    int screenHeight = 0;
};

SystemInformation querySystemInformation();
// There is no DirectX here; the probe reports 0.
inline int probeDirectXVersion() { return 0; }
// The cpu speed from a /proc/cpuinfo text (the first "cpu MHz" line, rounded); 0 when absent.
int cpuSpeedFromCpuInfo(const std::string& cpuInfo);
// The process's resident memory in bytes (VmRSS of /proc/self/status); 0 when unknown.
uint64_t residentMemoryBytes();
// The value in kB of a "Name:   123 kB" line of a /proc status text, in bytes; 0 when absent.
uint64_t statusValueBytes(const std::string& status, const std::string& name);
