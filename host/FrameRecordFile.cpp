#include "host/FrameRecordFile.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "host/HostLog.h"

namespace {

// About one second of frames at 50 per second.
constexpr int kLinesPerFlush = 50;

} // namespace

std::unique_ptr<FrameRecordFile> FrameRecordFile::openFromEnvironment()
{
    const char* path = std::getenv(kVariable);
    if (!path || !path[0])
        return nullptr;
    return open(path);
}

std::unique_ptr<FrameRecordFile> FrameRecordFile::open(const std::string& path)
{
    std::FILE* file = std::fopen(path.c_str(), "w");
    if (!file) {
        hostLog("the frame record \"%s\" could not be created: %s", path.c_str(), std::strerror(errno));
        return nullptr;
    }
    return std::unique_ptr<FrameRecordFile>(new FrameRecordFile(file));
}

uint64_t FrameRecordFile::nowMicroseconds()
{
    timespec now {};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<uint64_t>(now.tv_sec) * 1000000u + static_cast<uint64_t>(now.tv_nsec) / 1000u;
}

uint64_t FrameRecordFile::threadProcessorMicroseconds()
{
    timespec used {};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &used);
    return static_cast<uint64_t>(used.tv_sec) * 1000000u + static_cast<uint64_t>(used.tv_nsec) / 1000u;
}

FrameRecordFile::~FrameRecordFile()
{
    std::fclose(file);
}

void FrameRecordFile::writeLine(const char* text)
{
    std::fputs(text, file);
    std::fputc('\n', file);
    if (++linesSinceFlush >= kLinesPerFlush)
        flush();
}

void FrameRecordFile::flush()
{
    std::fflush(file);
    linesSinceFlush = 0;
}
