#pragma once

#include <cstddef>
#include <memory>

#include "framework/core/BaseObject.h"

// The bytes of one file, with a zero byte after the content so that text can
// be parsed in place. Empty (null data) until something is loaded.
class MemoryBuffer : public BaseObject {
    TT_CLASS_RECORD(MemoryBuffer)
public:
    // The largest content a buffer accepts; larger files are refused.
    static constexpr size_t kMaxSize = size_t(1) << 30;

    MemoryBuffer() = default;

    // Replaces the content with `size` zeroed bytes (+ the terminator);
    // false (and empty) when the size is above kMaxSize or memory runs out.
    bool allocate(size_t size);
    bool assign(const void* bytes, size_t size);
    void clear();

    char* getData() { return data.get(); }
    const char* getData() const { return data.get(); }
    int getSize() const { return static_cast<int>(size); }
    size_t getByteCount() const { return size; }
    bool isEmpty() const { return !data; }

private:
    size_t size = 0;
    std::unique_ptr<char[]> data;
};
