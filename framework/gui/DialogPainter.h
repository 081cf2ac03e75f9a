#pragma once

#include <cstdint>

#include "framework/gui/AbstractPainter.h"

// The nine-piece painter: corners at their own size, edges repeated along the
// sides, the centre image repeated over the inside (or the inside filled with
// a colour), optionally building the frame image's alpha channel as it goes.
class DialogPainter : public AbstractPainter {
    TT_CLASS_RECORD(DialogPainter)
public:
    // Reads the AbstractPainter keys, then "adjustalpha", "initalpha",
    // "usemaxalpha" and "centercolor".
    explicit DialogPainter(AbstractProperty* configuration);

    void paint(Graphics* graphics) override;
    // Widens to the fixed corners plus whole edge tiles.
    int32_t fitWidth(int32_t width) override;
    int32_t fitHeight(int32_t height) override;

    bool getAdjustAlpha() const { return adjustAlpha; }
    bool getInitAlpha() const { return initAlpha; }
    bool getUseMaxAlpha() const { return useMaxAlpha; }
    uint32_t getCenterColor() const { return centerColor; }

protected:
    // Repeats a piece from the rectangle's corner while copies start inside
    // it; the last row and column are cut only by the graphics' clip.
    void drawPiece(Graphics* graphics, Image* piece, int32_t x, int32_t y, int32_t width, int32_t height);
    // Fills the inside of the frame with centerColor (and its alpha).
    void paintCentreColour(Graphics* graphics, int32_t width, int32_t height);
    // The four edges, repeated along the sides, then the four corners.
    void paintEdgesAndCorners(Graphics* graphics, int32_t width, int32_t height);

private:
    static int32_t fit(int32_t size, int32_t fixed, int32_t tile);
    // Raises the alpha of every pixel of the rectangle to at least `alpha`.
    static void raiseAlpha(Graphics* graphics, int32_t x, int32_t y, int32_t width, int32_t height, int32_t alpha);

    bool adjustAlpha = true;
    bool initAlpha = false;
    bool useMaxAlpha = false;
    uint32_t centerColor = 0;
};
