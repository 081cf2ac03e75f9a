#include "framework/gui/Slider.h"

#include <cmath>

#include "framework/core/Log.h"
#include "framework/core/ObjectFactoryContainer.h"
#include "framework/core/PropertyNode.h"

TT_DEFINE_RECORD(Slider, &Sprite::classRecord, &iInputListener::classRecord, &iGuiMethod::classRecord);
TT_REGISTER_CLASS(Slider);

Slider::Slider(AbstractProperty* properties) : Sprite(properties), thumbNode(new GameNode())
{
    GameNode::addChild(this, thumbNode.get());
    PropertyNode* node = properties ? properties->asNode() : DUMMY_NODE;
    const bool startEnabled = node->getBool("enabled", true);
    minValue = node->getFloat("minvalue", minValue);
    maxValue = node->getFloat("maxvalue", maxValue);
    vertical = node->getBool("vertical", false);
    if (node->hasChild("button")) {
        thumb = makeButton(node->getNode("button"));
        if (thumb)
            GameNode::addChild(thumbNode.get(), thumb.get());
    }
    if (!thumb)
        LOG_WARNING("Slider \"" + getName() + "\" has no thumb button; it takes no input");
    if (node->hasChild("incbutton")) {
        incButton = makeButton(node->getNode("incbutton"));
        if (incButton) {
            GameNode::addChild(this, incButton.get());
            incButton->setCallback(GuiMethod::bind<Slider, &Slider::increment>(this));
            addListener(incButton.get());
        }
    }
    if (node->hasChild("decbutton")) {
        decButton = makeButton(node->getNode("decbutton"));
        if (decButton) {
            GameNode::addChild(this, decButton.get());
            decButton->setCallback(GuiMethod::bind<Slider, &Slider::decrement>(this));
            addListener(decButton.get());
        }
    }
    if (minValue == maxValue)
        LOG_WARNING("Slider \"" + getName() + "\": minimum and maximum are equal");
    // After the buttons exist, so the flag reaches them too.
    enabled = true;
    setEnabled(startEnabled);
    value = minValue;
    computeTrack();
    placeStepButtons();
    updateButtonPosition();
}

Slider::~Slider()
{
    clearListeners();
}

RefPointer<Button> Slider::makeButton(AbstractProperty* definition)
{
    RefPointer<Button> button = ObjectFactoryContainer::createFrom<Button>(definition);
    if (!button)
        LOG_WARNING("Slider \"" + getName() + "\": \"" + definition->getTypeName() + "\" makes no button");
    return button;
}

Interface* Slider::getInterface(const ClassRecord* record)
{
    if (record == &iInputListener::classRecord)
        return static_cast<iInputListener*>(static_cast<iInputListenerContainer*>(this));
    if (record == &iGuiMethod::classRecord)
        return static_cast<iGuiMethod*>(static_cast<GuiCallback*>(this));
    return Sprite::getInterface(record);
}

bool Slider::containsPoint(int px, int py)
{
    const int left = getAbsoluteX();
    const int top = getAbsoluteY();
    return px >= left && px < left + getWidth() && py >= top && py < top + getHeight();
}

void Slider::computeTrack()
{
    trackStart = {0.0f, 0.0f};
    if (!thumb) {
        trackEnd = trackStart;
        return;
    }
    if (vertical)
        trackEnd = {0.0f, static_cast<float>(getHeight() - thumb->getHeight())};
    else
        trackEnd = {static_cast<float>(getWidth() - thumb->getWidth()), 0.0f};
}

bool Slider::isUsable() const
{
    const float dx = trackEnd.x - trackStart.x;
    const float dy = trackEnd.y - trackStart.y;
    return thumb && minValue != maxValue && (dx != 0.0f || dy != 0.0f);
}

void Slider::placeStepButtons()
{
    const int halfWidth = static_cast<int>(std::lround(getWidth() / 2.0));
    const int halfHeight = static_cast<int>(std::lround(getHeight() / 2.0));
    if (vertical) {
        if (decButton) {
            decButton->setAnchorPoint(Sprite::Bottom);
            decButton->setPosition(halfWidth, 0);
        }
        if (incButton) {
            incButton->setAnchorPoint(Sprite::Top);
            incButton->setPosition(halfWidth, getHeight());
        }
    } else {
        if (decButton) {
            decButton->setAnchorPoint(Sprite::Right);
            decButton->setPosition(0, halfHeight);
        }
        if (incButton) {
            incButton->setAnchorPoint(Sprite::Left);
            incButton->setPosition(getWidth(), halfHeight);
        }
    }
}

void Slider::setEnabled(bool newValue)
{
    if (newValue == enabled)
        return;
    enabled = newValue;
    for (Button* button : {thumb.get(), incButton.get(), decButton.get()}) {
        if (button)
            button->setEnabled(newValue);
    }
}

void Slider::setValue(float newValue)
{
    value = isUsable() ? newValue : minValue;
    updateButtonPosition();
}

void Slider::updateButtonPosition()
{
    if (!isUsable()) {
        thumbNode->setPosition(0, 0);
        return;
    }
    const float t = std::fabs((value - minValue) / (maxValue - minValue));
    thumbNode->setPosition(static_cast<int>(std::trunc(trackStart.x + (trackEnd.x - trackStart.x) * t)),
                           static_cast<int>(std::trunc(trackStart.y + (trackEnd.y - trackStart.y) * t)));
    setDirty(true);
}

void Slider::dragTo(int x, int y)
{
    const float px = static_cast<float>(x - grabX);
    const float py = static_cast<float>(y - grabY);
    const float abx = trackEnd.x - trackStart.x;
    const float aby = trackEnd.y - trackStart.y;
    // The point of the track nearest to the pointer.
    const float d1 = (px - trackStart.x) * abx + (py - trackStart.y) * aby;
    const float d2 = (px - trackEnd.x) * -abx + (py - trackEnd.y) * -aby;
    Sprite::PointF2 nearest;
    if (d1 <= 0.0f)
        nearest = trackStart;
    else if (d2 <= 0.0f)
        nearest = trackEnd;
    else
        nearest = {trackStart.x + abx * d1 / (d1 + d2), trackStart.y + aby * d1 / (d1 + d2)};
    thumbNode->setPosition(static_cast<int>(std::lround(nearest.x)), static_cast<int>(std::lround(nearest.y)));
    const float along = std::hypot(nearest.x - trackStart.x, nearest.y - trackStart.y);
    const float length = std::hypot(abx, aby);
    value = minValue + (maxValue - minValue) * along / length;
    setDirty(true);
}

void Slider::changed()
{
    RefPointer<Slider> keep(this);
    invoke(this);
}

int Slider::increment(BaseObject*)
{
    if (!isUsable())
        return 0;
    value += (maxValue - minValue) * 0.1f;
    if ((maxValue >= minValue && value >= maxValue) || (maxValue < minValue && value <= maxValue))
        value = maxValue;
    updateButtonPosition();
    changed();
    return 0;
}

int Slider::decrement(BaseObject*)
{
    if (!isUsable())
        return 0;
    value -= (maxValue - minValue) * 0.1f;
    if ((maxValue >= minValue && value <= minValue) || (maxValue < minValue && value >= minValue))
        value = minValue;
    updateButtonPosition();
    changed();
    return 0;
}

bool Slider::onLeftDown(int x, int y, int keys, bool doubleClick)
{
    if (iInputListenerContainer::onLeftDown(x, y, keys, doubleClick))
        return true;
    if (!thumb)
        return containsPoint(x, y);
    const bool onThumb = thumb->containsPoint(x, y);
    const bool inside = onThumb || containsPoint(x, y);
    if (!inside)
        return false;
    if (enabled && isUsable()) {
        grabX = getAbsoluteX();
        grabY = getAbsoluteY();
        if (onThumb) {
            grabX += x - thumbNode->getAbsoluteX();
            grabY += y - thumbNode->getAbsoluteY();
        }
        dragTo(x, y);
        thumb->setState(Button::Pressed);
        changed();
    }
    return true;
}

bool Slider::onMouseMove(int x, int y, int keys)
{
    if (iInputListenerContainer::onMouseMove(x, y, keys))
        return true;
    if (!enabled || !thumb || !isUsable())
        return false;
    if (thumb->getState() == Button::Pressed) {
        dragTo(x, y);
        changed();
    } else {
        thumb->setState(thumb->containsPoint(x, y) ? Button::Over : Button::Normal);
    }
    return false;
}

bool Slider::onLeftUp(int x, int y, int keys)
{
    if (iInputListenerContainer::onLeftUp(x, y, keys))
        return true;
    if (!thumb)
        return containsPoint(x, y);
    if (thumb->containsPoint(x, y)) {
        thumb->setState(Button::Over);
        return true;
    }
    thumb->setState(Button::Normal);
    return containsPoint(x, y);
}
