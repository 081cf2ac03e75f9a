#pragma once

#include <cstdint>

// A rectangle of window-surface pixels.
struct SurfaceRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    bool isEmpty() const { return width <= 0 || height <= 0; }
    bool operator==(const SurfaceRect& other) const
    {
        return x == other.x && y == other.y && width == other.width && height == other.height;
    }
};

// The window's own pixels, as lockSurface hands them out.
struct WindowSurface {
    uint8_t* pixels = nullptr;
    // Bytes from one row to the next.
    int pitch = 0;
    int width = 0;
    int height = 0;
    // 4: 0x00RRGGBB words (the top byte is not shown); 2: RGB565 words.
    int bytesPerPixel = 4;
    // Set the first time a surface is handed out (a new window, a new size):
    // nothing has been drawn into it yet, bars included.
    bool fresh = false;
};

// Where a frame of frameWidth x frameHeight is shown in a surface of
// surfaceWidth x surfaceHeight: as large as fits with its aspect kept,
// centred; the rest are bars. At the frame's own size it fills the surface.
inline SurfaceRect fitFrame(int surfaceWidth, int surfaceHeight, int frameWidth, int frameHeight)
{
    SurfaceRect area;
    if (surfaceWidth <= 0 || surfaceHeight <= 0 || frameWidth <= 0 || frameHeight <= 0)
        return area;
    // The side that limits the scale takes the whole surface; the other is
    // rounded to the nearest pixel.
    const int64_t wide = int64_t(surfaceWidth) * frameHeight, tall = int64_t(surfaceHeight) * frameWidth;
    if (wide <= tall) {
        area.width = surfaceWidth;
        area.height = int((int64_t(surfaceWidth) * frameHeight * 2 + frameWidth) / (2 * int64_t(frameWidth)));
    } else {
        area.height = surfaceHeight;
        area.width = int((int64_t(surfaceHeight) * frameWidth * 2 + frameHeight) / (2 * int64_t(frameHeight)));
    }
    area.x = (surfaceWidth - area.width) / 2;
    area.y = (surfaceHeight - area.height) / 2;
    return area;
}

// A surface point in frame pixels through the area of fitFrame. Points on
// the bars come out beyond the frame's edges (negative, or past its size),
// as they lie outside the picture.
inline void surfaceToFrame(const SurfaceRect& area, int frameWidth, int frameHeight, int& x, int& y)
{
    if (area.isEmpty())
        return;
    // frame = floor((surface - area origin) * frame size / area size)
    auto map = [](int value, int origin, int frameSize, int areaSize) {
        const int64_t scaled = int64_t(value - origin) * frameSize;
        const int64_t quotient = scaled / areaSize;
        return int(scaled % areaSize < 0 ? quotient - 1 : quotient);
    };
    x = map(x, area.x, frameWidth, area.width);
    y = map(y, area.y, frameHeight, area.height);
}
