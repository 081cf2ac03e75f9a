#pragma once

#include <functional>
#include <string>

// The one logging entry point of the codebase. Lines go to the run's log file
// once one is set (see Logger in framework/platform), and warnings and errors
// also to standard error. Safe to call from any thread and before start-up.
enum class LogLevel { Error = 0, Warning = 1, Info = 2, Debug = 3 };

void logLine(LogLevel level, const std::string& message);

// The file that later lines are appended to; an empty path stops file output.
// Returns false when the file cannot be opened (lines still reach stderr).
bool setLogFilePath(const std::string& path);
std::string getLogFilePath();

// Lines above this level are dropped (Info by default).
void setLogLevel(LogLevel level);
// Whether warnings and errors are echoed to standard error (on by default).
void setLogEcho(bool enabled);

// Sees every line that passes the level filter; tests use it to check that a
// fault was reported. Returns the previous observer.
using LogObserver = std::function<void(LogLevel, const std::string&)>;
LogObserver setLogObserver(LogObserver observer);

#define LOG_ERROR(message) logLine(LogLevel::Error, (message))
#define LOG_WARNING(message) logLine(LogLevel::Warning, (message))
#define LOG_INFO(message) logLine(LogLevel::Info, (message))
#define LOG_DEBUG(message) logLine(LogLevel::Debug, (message))
