#include "framework/gui/InputLabel.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "framework/core/Log.h"
#include "framework/core/ObjectFactoryContainer.h"
#include "framework/core/PropertyNode.h"
#include "framework/graphics/Graphics.h"
#include "framework/platform/GameWindow.h"
#include "framework/platform/InputHandler.h"
#include "framework/resources/ResourceLookup.h"
#include "host/WindowMessages.h"

TT_DEFINE_RECORD(InputLabel, &Sprite::classRecord, &iInputListener::classRecord, &iGuiMethod::classRecord);
TT_REGISTER_CLASS(InputLabel);

namespace {

bool shiftDown()
{
    return InputHandler::isKeyDown(VK_SHIFT);
}

bool controlDown()
{
    return InputHandler::isKeyDown(VK_CONTROL);
}

bool isControlCharacter(char16_t character)
{
    return character < 0x20 || (character >= 0x7F && character < 0xA0);
}

} // namespace

InputLabel::InputLabel(AbstractProperty* properties) : Sprite(properties)
{
    PropertyNode* node = properties ? properties->asNode() : DUMMY_NODE;
    if (node->hasChild("width"))
        setWidth(node->getInt("width"));
    if (node->hasChild("height"))
        setHeight(node->getInt("height"));
    maxLength = node->getInt("maxlength", maxLength);
    if (node->hasChild("text"))
        text = node->getWString("text");
    cursorX = node->getInt("cursorx", cursorX);
    cursorY = node->getInt("cursory", cursorY);
    stripSpaces = node->getBool("stripspaces", stripSpaces);
    maxWidth = node->getInt("maxwidth", maxWidth);
    selColor = static_cast<uint32_t>(node->getInt("selcolor", static_cast<int>(selColor)));
    selBorderColor = static_cast<uint32_t>(node->getInt("selbordercolor", static_cast<int>(selBorderColor)));
    selAlpha = node->getInt("selalpha", selAlpha);
    selBorderAlpha = node->getInt("selborderalpha", selBorderAlpha);
    selYOffset = node->getInt("selyoffset", selYOffset);
    if (node->hasChild("label")) {
        PropertyNode* definition = node->getNode("label");
        textNode = ObjectFactoryContainer::createFrom<Label>(definition);
    }
    if (!textNode) {
        // The field still works; it shows its text with no font until one is set.
        LOG_WARNING("Entry field \"" + getName() + "\" has no usable \"label\"");
        textNode = new Label(nullptr, 0, 0, 0, 0);
    }
    textNode->setText(text);
    textNode->updateLayout();
    GameNode::addChild(this, textNode.get());
    if (node->hasChild("cursorimage")) {
        const std::string imageName = node->getString("cursorimage");
        RefPointer<Image> image = ResourceLookup::findAs<Image>(imageName, node->getString("section"));
        if (image)
            setCursorImage(image.get());
        else
            LOG_WARNING("Entry field \"" + getName() + "\": no cursor image \"" + imageName + "\"");
    }
    if (node->hasChild("durationon")) {
        const int on = node->getInt("durationon");
        setBlinkDurations(on, node->getInt("durationoff", on));
    }
    allowedChars.clear();
}

InputLabel::~InputLabel()
{
    if (cursorSprite)
        GameNode::clearModifiers(cursorSprite.get());
}

Interface* InputLabel::getInterface(const ClassRecord* record)
{
    if (record == &iInputListener::classRecord)
        return static_cast<iInputListener*>(this);
    if (record == &iGuiMethod::classRecord)
        return static_cast<iGuiMethod*>(static_cast<GuiCallback*>(this));
    return Sprite::getInterface(record);
}

int InputLabel::textWidth(const WString& value) const
{
    BitmapFont* font = textNode->getFont();
    if (!font || value.empty())
        return 0;
    return font->measure(value, 0, static_cast<int32_t>(value.size()), BitmapFont::MetricRight);
}

int InputLabel::caretX(int index) const
{
    int advance = 0;
    BitmapFont* font = textNode->getFont();
    if (font && index > 0 && !text.empty())
        advance = font->measure(text, 0, std::min<int>(index, static_cast<int>(text.size())),
                                BitmapFont::MetricVisibleRight);
    return textNode->getX() + textNode->getTextRect().offsetX + advance;
}

bool InputLabel::isAccepted(char16_t character) const
{
    if (isControlCharacter(character))
        return false;
    BitmapFont* font = textNode->getFont();
    if (character != u' ' && (!font || !font->hasGlyph(character)))
        return false;
    return allowedChars.empty() || allowedChars.find(character) != WString::npos;
}

bool InputLabel::isAcceptable(const WString& candidate) const
{
    WString tested = candidate;
    if (stripSpaces) {
        const size_t first = tested.find_first_not_of(u' ');
        tested.erase(0, first == WString::npos ? tested.size() : first);
    }
    if (maxLength > 0 && static_cast<int>(tested.size()) > maxLength)
        return false;
    if (maxWidth > 0 && textWidth(tested) > maxWidth)
        return false;
    return true;
}

void InputLabel::callBack(GuiMethod& method)
{
    if (method.isBound()) {
        RefPointer<InputLabel> keep(this);
        method.invoke(this);
    }
}

void InputLabel::setText(const WString& newText, bool cursorToEnd)
{
    text = newText;
    if (stripSpaces) {
        while (!text.empty() && text[0] == u' ') {
            text.erase(0, 1);
            cursorIndex = std::max(cursorIndex - 1, 0);
        }
        placeCursor();
    }
    if (maxWidth > 0) {
        while (!text.empty() && textWidth(text) > maxWidth) {
            text.pop_back();
            cursorIndex = std::max(cursorIndex - 1, 0);
        }
        placeCursor();
    }
    textNode->setText(text);
    textNode->updateLayout();
    if (hasCallback()) {
        RefPointer<InputLabel> keep(this);
        invoke(this);
    }
    const int length = static_cast<int>(text.size());
    if (cursorToEnd) {
        cursorIndex = length;
        collapseSelection();
    } else {
        cursorIndex = std::clamp(cursorIndex, 0, length);
    }
    placeCursor();
}

void InputLabel::collapseSelection()
{
    selStart = selEnd = cursorIndex;
    selLeftX = selRightX = 0;
    selecting = false;
}

void InputLabel::insert(const WString& inserted)
{
    WString working = text;
    if (hasSelection()) {
        working.erase(static_cast<size_t>(selStart), static_cast<size_t>(selEnd - selStart));
        cursorIndex = std::clamp(selStart, 0, static_cast<int>(working.size()));
        placeCursor();
        collapseSelection();
    }
    const size_t at = std::min<size_t>(static_cast<size_t>(std::max(cursorIndex, 0)), working.size());
    working.insert(at, inserted);
    if (isAcceptable(working)) {
        setText(working, false);
        cursorIndex = std::clamp(cursorIndex + static_cast<int>(inserted.size()), 0, static_cast<int>(text.size()));
        placeCursor();
    }
    collapseSelection();
}

void InputLabel::moveCursor(int index, bool extend, bool collapse)
{
    const int old = cursorIndex;
    cursorIndex = std::clamp(index, 0, static_cast<int>(text.size()));
    if (!extend) {
        if (collapse)
            collapseSelection();
        placeCursor();
        return;
    }
    if (old == selStart && cursorIndex < old)
        selStart = cursorIndex;
    else if (old == selEnd && cursorIndex > old)
        selEnd = cursorIndex;
    else if (old == selStart)
        selStart = cursorIndex;
    else
        selEnd = cursorIndex;
    if (selEnd < selStart)
        std::swap(selStart, selEnd);
    selLeftX = caretX(selStart);
    selRightX = caretX(selEnd);
    placeCursor();
}

void InputLabel::deleteStep()
{
    if (!text.empty() && (hasSelection() || cursorIndex < static_cast<int>(text.size()))) {
        WString result = text;
        int from = cursorIndex;
        if (hasSelection()) {
            from = selStart;
            result.erase(static_cast<size_t>(selStart), static_cast<size_t>(selEnd - selStart));
        } else {
            result.erase(static_cast<size_t>(cursorIndex), 1);
        }
        cursorIndex = std::clamp(from, 0, static_cast<int>(result.size()));
        placeCursor();
        setText(result, false);
    }
    collapseSelection();
}

void InputLabel::copy()
{
    if (!GameWindow::instance)
        return;
    const WString copied = hasSelection() ? text.substr(static_cast<size_t>(selStart),
                                                         static_cast<size_t>(selEnd - selStart))
                                          : text;
    copyToClipboard(toNarrowString(copied));
}

void InputLabel::cut()
{
    if (!GameWindow::instance)
        return;
    if (!hasSelection()) {
        selStart = 0;
        selEnd = static_cast<int>(text.size());
    }
    copy();
    insert(WString());
}

void InputLabel::paste()
{
    if (!GameWindow::instance)
        return;
    const WString pasted = toWideString(pasteFromClipboard());
    WString filtered;
    for (char16_t character : pasted) {
        if (isAccepted(character))
            filtered.push_back(character);
    }
    if (!filtered.empty() || hasSelection())
        insert(filtered);
}

bool InputLabel::onChar(int character)
{
    if (!focused)
        return false;
    if (character == 0x08) {
        if (!text.empty() && (cursorIndex > 0 || hasSelection())) {
            if (!hasSelection()) {
                selStart = cursorIndex - 1;
                selEnd = cursorIndex;
            }
            WString working = text;
            working.erase(static_cast<size_t>(selStart), static_cast<size_t>(selEnd - selStart));
            cursorIndex = std::clamp(selStart, 0, static_cast<int>(working.size()));
            placeCursor();
            setText(working, false);
            collapseSelection();
        }
        return true;
    }
    if (character >= 0 && character <= 0xFFFF && isAccepted(static_cast<char16_t>(character)))
        insert(WString(1, static_cast<char16_t>(character)));
    return true;
}

bool InputLabel::onKeyDown(int key)
{
    if (focused) {
        switch (key) {
        case VK_LEFT: leftHeld = true; break;
        case VK_RIGHT: rightHeld = true; break;
        case VK_DELETE: deleteHeld = true; break;
        case 'C':
            if (controlDown())
                copy();
            break;
        case 'X':
            if (controlDown())
                cut();
            break;
        case 'V':
            if (controlDown())
                paste();
            break;
        default: break;
        }
    }
    if (leftHeld)
        moveCursor(cursorIndex - 1, shiftDown(), true);
    else if (rightHeld)
        moveCursor(cursorIndex + 1, shiftDown(), true);
    else if (deleteHeld)
        deleteStep();
    return focused;
}

bool InputLabel::onKeyUp(int key)
{
    if (!focused)
        return false;
    switch (key) {
    case VK_LEFT: leftHeld = false; return true;
    case VK_RIGHT: rightHeld = false; return true;
    case VK_DELETE: deleteHeld = false; return true;
    case VK_HOME: moveCursor(0, shiftDown(), true); return true;
    case VK_END: moveCursor(static_cast<int>(text.size()), shiftDown(), true); return true;
    case VK_RETURN:
        setFocus(false);
        callBack(onEnter);
        return true;
    case VK_ESCAPE:
        setFocus(false);
        callBack(onEscape);
        return true;
    case VK_TAB:
        setFocus(false);
        callBack(onTab);
        return true;
    default: return false;
    }
}

int InputLabel::indexAtX(int x) const
{
    int relative = x;
    for (const GameNode* node = this; node; node = node->getParent())
        relative -= node->getX();
    if (text.empty() || relative < 1)
        return 0;
    const int length = static_cast<int>(text.size());
    for (int i = 0; i <= length; ++i) {
        const int caret = caretX(i);
        if (relative < caret) {
            if (i > 0 && std::abs(relative - caretX(i - 1)) < std::abs(caret - relative))
                return i - 1;
            return i;
        }
    }
    return length;
}

bool InputLabel::onLeftDown(int x, int y, int, bool doubleClick)
{
    if (!containsPoint(x, y)) {
        setFocus(false);
        return false;
    }
    if (!focused)
        setFocus(true);
    doubleClicked = false;
    if (!doubleClick) {
        moveCursor(indexAtX(x), shiftDown(), true);
        selecting = true;
        return false;
    }
    // A word: from after the last space up to the next separator (a full
    // stop or comma stays outside, a blank is taken along).
    const int length = static_cast<int>(text.size());
    const int index = indexAtX(x);
    int start = 0;
    for (int i = std::min(index, length - 1); i >= 0; --i) {
        if (text[static_cast<size_t>(i)] == u' ') {
            start = i + 1;
            break;
        }
    }
    int end = length;
    for (int i = index; i < length; ++i) {
        const char16_t c = text[static_cast<size_t>(i)];
        if (c == u'\t' || c == u' ' || c == u'.' || c == u',') {
            end = (c == u'.' || c == u',') ? i : i + 1;
            break;
        }
    }
    selStart = std::min(start, end);
    selEnd = end;
    selLeftX = caretX(selStart);
    selRightX = caretX(selEnd);
    cursorIndex = std::clamp(selEnd, 0, length);
    placeCursor();
    doubleClicked = true;
    return false;
}

bool InputLabel::onMouseMove(int x, int, int)
{
    if (focused && selecting)
        moveCursor(indexAtX(x), true, false);
    return false;
}

bool InputLabel::onLeftUp(int x, int y, int)
{
    if (focused) {
        if (selecting) {
            if (!doubleClicked)
                moveCursor(indexAtX(x), true, false);
        } else if (!containsPoint(x, y)) {
            setFocus(false);
        }
        selecting = false;
    }
    return false;
}

bool InputLabel::containsPoint(int px, int py)
{
    return Sprite::containsPoint(px, py) || textNode->containsPoint(px, py);
}

void InputLabel::placeCursor()
{
    if (!cursorSprite)
        return;
    const Sprite::PointF2 anchor = textNode->getAnchorPoint();
    cursorSprite->setPosition(cursorX + caretX(cursorIndex) - static_cast<int>(anchor.x),
                              cursorY + textNode->getTextRect().offsetY + textNode->getY() -
                                  static_cast<int>(anchor.y));
}

void InputLabel::restartBlink()
{
    if (!cursorSprite)
        return;
    blinkModifier = new ModifierBlink(0, 255, 0, 0, durationOn, durationOff, 0);
    GameNode::clearModifiers(cursorSprite.get());
    GameNode::addModifier(cursorSprite.get(), blinkModifier.get());
    setFocus(focused);
}

void InputLabel::setBlinkDurations(int on, int off)
{
    durationOn = on;
    durationOff = off;
    // A new blink takes the new hold times.
    if (blinkModifier)
        restartBlink();
}

void InputLabel::setCursorImage(Image* image)
{
    if (image) {
        if (cursorSprite) {
            GameNode::clearModifiers(cursorSprite.get());
            if (cursorSprite->getParent()) {
                GameNode::removeFromParent(cursorSprite.get());
                cursorSprite->release();
            }
        }
        cursorSprite = new Sprite(0, 0, image);
        GameNode::addChild(this, cursorSprite.get());
        restartBlink();
        placeCursor();
    } else if (cursorSprite) {
        GameNode::clearModifiers(cursorSprite.get());
        if (cursorSprite->getParent()) {
            GameNode::removeFromParent(cursorSprite.get());
            cursorSprite->release();
        }
        blinkModifier = nullptr;
        cursorSprite = nullptr;
    }
}

void InputLabel::setFocus(bool value)
{
    focused = value;
    if (!cursorSprite)
        return;
    if (focused) {
        cursorSprite->setSuspended(false);
        cursorSprite->setVisible(true);
    } else {
        cursorSprite->setSuspended(true);
        cursorSprite->setVisible(false);
        cursorIndex = static_cast<int>(text.size());
        collapseSelection();
        placeCursor();
    }
}

void InputLabel::render(Graphics* graphics)
{
    Sprite::render(graphics);
    if (!graphics || !hasSelection())
        return;
    const uint32_t colour = graphics->getColour();
    const int32_t alpha = graphics->getAlpha();
    const int boxX = getX() + selLeftX;
    const int boxY = getY() + textNode->getY() + textNode->getTextRect().offsetY + selYOffset;
    const int boxWidth = selRightX - selLeftX;
    const int boxHeight = textNode->getTextRect().height;
    graphics->setColour(0xFF000000u | selColor);
    graphics->setAlpha(selAlpha);
    graphics->fillRect(boxX, boxY, boxWidth, boxHeight);
    graphics->setColour(0xFF000000u | selBorderColor);
    graphics->setAlpha(selBorderAlpha);
    graphics->drawRect(boxX - 1, boxY - 1, boxWidth + 2, boxHeight + 2);
    graphics->setColour(colour);
    graphics->setAlpha(alpha);
}
