#pragma once

#include <string>
#include <vector>

#include "framework/core/RefPointer.h"
#include "framework/graphics/Image.h"
#include "framework/gui/GuiCallback.h"
#include "framework/platform/InputHandler.h"
#include "framework/platform/iInputListener.h"
#include "framework/scenegraph/Sprite.h"

// The two-state widget of the dialogs: a check box, or a radio button when it
// belongs to a group. It shows one of eight frames stacked top to bottom:
// (enabled ? state : 3) + (checked ? 4 : 0).
class Switch : public Sprite, public iInputListener, public GuiCallback {
    TT_CLASS_RECORD(Switch)
public:
    enum State : int { Normal = 0, Over = 1, Pressed = 2 };

    explicit Switch(AbstractProperty* configuration);
    ~Switch() override;

    Interface* getInterface(const ClassRecord* record) override;
    // Shows the frame of the given state for the enabled and checked flags.
    void setCurrentFrame(int state) override;
    bool containsPoint(int px, int py) override;
    void setImage(Image* image) override;
    virtual void setEnabled(bool value);
    // Checking a radio switch unchecks the other members of its group; no callback, no sound.
    virtual void setChecked(bool value);

    bool isEnabled() const { return enabled; }
    bool isChecked() const { return checked; }
    int getState() const { return state; }
    int getGroupId() const { return groupId; }
    bool isHovered() const { return hovered.isSet(); }
    // An extra node whose area counts as the switch's (its caption, say).
    void setHitShape(GameNode* node) { hitShape = node; }

    bool onMouseMove(int x, int y, int keys) override;
    bool onLeftDown(int x, int y, int keys, bool doubleClick) override;
    bool onLeftUp(int x, int y, int keys) override;
    void resetInput() override;

private:
    void setState(int value);
    void showFrame();

    int state = Normal;
    bool enabled = true;
    bool checked = false;
    std::string onSound;
    std::string offSound;
    std::string disabledSound;
    std::string soundSection;
    RefPointer<GameNode> hitShape;
    RefPointer<Image> hitMask;
    int hitMaskThreshold = -1;
    int groupId = -1;
    HoverFlag hovered;
};
