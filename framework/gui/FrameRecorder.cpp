#include "framework/gui/FrameRecorder.h"

#include <cinttypes>
#include <cstdio>

#include "framework/graphics/Image.h"
#include "framework/gui/SceneManager.h"
#include "framework/resources/ResourceObject.h"
#include "host/FrameRecordFile.h"

namespace {

uint32_t sceneSwitches()
{
    return SceneManager::instance ? SceneManager::instance->getSwitchCount() : 0;
}

} // namespace

std::unique_ptr<FrameRecorder> FrameRecorder::fromEnvironment()
{
    std::unique_ptr<FrameRecordFile> file = FrameRecordFile::openFromEnvironment();
    if (!file)
        return nullptr;
    return std::make_unique<FrameRecorder>(std::move(file), &FrameRecordFile::nowMicroseconds,
                                           &FrameRecordFile::threadProcessorMicroseconds);
}

FrameRecorder::FrameRecorder(std::unique_ptr<FrameRecordFile> file, Clock clock, Clock processorClock)
    : file(std::move(file)), clock(clock), processorClock(processorClock)
{
    this->file->writeLine("# ms period_us work_us processor_us load switch unpacked_kb");
}

FrameRecorder::~FrameRecorder()
{
    if (started && ended)
        writeFrame(end);
}

void FrameRecorder::frameStarted()
{
    const uint64_t now = clock();
    if (!started)
        firstStart = now;
    else if (ended)
        writeFrame(now);
    started = true;
    ended = false;
    start = now;
    processorAtStart = processorClock();
    loadsEndedAtStart = ResourceObject::getLoadsEnded();
    switchesAtStart = sceneSwitches();
    unpackedAtStart = Image::getUnpackedBytes();
}

void FrameRecorder::frameEnded()
{
    if (!started)
        return;
    end = clock();
    processor = processorClock() - processorAtStart;
    ended = true;
    // Every load that ran during the frame, or was running when it started,
    // began before its end without having ended before its start.
    loading = ResourceObject::getLoadsBegun() != loadsEndedAtStart;
    switched = sceneSwitches() != switchesAtStart;
    unpacked = Image::getUnpackedBytes() - unpackedAtStart;
}

void FrameRecorder::writeFrame(uint64_t periodEnd)
{
    char line[160];
    std::snprintf(line, sizeof line, "%" PRIu64 " %" PRIu64 " %" PRIu64 " %" PRIu64 " %d %d %" PRIu64,
                  (start - firstStart) / 1000, periodEnd - start, end - start, processor, loading ? 1 : 0,
                  switched ? 1 : 0, (unpacked + 1023) / 1024);
    file->writeLine(line);
}
