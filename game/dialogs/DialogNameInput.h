#pragma once

#include "game/dialogs/DialogTortelune.h"

class Button;
class InputLabel;

// The new-player dialog ("DIALOG_NEWPLAYER"): a name field that creates the
// player, or selects one of that name, when confirmed. The first player of an
// installation cannot cancel it.
class DialogNameInput : public DialogTortelune {
    TT_CLASS_RECORD(DialogNameInput)
public:
    explicit DialogNameInput(AbstractProperty* configuration);

    // Shows and fades in with the name field focused.
    void show() override;

    bool onLeftDown(int x, int y, int keys, bool doubleClick) override;
    bool onLeftUp(int x, int y, int keys) override;

    InputLabel* getNameField() const { return nameField; }
    Button* getOkButton() const { return okButton; }
    // Null when the dialog was built without a player to go back to.
    Button* getCancelButton() const { return cancelButton; }

    static int onOk(void* context, BaseObject* argument);
    static int onNameChanged(void* context, BaseObject* argument);
    // Closes without telling anyone; after a confirmation it does nothing, as
    // the callback that confirmation set expects the scene, not this dialog.
    static int onCancel(void* context, BaseObject* argument);

private:
    void focusField();

    InputLabel* nameField = nullptr;
    Button* okButton = nullptr;
    Button* cancelButton = nullptr;
};
