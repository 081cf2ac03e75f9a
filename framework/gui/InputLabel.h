#pragma once

#include "framework/core/RefPointer.h"
#include "framework/core/StringUtils.h"
#include "framework/gui/GuiCallback.h"
#include "framework/platform/iInputListener.h"
#include "framework/scenegraph/Label.h"
#include "framework/scenegraph/ModifierBlink.h"
#include "framework/scenegraph/Sprite.h"

// The one-line text entry field: a sprite with a label showing the text, an
// optional blinking cursor, and a selection drawn as a box behind the text.
// It takes keys, characters and the mouse, copies and pastes through the
// clipboard, and reports changes, Enter, Escape and Tab through callbacks.
// Typed and pasted characters pass the same filter: the font must have a
// glyph, a non-empty allowed set must hold the character, and control
// characters never get in.
class InputLabel : public Sprite, public iInputListener, public GuiCallback {
    TT_CLASS_RECORD(InputLabel)
public:
    explicit InputLabel(AbstractProperty* configuration);
    ~InputLabel() override;

    Interface* getInterface(const ClassRecord* record) override;
    void update(int) override {}
    bool containsPoint(int px, int py) override;
    void render(Graphics* graphics) override;

    // The one way the text changes: strips and trims it, shows it, calls the
    // change callback, and moves the cursor (to the end with cursorToEnd).
    void setText(const WString& newText, bool cursorToEnd);
    const WString& getText() const { return text; }
    void setCursorImage(Image* image);
    void setBlinkDurations(int on, int off);
    void setFocus(bool value);
    bool isFocused() const { return focused; }
    void setAllowedChars(const WString& chars) { allowedChars = chars; }
    void setMaxLength(int value) { maxLength = value; }
    void setMaxWidth(int value) { maxWidth = value; }
    void setStripSpaces(bool value) { stripSpaces = value; }
    void setOnEnter(const GuiMethod& method) { onEnter = method; }
    void setOnEscape(const GuiMethod& method) { onEscape = method; }
    void setOnTab(const GuiMethod& method) { onTab = method; }

    int getCursorIndex() const { return cursorIndex; }
    int getSelStart() const { return selStart; }
    int getSelEnd() const { return selEnd; }
    bool hasSelection() const { return selStart != selEnd; }
    Label* getTextNode() const { return textNode.get(); }
    Sprite* getCursorSprite() const { return cursorSprite.get(); }

    // Inserts at the cursor, replacing the selection, when the result is acceptable.
    void insert(const WString& inserted);
    void moveCursor(int index, bool extend, bool collapse);
    void copy();
    void cut();
    void paste();
    // The character index nearest to a screen x.
    int indexAtX(int x) const;
    int caretX(int index) const;

    bool onKeyDown(int key) override;
    bool onKeyUp(int key) override;
    bool onChar(int character) override;
    bool onMouseMove(int x, int y, int keys) override;
    bool onLeftDown(int x, int y, int keys, bool doubleClick) override;
    bool onLeftUp(int x, int y, int keys) override;
    bool onMiddleDown(int, int, int, bool) override { return false; }
    bool onMiddleUp(int, int, int) override { return false; }
    bool onRightDown(int, int, int, bool) override { return false; }
    bool onRightUp(int, int, int) override { return false; }
    void resetInput() override {}

private:
    bool isAccepted(char16_t character) const;
    bool isAcceptable(const WString& candidate) const;
    int textWidth(const WString& value) const;
    void placeCursor();
    void restartBlink();
    void collapseSelection();
    void deleteStep();
    void callBack(GuiMethod& method);

    WString text;
    WString allowedChars;
    bool focused = false;
    bool leftHeld = false;
    bool rightHeld = false;
    bool deleteHeld = false;
    bool selecting = false;
    bool doubleClicked = false;
    int selLeftX = 0;
    int selRightX = 0;
    int selStart = 0;
    int selEnd = 0;
    uint32_t selColor = 0xFF00FF;
    uint32_t selBorderColor = 0;
    int selAlpha = 128;
    int selBorderAlpha = 255;
    int selYOffset = 0;
    int maxLength = -1;
    int cursorIndex = 0;
    RefPointer<Sprite> cursorSprite;
    int cursorX = 0;
    int cursorY = 0;
    int durationOn = 500;
    int durationOff = 500;
    bool stripSpaces = false;
    int maxWidth = -1;
    GuiMethod onEnter;
    GuiMethod onEscape;
    GuiMethod onTab;
    RefPointer<Label> textNode;
    RefPointer<ModifierBlink> blinkModifier;
};
