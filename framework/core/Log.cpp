#include "framework/core/Log.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <mutex>

#include "host/HostLog.h"

namespace {

struct LogState {
    std::mutex mutex;
    std::FILE* file = nullptr;
    std::string path;
    LogLevel level = LogLevel::Info;
    bool echo = true;
    LogObserver observer;
};

// Built on first use and never destroyed, so that logging works from static
// initialisers and destructors too. Every line is flushed as it is written.
LogState& state()
{
    static LogState* instance = new LogState;
    return *instance;
}

const char* levelName(LogLevel level)
{
    switch (level) {
    case LogLevel::Error:
        return "ERROR";
    case LogLevel::Warning:
        return "WARNING";
    case LogLevel::Info:
        return "INFO";
    case LogLevel::Debug:
        return "DEBUG";
    }
    return "?";
}

std::string timeStamp()
{
    using namespace std::chrono;
    const auto now = system_clock::now();
    const std::time_t seconds = system_clock::to_time_t(now);
    const int millis = static_cast<int>(duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000);
    // Called under the log lock; gmtime's shared buffer is copied at once.
    std::tm parts = *std::gmtime(&seconds);
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d:%02d.%03d", parts.tm_year + 1900,
                  parts.tm_mon + 1, parts.tm_mday, parts.tm_hour, parts.tm_min, parts.tm_sec, millis);
    return buffer;
}

void forwardHostLine(HostLogLevel level, const std::string& line)
{
    logLine(level == HostLogLevel::Notice ? LogLevel::Info : LogLevel::Warning, line);
}

// The host layer reports through its own sink; route it into this log.
const bool hostSinkInstalled = [] {
    setHostLogSink(&forwardHostLine);
    return true;
}();

} // namespace

void logLine(LogLevel level, const std::string& message)
{
    LogState& log = state();
    LogObserver observer;
    {
        std::lock_guard<std::mutex> lock(log.mutex);
        if (level > log.level)
            return;
        const std::string line = timeStamp() + " " + levelName(level) + " " + message + "\n";
        if (log.file) {
            std::fputs(line.c_str(), log.file);
            std::fflush(log.file);
        }
        if (log.echo && level <= LogLevel::Warning)
            std::fputs(line.c_str(), stderr);
        observer = log.observer;
    }
    // Called outside the lock so that an observer may log in turn.
    if (observer)
        observer(level, message);
}

bool setLogFilePath(const std::string& path)
{
    LogState& log = state();
    std::lock_guard<std::mutex> lock(log.mutex);
    if (log.file) {
        std::fclose(log.file);
        log.file = nullptr;
    }
    log.path = path;
    if (path.empty())
        return true;
    log.file = std::fopen(path.c_str(), "a");
    return log.file != nullptr;
}

std::string getLogFilePath()
{
    LogState& log = state();
    std::lock_guard<std::mutex> lock(log.mutex);
    return log.path;
}

void setLogLevel(LogLevel level)
{
    LogState& log = state();
    std::lock_guard<std::mutex> lock(log.mutex);
    log.level = level;
}

void setLogEcho(bool enabled)
{
    LogState& log = state();
    std::lock_guard<std::mutex> lock(log.mutex);
    log.echo = enabled;
}

LogObserver setLogObserver(LogObserver observer)
{
    LogState& log = state();
    std::lock_guard<std::mutex> lock(log.mutex);
    std::swap(log.observer, observer);
    return observer;
}
