#pragma once

#include <array>

#include "framework/core/RefPointer.h"
#include "game/scenes/SceneTortelune.h"

class Button;
class DialogToolHint;
class Label;
class LabelTicker;
class Sprite;
class ToolNode;

// The tool shop ("SCENE_TOOLSHOP"): fourteen tools on two shelves, bought
// with stars through "DIALOG_BUYTOOL" and explained by a tool hint while the
// mouse rests on one; a vendor who points at the kind of tool under the
// mouse, blankets over the second shelf until it opens, and little
// characters that hop across now and then. A player's first visit brings a
// free tool.
class SceneToolShop : public SceneTortelune {
    TT_CLASS_RECORD(SceneToolShop)
public:
    static constexpr int kToolCount = 14;
    // The tool everyone gets on the first visit.
    static constexpr int kFreeTool = 6;
    // The hovered tool when none is.
    static constexpr int kNoTool = 14;

    explicit SceneToolShop(AbstractProperty* configuration);

    void loadContent() override;
    void show() override;
    void hide() override;
    void update(int deltaMs) override;
    bool onMouseMove(int x, int y, int keys) override;
    bool onChar(int character) override;

    int onBack(BaseObject* button);
    int onToolPressed(BaseObject* button);
    int onBuyDialogClosed(BaseObject* dialog);
    static int onFirstHintClosed(void* context, BaseObject* argument);

    void refreshToolNodes();
    void setStarCount(int value);
    void revealSecondLevel();
    void sendCharacter();

    // The tool ids of the fourteen nodes, in node order: slot A level 2,
    // slot A level 1, slot B level 2, slot B level 1, each by ascending id.
    static std::array<int, kToolCount> toolOrder();

    ToolNode* getToolNode(int position) const { return toolNodes[static_cast<size_t>(position)]; }
    // The node showing the tool, or null.
    ToolNode* findToolNode(int toolId) const;
    Sprite* getVendor() const { return vendor; }
    Sprite* getBlankets() const { return blankets; }
    LabelTicker* getStarsTicker() const { return starsTicker; }
    Label* getStarsLabel() const { return starsLabel; }
    // The tool hint now shown, or null.
    DialogToolHint* getOpenToolHint() const { return openToolHint.get(); }
    int getHoveredTool() const { return hoveredTool; }

private:
    struct Countdown {
        int initial = 0;
        int time = 0;
        bool ringing() const { return time <= 0; }
        bool running() const { return initial > 0; }
        void restart(int value)
        {
            initial = value;
            time = value;
        }
    };

    int toolAt(int x, int y) const;
    void openToolHintFor(int toolId, int slot);
    void closeToolHint();
    void setVendorFrame(int frame);
    int randomBetween(int low, int high) const;

    std::array<ToolNode*, kToolCount> toolNodes {};
    Button* backButton = nullptr;
    Label* starsLabel = nullptr;
    LabelTicker* starsTicker = nullptr;
    Sprite* blankets = nullptr;
    Sprite* vendor = nullptr;
    RefPointer<DialogToolHint> openToolHint;
    int hoveredTool = kNoTool;
    Countdown characters[2];
};
