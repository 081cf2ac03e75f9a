#pragma once

#include <string>

#include "framework/core/RefPointer.h"
#include "framework/core/StringUtils.h"
#include "game/dialogs/DialogTortelune.h"
#include "game/text/GameText.h"

class Button;
class Label;
class Sprite;
class StyleLabel;

// The chef's speech bubble of the hint system ("DIALOG_HINT"): the hint's
// text, a header for bonus hints, and a pointing hand that flies in and then
// keeps swinging towards what the hint explains. Its OK button or a click
// closes it. Each fill starts from the template's size and places, so a
// reused bubble never grows from one hint to the next.
class DialogHint : public DialogTortelune {
    TT_CLASS_RECORD(DialogHint)
public:
    explicit DialogHint(AbstractProperty* configuration);
    ~DialogHint() override;

    // Sets the text; the bubble grows by the lines beyond the first. A width
    // (0: the template's) widens or narrows the bubble, its text and its
    // button's place with it: a wider hint takes fewer lines, a narrower one
    // more and a taller bubble, to fit a free corner of a busy screen. The
    // width stays between the narrowest that keeps the OK button and a
    // legible line inside and 800.
    void setHintText(const WString& text, int width = 0);
    // A header above the text; text and button move down by its line + 5.
    void setHeaderText(const WString& text);
    // Places the bubble, gives it the chef's frame with `connector`, and makes
    // the hand (tip at the hand point, image by `corner`) when the point is
    // inside the screen (both coordinates above 0).
    void setArrow(int handX, int handY, int corner, int connector, int dialogX, int dialogY);
    // Removes the hand, then fades out and calls the close callback.
    void closeHint();

    void show() override;
    void hide() override;
    void update(int deltaMs) override;
    bool onLeftUp(int x, int y, int keys) override;

    Sprite* getHand() const { return hand.get(); }
    Label* getHeaderLabel() const { return header; }
    Button* getOkButton() const { return ok; }
    GameNode* getHintLabel() const { return hintLabel; }
    bool isClickDelayOver() const { return clickDelayOver; }

    std::string hintName;
    // The chef's own entrance (a squash and stretch) instead of the fade-in.
    bool henriEntrance = false;

private:
    static int onOk(void* context, BaseObject* button);
    static int onEntranceDone(void* context, BaseObject* argument);
    void removeHand();
    // Back to the template's size and the components' places.
    void resetLayout();
    void widen(int width);
    int narrowestWidth() const;

    static constexpr int kNarrowestText = 150;
    static constexpr int kWidestBubble = 800;

    Button* ok = nullptr;
    GameNode* hintLabel = nullptr;
    Label* header = nullptr;
    RefPointer<Sprite> hand;
    int templateHeight = 0;
    int templateWidth = 0;
    int hintLabelX = 0;
    int hintLabelY = 0;
    int hintLabelWidth = 0;
    int headerX = 0;
    int okX = 0;
    int okY = 0;
    int clickCloseEnabled = 4;
    int clickDelay = 4;
    bool clickDelayOver = false;
};

// The smaller bubble beside the end-of-game dialog ("DIALOG_GAMEENDHINT"):
// no hand, and its OK button (the only way to close it) shows after a pause.
class DialogHintGameEnd : public DialogTortelune {
    TT_CLASS_RECORD(DialogHintGameEnd)
public:
    explicit DialogHintGameEnd(AbstractProperty* configuration);

    void setHintText(const WString& text);
    void show() override;
    bool onLeftDown(int x, int y, int keys, bool doubleClick) override;

    Button* getOkButton() const { return ok; }

private:
    static int onOk(void* context, BaseObject* button);

    Button* ok = nullptr;
    GameNode* hintLabel = nullptr;
    int templateHeight = 0;
    int okY = 0;
};
