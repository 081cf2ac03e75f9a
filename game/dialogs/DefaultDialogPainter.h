#pragma once

#include "framework/gui/DialogPainter.h"

// The game's ordinary dialog frame: the nine-piece frame with, optionally,
// the little tower of cakes ("EIFFELTOWER") in its lower right corner.
class DefaultDialogPainter : public DialogPainter {
    TT_CLASS_RECORD(DefaultDialogPainter)
public:
    explicit DefaultDialogPainter(AbstractProperty* configuration);

    // Centre once at (36, 36), opaque; the cake tower; then the frame.
    void paint(Graphics* graphics) override;
    bool getDrawEiffel() const { return drawEiffel; }

protected:
    // Draws the top-left width x height part of the centre piece once at
    // (x, y) and makes what it covers opaque.
    void drawCentreOnce(Graphics* graphics, int x, int y, int width, int height);
    // The whole picture black and transparent, when "initalpha" asks for it.
    void blackenWhenAsked(Graphics* graphics);

    bool drawEiffel = true;
};

// The frame of hint bubbles; it keeps the corner its hint points from.
class DialogHintPainter : public DefaultDialogPainter {
    TT_CLASS_RECORD(DialogHintPainter)
public:
    // The corner of a bubble whose speaker is not on screen: it has no pointer.
    static constexpr int kNoConnector = 9;

    explicit DialogHintPainter(AbstractProperty* configuration);

    // Blackened when asked, the centre once at (86, 86), then the frame.
    void paint(Graphics* graphics) override;
    // A new corner repaints the frame on its next draw.
    virtual void setCorner(int value)
    {
        if (value != corner)
            changed = true;
        corner = value;
    }
    virtual int getCorner() const { return corner; }

protected:
    int corner = 9;
};

// The hint bubble of the chef, with its pointer (pieces 9 to 12: top,
// bottom left, bottom right, left) on the side named by "connector".
class DialogHintHenriPainter : public DialogHintPainter {
    TT_CLASS_RECORD(DialogHintHenriPainter)
public:
    explicit DialogHintHenriPainter(AbstractProperty* configuration);

    // Blackened when asked, the centre repeated, the frame, then the connector.
    void paint(Graphics* graphics) override;
};
