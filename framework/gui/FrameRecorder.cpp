#include "framework/gui/FrameRecorder.h"

#include <cinttypes>
#include <cstdio>

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
    return std::make_unique<FrameRecorder>(std::move(file), &FrameRecordFile::nowMicroseconds);
}

FrameRecorder::FrameRecorder(std::unique_ptr<FrameRecordFile> file, Clock clock)
    : file(std::move(file)), clock(clock), start(clock()), previousEnd(start),
      loadsEnded(ResourceObject::getLoadsEnded()), switches(sceneSwitches())
{
    this->file->writeLine("# ms interval_us load switch");
}

FrameRecorder::~FrameRecorder() = default;

void FrameRecorder::frameEnded()
{
    const uint64_t now = clock();
    const uint32_t ended = ResourceObject::getLoadsEnded();
    const uint32_t switched = sceneSwitches();
    // A load still running now, or one that ended since the last frame, overlapped this frame.
    const bool loading = ended != loadsEnded || ResourceObject::getLoadsBegun() != ended;
    char line[96];
    std::snprintf(line, sizeof line, "%" PRIu64 " %" PRIu64 " %d %d", (now - start) / 1000, now - previousEnd,
                  loading ? 1 : 0, switched != switches ? 1 : 0);
    file->writeLine(line);
    previousEnd = now;
    loadsEnded = ended;
    switches = switched;
}
