#pragma once

#include <string>

// Where the host layer reports what went wrong (failed writes, lock waits that
// timed out, a display that could not be opened). Until the framework's log
// installs its own sink, lines go to standard error.
using HostLogSink = void (*)(const std::string& line);

// Installs the sink for later lines; null restores standard error.
void setHostLogSink(HostLogSink sink);
// Formats like printf and hands one line to the sink.
void hostLog(const char* format, ...) __attribute__((format(printf, 1, 2)));
