#pragma once

#include <string>

#include "game/dialogs/DialogTortelune.h"

class Button;
class Label;
class Modifier;

// The level customer's speech bubble ("DIALOG_CUSTOMERHINT"): at a level's
// start it says something about the level, at its end about the result. It
// stands on its lower left corner and grows out of its lower part. The OK
// button's tag turns 1 once the player has dismissed it.
class DialogCustomerHint : public DialogTortelune {
    TT_CLASS_RECORD(DialogCustomerHint)
public:
    explicit DialogCustomerHint(AbstractProperty* configuration);

    // The level's text: the customer key + "_LEVEL" + the level's place in
    // its theme (exam texts of the later exams count on from 4 and 8).
    void showLevelText();
    // "_WON0" when the session's stars reach the goal, else "_LOSE0" (always
    // in the arcade). The bubble is 35 pixels shorter: no OK button.
    void showResultText();
    void setText(const WString& text);
    // The text keys the two fillings use, for the running level.
    static std::string levelTextKey();
    static std::string resultTextKey();

    // Puts the lower left corner at (x, y).
    void placeBottomLeftAt(int x, int y);
    // Shows, enables and fades in the OK button under `parent`.
    void enableOk(Modifier* parent);
    bool isDismissed() const;

    void show() override;
    bool onLeftDown(int x, int y, int keys, bool doubleClick) override;

private:
    static int onOk(void* context, BaseObject* argument);
    static int onGrown(void* context, BaseObject* argument);
    void dismiss();
    void resetOk(bool enabled);

    Label* description = nullptr;
    Button* ok = nullptr;
    int baseHeight = 0;
    int baseOkY = 0;
    int baseDescriptionY = 0;
};
