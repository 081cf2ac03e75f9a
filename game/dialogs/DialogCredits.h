#pragma once

#include "game/dialogs/DialogTortelune.h"

class Label;

// The credits: the text of "MESSAGE" scrolls up through a band of the
// dialog, waits, and the dialog closes by itself; "BUTTON_OK" closes it at
// any time. The scroll starts afresh at every showing and stops when the
// dialog closes, so the close callback runs once.
class DialogCredits : public DialogTortelune {
    TT_CLASS_RECORD(DialogCredits)
public:
    explicit DialogCredits(AbstractProperty* configuration);

    void show() override;
    // Stops the scroll, then the fading close.
    void closeCredits();

    static int onOk(void* context, BaseObject* button);

    Label* getMessage() const { return message; }
    int getStartY() const { return startY; }
    int getEndY() const { return endY; }

private:
    static int onScrollDone(void* context, BaseObject* modifier);
    void startScroll();

    Label* message = nullptr;
    int clipHeight = 0;
    int scrollDuration = 0;
    int startDelay = 0;
    int endDelay = 0;
    int messageX = 0;
    int messageY = 0;
    int startY = 0;
    int endY = 0;
};
