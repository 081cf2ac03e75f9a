#pragma once

// Large blocks (picture buffers above all) always get pages of their own from
// the system and go back to it when freed. The allocator would otherwise raise
// its threshold for that after each such free and serve the next ones from its
// heap, which keeps what it once held: pictures unpacked and let go again, scene
// after scene, would then raise the resident size step by step.
void useOwnPagesForLargeBlocks();

// The threshold, in bytes, above which a block gets pages of its own.
constexpr long kOwnPagesThresholdBytes = 256 * 1024;
