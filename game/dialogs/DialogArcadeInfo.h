#pragma once

#include <cstdint>

#include "game/dialogs/DialogTortelune.h"

// Introduces an arcade set before it is played: its number, name and
// description, the player's best score and round in it, and a start or a
// way back. "Start" closes with result 0, "Cancel" with 1; any other close
// keeps 2.
class DialogArcadeInfo : public DialogTortelune {
    TT_CLASS_RECORD(DialogArcadeInfo)
public:
    explicit DialogArcadeInfo(AbstractProperty* configuration);

    void show() override;
    // Fills the dialog for arcade set `set` (from 0) from the texts and the current player.
    static void setup(DialogArcadeInfo* dialog, int set);
    // Draws the customer picture into the dialog's frame, where it stays while the dialog is shown.
    void paintCustomer();

    int32_t getResult() const { return result; }

private:
    static int onStart(void* context, BaseObject* button);
    static int onCancel(void* context, BaseObject* button);

    int32_t result = 2;
};
