#include "host/HostLog.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>

namespace {

std::atomic<HostLogSink> currentSink{nullptr};

} // namespace

void setHostLogSink(HostLogSink sink)
{
    currentSink.store(sink);
}

void hostLog(const char* format, ...)
{
    char buffer[1024];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(buffer, sizeof buffer, format, arguments);
    va_end(arguments);

    HostLogSink sink = currentSink.load();
    if (sink)
        sink(buffer);
    else
        std::fprintf(stderr, "%s\n", buffer);
}
