#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "framework/core/BaseObject.h"
#include "framework/core/RefPointer.h"
#include "framework/graphics/Image.h"

class AbstractProperty;
class Graphics;

// Paints a dialog's frame and background from up to nine named images (the
// corners, edges and centre of a three-by-three grid) and fits dialog sizes
// to them. This base holds the names and finds the images once.
class AbstractPainter : public BaseObject {
    TT_CLASS_RECORD(AbstractPainter)
public:
    // Piece indexes, in reading order of the grid.
    enum Piece : int32_t {
        TopLeft = 0, Top = 1, TopRight = 2,
        Left = 3, Centre = 4, Right = 5,
        BottomLeft = 6, Bottom = 7, BottomRight = 8,
    };

    // Reads "section" and the vector "images" of piece names (an empty name
    // means no piece).
    explicit AbstractPainter(AbstractProperty* configuration);

    // Paints the frame over the whole of the graphics' target.
    virtual void paint(Graphics* graphics) = 0;
    // The piece, looked up at the first call; null when missing.
    virtual Image* getImage(int32_t index);
    // The size to use for a requested dialog width or height.
    virtual int32_t fitWidth(int32_t width) = 0;
    virtual int32_t fitHeight(int32_t height) = 0;

    bool isChanged() const { return changed; }
    void setChanged(bool value) { changed = value; }
    const std::string& getSection() const { return section; }
    const std::vector<std::string>& getImageNames() const { return imageNames; }

protected:
    // Width and height of a piece, 0 when it is missing.
    int32_t pieceWidth(int32_t index);
    int32_t pieceHeight(int32_t index);

    bool changed = true;

private:
    void lookUpImages();

    bool imagesLoaded = false;
    std::string section;
    std::vector<std::string> imageNames;
    std::vector<RefPointer<Image>> images;
};
