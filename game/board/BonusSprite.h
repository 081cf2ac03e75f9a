#pragma once

#include <string>

#include "game/board/CellSprite.h"
#include "game/board/Grid.h"

class GridWrapper;

// A bonus tile: never part of a run, activated by the player. While the
// pointer rests on it, it marks the cells it would act on; when it fires it
// may show its name over the board. Each bonus kind is a subclass that
// overrides onMatched (its activation) and highlightTargets.
class BonusSprite : public CellSprite {
    TT_CLASS_RECORD(BonusSprite)
public:
    BonusSprite(int column, int row, const std::string& name) : CellSprite(column, row, name, false, 1) {}
    explicit BonusSprite(AbstractProperty* configuration);
    ~BonusSprite() override;

    bool isBonus() const override { return true; }
    void fallTo(int targetRow) override;
    // The picture is a strip of four frames: normal, hovered, selected, fired.
    enum Frame : int { FrameNormal = 0, FrameHovered = 1, FrameSelected = 2, FrameFired = 3 };

    void showHover() override;
    // Also takes away every mark under "NODE_HOVER", another bonus's too.
    void hideHover() override;
    void setSelected() override;
    void clearSelected() override;
    // One animated highlight drawn over the bonus, without the back.
    void setHighlighted() override;
    void dropOut() override;
    // The plain tile's keys; each bonus kind names the node after its class.
    void saveState(PropertyNode* node) const override;

    // Fires the bonus on `grid`; `callback` runs once for every cell it
    // removes, the bonus's own included (the chocolate lover removes none).
    void activate(Grid* grid, const GuiMethod& callback, BaseObject* keepAlive);
    // A bonus of no known kind only pops out.
    void onMatched(const GuiMethod& callback, BaseObject* keepAlive, Modifier* parent) override;
    // Marks the cells the bonus would act on (nothing here).
    virtual void highlightTargets() {}
    // The bonus's name over the board; built once, kept until the tile goes.
    void showBonusName();
    // A fading mark over the board cell, under "NODE_HOVER"; nothing off the board.
    void markCell(int column, int row);

    bool isHovered() const { return hovered; }
    Sprite* getPopupBack() const { return popupBack.get(); }
    Label* getPopupLabel() const { return popupLabel.get(); }

    // The bonus that a content name stands for, as the content choice and a
    // restored board build it; a name of no known kind gives a plain bonus.
    static RefPointer<BonusSprite> create(int column, int row, const std::string& name);
    // The class names a saved board may name for a bonus tile.
    static bool isBonusClassName(const std::string& className);
    // The class a bonus name is saved under, or null for a name of no kind.
    static const char* classNameFor(const std::string& name);

protected:
    // The board the bonus was fired on, or null once it is gone.
    Grid* grid() const;
    GridWrapper* cellModel() const;
    // A node of the scene the tile stands in, found by name, or null.
    GameNode* sceneLayer(const std::string& name) const;
    // (x, y) of `from`'s coordinate space in `layer`'s.
    static void translate(const GameNode* from, const GameNode* layer, int& x, int& y);
    // Puts the tile under `layer`, keeping its place on the screen.
    void moveToLayer(GameNode* layer);
    void playSound(const std::string& name) const;
    // The ordinary removal of the own cell after `delayMs`.
    void removeAfter(int delayMs, const GuiMethod& callback, BaseObject* keepAlive);
    // Both closing calls of the own cell on the next step of the tree.
    void finishOnNextStep(const GuiMethod& callback, BaseObject* keepAlive);

    bool hovered = false;

private:
    void dropPopups();
    void clearMarks();

    RefPointer<Sprite> popupBack;
    RefPointer<Label> popupLabel;
    RefPointer<GridLink> link;
    // New marks fade in on the first hover; a refresh redraws them at once.
    bool marksFade = true;
};
