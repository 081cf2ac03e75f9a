#include "host/HostLog.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>

namespace {

std::atomic<HostLogSink> currentSink{nullptr};

void hand(HostLogLevel level, const char* format, va_list arguments)
{
    char buffer[1024];
    std::vsnprintf(buffer, sizeof buffer, format, arguments);
    HostLogSink sink = currentSink.load();
    if (sink)
        sink(level, buffer);
    else
        std::fprintf(stderr, "%s\n", buffer);
}

} // namespace

void setHostLogSink(HostLogSink sink)
{
    currentSink.store(sink);
}

void hostLog(const char* format, ...)
{
    va_list arguments;
    va_start(arguments, format);
    hand(HostLogLevel::Problem, format, arguments);
    va_end(arguments);
}

void hostLogNotice(const char* format, ...)
{
    va_list arguments;
    va_start(arguments, format);
    hand(HostLogLevel::Notice, format, arguments);
    va_end(arguments);
}
