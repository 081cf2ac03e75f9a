#pragma once

#include "game/dialogs/DialogTortelune.h"

class Button;
class Label;
class Level;
class Sprite;

// What the map shows before a career level ("DIALOG_LEVEL_INFO"): the theme
// and the level, its goal, the customer, the four levels of the theme as pans
// to pick from, and the tools in the player's two slots, with start, cancel
// and the tool choice. Exam levels take the frozen look. `result`: 0 start,
// 1 cancel (2 before the first answer).
class DialogLevelInfo : public DialogTortelune {
    TT_CLASS_RECORD(DialogLevelInfo)
public:
    static constexpr int kLevelSlots = 4;

    explicit DialogLevelInfo(AbstractProperty* configuration);

    void showLevel(const Level& level);
    void showSelectedTools();

    void show() override;
    void update(int deltaMs) override;
    bool isIceLook() override;
    void applyIceLook() override;

    // Shared by the start and cancel buttons of other game dialogs.
    static int onStart(void* context, BaseObject* button);
    static int onCancel(void* context, BaseObject* button);

    int result = 2;

private:
    static int onLevelClicked(void* context, BaseObject* button);
    static int onTools(void* context, BaseObject* button);
    static int onToolChoiceClosed(void* context, BaseObject* argument);
    // Paints the customer into the darkened layer as opaque as the picture.
    void stampCustomer();

    Label* themeLabel = nullptr;
    Label* levelLabel = nullptr;
    GameNode* goalLabel = nullptr;
    GameNode* examLabel = nullptr;
    GameNode* toolsLabel = nullptr;
    Button* levelButtons[kLevelSlots] = {};
    Sprite* pans[kLevelSlots] = {};
    Sprite* finished[kLevelSlots] = {};
    Sprite* highlight = nullptr;
    Sprite* customer = nullptr;
    Button* toolsButton = nullptr;
    Sprite* toolIcons[2] = {};
    Sprite* blanketFull = nullptr;
    Sprite* blanketHalf = nullptr;
    Sprite* backPan = nullptr;
};
