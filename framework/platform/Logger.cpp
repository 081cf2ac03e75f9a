#include "framework/platform/Logger.h"

#include <cstdio>
#include <ctime>

#include "framework/core/Log.h"
#include "framework/platform/DataFolders.h"
#include "framework/platform/RegistryValue.h"
#include "host/Folders.h"

Logger::Logger(int flag, int level) : level(level), flag(flag)
{
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
    fileName = folder + "/" + fileNameFor(getUnixTime());
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
