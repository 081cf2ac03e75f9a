#pragma once

#include "framework/gui/DialogPainter.h"

// The game's ordinary dialog frame: the nine-piece frame with, optionally,
// the little tower of cakes ("EIFFELTOWER") in its lower right corner.
class DefaultDialogPainter : public DialogPainter {
    TT_CLASS_RECORD(DefaultDialogPainter)
public:
    explicit DefaultDialogPainter(AbstractProperty* configuration);

    void paint(Graphics* graphics) override;
    bool getDrawEiffel() const { return drawEiffel; }

protected:
    bool drawEiffel = true;
};

// The frame of hint bubbles; it keeps the corner its hint points from.
class DialogHintPainter : public DefaultDialogPainter {
    TT_CLASS_RECORD(DialogHintPainter)
public:
    explicit DialogHintPainter(AbstractProperty* configuration);

    virtual void setCorner(int value) { corner = value; }
    virtual int getCorner() const { return corner; }

protected:
    int corner = 9;
};

// The hint bubble of the chef, with its pointer on the side named by "connector".
// TODO(hints): the connector piece is drawn with the hint dialogs' issue.
class DialogHintHenriPainter : public DialogHintPainter {
    TT_CLASS_RECORD(DialogHintHenriPainter)
public:
    explicit DialogHintHenriPainter(AbstractProperty* configuration);
};
