#include "framework/gui/Switch.h"

#include <algorithm>

#include "framework/core/Log.h"
#include "framework/core/ObjectFactoryContainer.h"
#include "framework/core/PropertyNode.h"
#include "framework/gui/Button.h"
#include "framework/resources/ResourceLookup.h"

TT_DEFINE_RECORD(Switch, &Sprite::classRecord, &iInputListener::classRecord, &iGuiMethod::classRecord);
TT_REGISTER_CLASS(Switch);

namespace {

constexpr int kSwitchFrames = 8;
constexpr int kMaskThreshold = 128;

// Every live switch, so that radio groups find their members.
std::vector<Switch*>& allSwitches()
{
    static std::vector<Switch*> switches;
    return switches;
}

} // namespace

Switch::Switch(AbstractProperty* properties) : Sprite(properties)
{
    allSwitches().push_back(this);
    PropertyNode* node = properties ? properties->asNode() : DUMMY_NODE;
    if (node->hasChild("hitmask")) {
        const std::string maskName = node->getString("hitmask");
        hitMask = ResourceLookup::findAs<Image>(maskName, node->getString("section"));
        if (!hitMask)
            LOG_WARNING("Switch \"" + getName() + "\": no hit mask \"" + maskName + "\"");
    }
    hitMaskThreshold = node->getInt("hitmaskthreshold", -1);
    groupId = node->getInt("groupid", -1);
    onSound = node->getString("onsound");
    offSound = node->getString("offsound");
    disabledSound = node->getString("disabledsound");
    soundSection = node->getString("soundsection");
    if (getImage())
        Sprite::setFrameCount(kSwitchFrames, false);
    showFrame();
    if (node->hasChild("enabled"))
        setEnabled(node->getBool("enabled", true));
    if (node->hasChild("checked"))
        setChecked(node->getBool("checked", false));
}

Switch::~Switch()
{
    auto& switches = allSwitches();
    switches.erase(std::remove(switches.begin(), switches.end(), this), switches.end());
}

Interface* Switch::getInterface(const ClassRecord* record)
{
    if (record == &iInputListener::classRecord)
        return static_cast<iInputListener*>(this);
    if (record == &iGuiMethod::classRecord)
        return static_cast<iGuiMethod*>(static_cast<GuiCallback*>(this));
    return Sprite::getInterface(record);
}

void Switch::setCurrentFrame(int frameState)
{
    if (!getImage())
        return;
    Sprite::setCurrentFrame((enabled ? frameState : 3) + (checked ? 4 : 0));
}

void Switch::showFrame()
{
    setCurrentFrame(state);
}

void Switch::setImage(Image* image)
{
    if (image == getImage())
        return;
    Sprite::setImage(image);
    if (image)
        Sprite::setFrameCount(kSwitchFrames, false);
    showFrame();
}

void Switch::setState(int value)
{
    if (value == state)
        return;
    state = value;
    showFrame();
}

void Switch::setEnabled(bool value)
{
    if (value == enabled)
        return;
    enabled = value;
    showFrame();
    if (!enabled)
        hovered.set(false);
}

void Switch::setChecked(bool value)
{
    if (value == checked)
        return;
    if (value && groupId >= 0) {
        // A copy: unchecking never creates or destroys switches, but stays safe if it did.
        const std::vector<Switch*> switches = allSwitches();
        for (Switch* other : switches) {
            if (other != this && other->groupId == groupId)
                other->setChecked(false);
        }
    }
    checked = value;
    showFrame();
}

bool Switch::containsPoint(int px, int py)
{
    if (hitShape) {
        Sprite* shape = objectCast<Sprite>(hitShape.get());
        if (shape && shape->containsPoint(px, py))
            return true;
    }
    int localX = 0, localY = 0;
    Button::toLocal(this, px, py, localX, localY);
    if (localX < 0 || localY < 0 || localX >= getWidth() || localY >= getHeight())
        return false;
    if (hitMask)
        return Button::alphaAt(hitMask.get(), localX, localY) > kMaskThreshold;
    if (hitMaskThreshold >= 0 && getImage())
        return Button::alphaAt(getImage(), localX, localY) > hitMaskThreshold;
    return true;
}

bool Switch::onMouseMove(int x, int y, int keys)
{
    const bool inside = containsPoint(x, y);
    hovered.set(inside && enabled);
    if (keys & 1) {
        if (inside && state == Over)
            setState(Pressed);
        else if (!inside && state == Pressed)
            setState(Over);
    } else {
        setState(inside ? Over : Normal);
    }
    return false;
}

bool Switch::onLeftDown(int x, int y, int, bool)
{
    if (!containsPoint(x, y))
        return false;
    setState(Pressed);
    return true;
}

bool Switch::onLeftUp(int x, int y, int)
{
    if (!containsPoint(x, y)) {
        setState(Normal);
        return false;
    }
    if (!enabled) {
        Button::playSound(disabledSound, soundSection);
        setState(Over);
        return false;
    }
    if (state != Pressed) {
        setState(Over);
        return false;
    }
    RefPointer<Switch> keep(this);
    if (groupId >= 0) {
        if (!checked) {
            setChecked(true);
            invoke(this);
            Button::playSound(onSound, soundSection);
        }
    } else {
        setChecked(!checked);
        invoke(this);
        Button::playSound(checked ? onSound : offSound, soundSection);
    }
    setState(Normal);
    return true;
}

void Switch::resetInput()
{
    setState(Normal);
    hovered.set(false);
}
