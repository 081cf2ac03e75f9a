#pragma once

#include <string>

// Where the host layer reports what went wrong (failed writes, lock waits that
// timed out, a display that could not be opened). Until the framework's log
// installs its own sink, lines go to standard error.
// A line is a problem unless it says otherwise: a normal event the player
// need not look into (a fallback that works as designed) is `notice`.
enum class HostLogLevel { Problem, Notice };
using HostLogSink = void (*)(HostLogLevel level, const std::string& line);

// Installs the sink for later lines; null restores standard error.
void setHostLogSink(HostLogSink sink);
// Formats like printf and hands one line to the sink, as a problem.
void hostLog(const char* format, ...) __attribute__((format(printf, 1, 2)));
// The same for a normal event.
void hostLogNotice(const char* format, ...) __attribute__((format(printf, 1, 2)));
