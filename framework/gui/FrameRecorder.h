#pragma once

#include <cstdint>
#include <memory>

class FrameRecordFile;

// The frame record of a timing run: after every frame one line with the
// time since the previous frame ended and whether, in that time, a resource
// was being loaded or the scene switched (the two causes of a long frame
// that a player expects between screens), so that a long frame elsewhere
// stands out. Lines read "<ms since the first frame> <interval in us>
// <load 0|1> <switch 0|1>", after one header line starting with "#".
class FrameRecorder {
public:
    // Microseconds of a monotonic clock.
    using Clock = uint64_t (*)();

    // Null unless the host names a record file: then the frame loop pays
    // only for the test of a null pointer.
    static std::unique_ptr<FrameRecorder> fromEnvironment();

    FrameRecorder(std::unique_ptr<FrameRecordFile> file, Clock clock);
    ~FrameRecorder();
    FrameRecorder(const FrameRecorder&) = delete;
    FrameRecorder& operator=(const FrameRecorder&) = delete;

    // Called once after each frame has been presented.
    void frameEnded();

private:
    std::unique_ptr<FrameRecordFile> file;
    Clock clock;
    uint64_t start = 0;
    uint64_t previousEnd = 0;
    uint32_t loadsEnded = 0;
    uint32_t switches = 0;
};
