#pragma once

#include "framework/core/RefPointer.h"
#include "framework/platform/Task.h"
#include "framework/platform/iInputListener.h"
#include "framework/scenegraph/GameNode.h"
#include "framework/scenegraph/Sprite.h"

class Graphics;
class ToolTipLabel;

// The per-frame task that finds the sprite with a tool-tip text under the
// pointer, waits the show delay, places the tip inside the screen and draws
// it over the frame until the remove delay runs out.
class ToolTip : public Task, public iInputListener {
    TT_CLASS_RECORD(ToolTip)
public:
    explicit ToolTip(AbstractProperty* configuration);
    ~ToolTip() override;

    Interface* getInterface(const ClassRecord* record) override;
    void run(int elapsedMs) override;

    bool onMouseMove(int x, int y, int keys) override;
    void resetInput() override {}
    // A tool tip hears moves even while its container is off.
    bool isInputEnabled() const override { return true; }

    void setRoot(GameNode* node) { root = node; }
    GameNode* getRoot() const { return root.get(); }
    ToolTipLabel* getRenderer() const { return renderer.get(); }
    void setRenderer(ToolTipLabel* label);
    // Where drawn tips go: the game window's back buffer unless set.
    void setGraphics(Graphics* target) { graphics = target; }
    Sprite* getCurrentNode() const;
    // True in a frame in which the tip was drawn.
    bool isShowing() const { return showing; }
    int getTipX() const { return tipX; }
    int getTipY() const { return tipY; }

private:
    Sprite* findNode() const;
    void placeTip();

    RefPointer<GameNode> root;
    RefPointer<ToolTipLabel> renderer;
    RefPointer<NodeLink> currentNode;
    int pointerX = 0;
    int pointerY = 0;
    int tipX = 0;
    int tipY = 0;
    int showCountdown = 0;
    int showDelay = 1000;
    int removeCountdown = 0;
    int removeDelay = 10000;
    bool showing = false;
    Graphics* graphics = nullptr;
};
