#pragma once

#include "game/dialogs/DialogTortelune.h"

// "DIALOG_TOOLHINT": a tool's name and long description in a speech bubble
// that the shop shows while the mouse rests on the tool. It stands above the
// point it is placed at, to the right of it for a slot-A tool and to the
// left for a slot-B tool. The shop makes it non-modal, so the shop beneath
// keeps its hover and clicks.
class DialogToolHint : public DialogTortelune {
    TT_CLASS_RECORD(DialogToolHint)
public:
    static constexpr int kNoTool = 14;

    explicit DialogToolHint(AbstractProperty* configuration);

    // Fills the hint for the tool; unknown ids are logged and leave it empty.
    void setTool(int toolId);
    // Places the tip of the bubble's tail at (x, y).
    void placeAt(int x, int y);
    void show() override;

    int getTool() const { return toolId; }
    GameNode* getNameLabel() const { return nameLabel; }
    GameNode* getDescriptionLabel() const { return descriptionLabel; }

private:
    GameNode* nameLabel = nullptr;
    GameNode* descriptionLabel = nullptr;
    int toolId = kNoTool;
    int slot = 0;
    int minimumHeight = 0;
};
