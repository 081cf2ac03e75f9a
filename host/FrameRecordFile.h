#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

// The file a timing run of the game writes its frame record into, named by
// the environment variable TORTELUNE_FRAME_RECORD. Lines are buffered and
// reach the file about once a second and when the record is closed, so that
// recording adds no system call to most frames.
class FrameRecordFile {
public:
    static constexpr const char* kVariable = "TORTELUNE_FRAME_RECORD";

    // The file the variable names, created anew; null when the variable is
    // unset or empty, or when the file cannot be created (logged).
    static std::unique_ptr<FrameRecordFile> openFromEnvironment();
    // Null (logged) when the file cannot be created.
    static std::unique_ptr<FrameRecordFile> open(const std::string& path);
    // A monotonic clock in microseconds, for the frame times.
    static uint64_t nowMicroseconds();
    // The processor time of the calling thread in microseconds: a frame whose
    // work took much longer waited (for the display, a lock, the processor).
    static uint64_t threadProcessorMicroseconds();

    ~FrameRecordFile();
    FrameRecordFile(const FrameRecordFile&) = delete;
    FrameRecordFile& operator=(const FrameRecordFile&) = delete;

    // One line; the newline is added.
    void writeLine(const char* text);
    void flush();

private:
    explicit FrameRecordFile(std::FILE* file) : file(file) {}

    std::FILE* file;
    int linesSinceFlush = 0;
};
