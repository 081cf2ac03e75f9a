#include "framework/platform/Logger.h"

#include <algorithm>
#include <cstdio>
#include <vector>
#include <ctime>

#include "framework/core/Log.h"
#include "framework/platform/DataFolders.h"
#include "framework/platform/RegistryValue.h"
#include "host/Folders.h"

Logger::Logger(int flag, int level) : level(level), flag(flag)
{
}

std::string Logger::fileNameFor(long long unixSeconds, int attempt)
{
    std::string name = fileNameFor(unixSeconds);
    if (attempt > 1)
        name.insert(name.size() - 4, "_" + std::to_string(attempt));
    return name;
}

namespace {

constexpr int kMaxStartsPerSecond = 1000;

// The start a log file name stands for, as (time part, attempt); false for a
// file that is no start log.
bool parseLogName(const std::string& name, std::string& when, int& attempt)
{
    // "YYYY-MM-DD HH-MM-SS" is 19 characters.
    const size_t stamp = 19;
    if (name.size() < stamp + 4 || name.compare(name.size() - 4, 4, ".log") != 0)
        return false;
    for (size_t i = 0; i < stamp; ++i) {
        const char c = name[i];
        const bool digit = c >= '0' && c <= '9';
        const bool wanted = i == 4 || i == 7 || i == 13 || i == 16 ? c == '-' : i == 10 ? c == ' ' : digit;
        if (!wanted)
            return false;
    }
    when = name.substr(0, stamp);
    const std::string rest = name.substr(stamp, name.size() - 4 - stamp);
    if (rest.empty()) {
        attempt = 1;
        return true;
    }
    if (rest.size() < 2 || rest.size() > 5 || rest[0] != '_' ||
        rest.find_first_not_of("0123456789", 1) != std::string::npos)
        return false;
    attempt = std::stoi(rest.substr(1));
    return true;
}

} // namespace

void Logger::pruneLogFolder(const std::string& folder, size_t kept)
{
    std::vector<DirectoryEntry> entries;
    if (!listDirectory(folder, entries))
        return;
    struct StartLog {
        std::string when;
        int attempt;
        std::string name;
    };
    std::vector<StartLog> logs;
    for (const DirectoryEntry& entry : entries) {
        StartLog log{std::string(), 0, entry.name};
        if (!entry.isDirectory && parseLogName(entry.name, log.when, log.attempt))
            logs.push_back(log);
    }
    if (logs.size() <= kept)
        return;
    std::sort(logs.begin(), logs.end(), [](const StartLog& a, const StartLog& b) {
        return a.when != b.when ? a.when < b.when : a.attempt < b.attempt;
    });
    for (size_t i = 0; i + kept < logs.size(); ++i)
        removeFile(folder + "/" + logs[i].name);
}

std::string Logger::fileNameFor(long long unixSeconds)
{
    const std::time_t seconds = static_cast<std::time_t>(unixSeconds);
    std::tm parts {};
    if (const std::tm* utc = std::gmtime(&seconds))
        parts = *utc;
    char name[64];
    std::snprintf(name, sizeof name, "%04d-%02d-%02d %02d-%02d-%02d.log", parts.tm_year + 1900, parts.tm_mon + 1,
                  parts.tm_mday, parts.tm_hour, parts.tm_min, parts.tm_sec);
    return name;
}

void Logger::openLogFile()
{
    if (!fileName.empty())
        return;
    const std::string folder = getScratchFolder() + "/log";
    createDirectoryTree(folder);
    const long long now = getUnixTime();
    // Claimed by creating it, so that two starts in one second never share
    // a file; an unwritable folder keeps the plain name (the open reports it).
    fileName = folder + "/" + fileNameFor(now);
    for (int attempt = 1; attempt <= kMaxStartsPerSecond; ++attempt) {
        const std::string candidate = folder + "/" + fileNameFor(now, attempt);
        if (createNewFile(candidate)) {
            fileName = candidate;
            break;
        }
        if (!pathExists(candidate))
            break;
    }
    pruneLogFolder(folder, kKeptLogFiles);
}

Logger& getLogger(int flag, int level)
{
    static Logger logger(flag, level);
    return logger;
}

std::string registerLogFile()
{
    Logger& logger = getLogger(0, 2);
    logger.openLogFile();
    if (!setLogFilePath(logger.getFileName())) {
        LOG_ERROR("log file \"" + logger.getFileName() + "\" cannot be opened");
        return std::string();
    }
    RegistryString published("qpx/cdgfilename", std::string());
    published.write(logger.getFileName());
    LOG_INFO("log started");
    return logger.getFileName();
}
