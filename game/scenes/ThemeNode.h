#pragma once

#include "framework/scenegraph/GameNode.h"

class Button;
class Label;
class Modifier;
class Sprite;

// One theme of the career map: its pastry (a button), the highlight of the
// selected theme, the finish mark, the name on its board and four level
// buttons. It keeps no progress: the map tells it what to show, and it plays
// the reveal of a level, the finish mark's drop and a new theme's arrival.
class ThemeNode : public GameNode {
    TT_CLASS_RECORD(ThemeNode)
public:
    static constexpr int kLevelButtons = 4;

    explicit ThemeNode(AbstractProperty* configuration);
    ~ThemeNode() override;

    void setUnlocked(bool open);
    void setSelected(bool value);
    void setCompletedCount(int count);
    void incrementCompleted();
    // Each level from `from` to `to` - 1 blinks into view, after `parent`;
    // returns the last step.
    Modifier* revealLevels(int from, int to, Modifier* parent);
    Modifier* dropFinishMark(Modifier* parent);
    // The pastry squashes in, then its board and name pop up.
    Modifier* appear(Modifier* parent);

    bool isSelected() const { return selected; }
    int getCompletedCount() const { return completedCount; }
    Button* getPastryButton() const { return pastryButton; }
    Sprite* getPastryHighlight() const { return pastryHighlight; }
    Sprite* getPastryFinish() const { return pastryFinish; }
    Sprite* getPastryBoard() const { return pastryBoard; }
    Label* getPastryName() const { return pastryName; }
    Button* getLevelButton(int index) const
    {
        return index >= 0 && index < kLevelButtons ? levelButtons[index] : nullptr;
    }

private:
    GameNode* createPart(AbstractProperty* configuration, const char* key);

    Button* pastryButton = nullptr;
    Sprite* pastryHighlight = nullptr;
    Sprite* pastryFinish = nullptr;
    Sprite* pastryBoard = nullptr;
    Label* pastryName = nullptr;
    Button* levelButtons[kLevelButtons] = {};
    bool selected = false;
    int completedCount = 0;
};
