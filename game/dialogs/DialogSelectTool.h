#pragma once

#include "game/dialogs/DialogTortelune.h"

class Button;
class Label;
class Sprite;

// The choice of the tools for the next level ("DIALOG_SELECTTOOL"): all
// fourteen tools (slot 0 first, then slot 1), the chosen one of each slot
// marked, bought ones pickable, and the name and short description of each
// slot's tool (a hovered tool previews there for up to a second). Choices go
// straight into the profile's tool slots and the running session; OK hands
// them to the level information dialog.
class DialogSelectTool : public DialogTortelune {
    TT_CLASS_RECORD(DialogSelectTool)
public:
    static constexpr int kTools = 14;

    explicit DialogSelectTool(AbstractProperty* configuration);

    void show() override;
    void update(int deltaMs) override;
    bool onMouseMove(int x, int y, int keys) override;

    void refresh();
    void showSlotInfo(int slot, int toolId);
    // The tool id at each position (-1 before the first show).
    int getToolAt(int position) const;
    Button* getToolButton(int position) const { return buttons[position]; }
    Sprite* getToolSprite(int position) const { return sprites[position]; }
    Label* getNameLabel(int slot) const { return names[slot]; }
    Label* getDescriptionLabel(int slot) const { return descriptions[slot]; }

private:
    static int onToolClicked(void* context, BaseObject* button);
    static int onOk(void* context, BaseObject* button);
    int slotOf(int toolId) const;

    Button* buttons[kTools] = {};
    Sprite* sprites[kTools] = {};
    Sprite* stains[2] = {};
    Sprite* frames[2] = {};
    Label* names[2] = {};
    Label* descriptions[2] = {};
    int slotInfoTimer[2] = {0, 0};
    int hoveredIndex = -1;
    bool found = false;
};
