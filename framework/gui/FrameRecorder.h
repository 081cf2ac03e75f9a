#pragma once

#include <cstdint>
#include <memory>

#include "framework/platform/FrameClock.h"

class FrameRecordFile;

// The frame record of a timing run: one line per frame with its period (from
// its start to the next frame's start), its work (from its start to its
// end: scene, drawing, presenting), the processor time of that work, and
// whether a resource was being loaded or the scene switched during it, the
// two causes of a long frame that a player expects between screens, so that
// a long frame elsewhere stands out, and the kilobytes of compressed pictures
// unpacked during it (the first draw of a picture kept compressed). Lines
// read "<ms from the first frame's start to this one's> <period us> <work us>
// <processor us> <load 0|1> <switch 0|1> <unpacked KB>", after one header
// line starting with "#". A frame's line is
// written when the next frame starts (the last one's when the recorder goes,
// its period then being its work).
class FrameRecorder final : public iFrameObserver {
public:
    // Microseconds of a monotonic clock.
    using Clock = uint64_t (*)();

    // Null unless the host names a record file: the frame timer then has no
    // observer, and the frame loop pays nothing.
    static std::unique_ptr<FrameRecorder> fromEnvironment();

    // `processorClock` tells the frame loop's thread's processor time.
    FrameRecorder(std::unique_ptr<FrameRecordFile> file, Clock clock, Clock processorClock);
    ~FrameRecorder() override;
    FrameRecorder(const FrameRecorder&) = delete;
    FrameRecorder& operator=(const FrameRecorder&) = delete;

    void frameStarted() override;
    void frameEnded() override;

private:
    void writeFrame(uint64_t periodEnd);

    std::unique_ptr<FrameRecordFile> file;
    Clock clock;
    Clock processorClock;
    bool started = false;
    bool ended = false;
    uint64_t firstStart = 0;
    uint64_t start = 0;
    uint64_t end = 0;
    uint64_t processorAtStart = 0;
    uint64_t processor = 0;
    // Load and switch counts when the frame started; its marks once it ended.
    uint32_t loadsEndedAtStart = 0;
    uint32_t switchesAtStart = 0;
    uint64_t unpackedAtStart = 0;
    bool loading = false;
    bool switched = false;
    uint64_t unpacked = 0;
};
