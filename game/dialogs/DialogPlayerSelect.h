#pragma once

#include "game/dialogs/DialogTortelune.h"

class Button;
class Label;

// The player list ("DIALOG_PLAYERSELECT"): five rows of names, the current
// player's row framed; a click on a name makes that player current, the add
// button opens the name dialog and the remove button asks before it deletes.
class DialogPlayerSelect : public DialogTortelune {
    TT_CLASS_RECORD(DialogPlayerSelect)
public:
    static constexpr int kRowCount = 5;

    explicit DialogPlayerSelect(AbstractProperty* configuration);

    void show() override;
    // Fills the rows from the player list and frames the current player's.
    void refresh();

    int getSelectedIndex() const { return selectedIndex; }
    Button* getRowButton(int row) const { return row >= 0 && row < kRowCount ? rowButtons[row] : nullptr; }
    Label* getRowLabel(int row) const { return row >= 0 && row < kRowCount ? rowLabels[row] : nullptr; }
    Button* getAddButton() const { return addButton; }
    Button* getRemoveButton() const { return removeButton; }
    GameNode* getBorder() const { return border; }

    static int onNameClicked(void* context, BaseObject* button);
    static int onAdd(void* context, BaseObject* argument);
    static int onRemove(void* context, BaseObject* argument);
    static int onRemoveConfirmed(void* context, BaseObject* argument);
    static int onOk(void* context, BaseObject* argument);

private:
    void moveBorderTo(int row);
    int playerCount() const;

    Button* rowButtons[kRowCount] = {};
    Label* rowLabels[kRowCount] = {};
    int selectedIndex = -100;
    Button* addButton = nullptr;
    Button* removeButton = nullptr;
    GameNode* border = nullptr;
    int borderOffsetY = -1000;
};
