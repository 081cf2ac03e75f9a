#pragma once

#include <cstdint>

#include "framework/platform/Task.h"

// A frame task that keeps rarely drawn pictures small: it advances the clock
// that image locks record, and about once a second lets go of the raw buffers
// of loaded pictures that keep a compressed copy and were not drawn for a
// while (the next lock restores them), except the pictures of the sections
// the current scene uses.
class IdleImageReleaser : public Task {
    TT_CLASS_RECORD(IdleImageReleaser)
public:
    static constexpr int64_t kDefaultIdleMs = 10000;
    static constexpr int64_t kScanIntervalMs = 1000;

    explicit IdleImageReleaser(int64_t idleMs = kDefaultIdleMs) : idleMs(idleMs) {}

    void run(int elapsedMs) override;
    // Releases what is idle now; the number of pictures released.
    int releaseIdlePictures();

private:
    int64_t idleMs;
    int64_t clock = 0;
    int64_t sinceScan = 0;
};
