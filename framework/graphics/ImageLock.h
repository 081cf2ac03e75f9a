#pragma once

#include "framework/graphics/Image.h"

// Locks an image for the lifetime of the scope, so that every return path of a
// pixel routine unlocks what it locked.
class ImageLock {
public:
    explicit ImageLock(Image* image) : image(image), locked(image && image->lock()) {}
    ~ImageLock()
    {
        if (locked)
            image->unlock();
    }
    ImageLock(const ImageLock&) = delete;
    ImageLock& operator=(const ImageLock&) = delete;

    explicit operator bool() const { return locked; }

private:
    Image* image;
    bool locked;
};
