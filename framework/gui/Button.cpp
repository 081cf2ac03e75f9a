#include "framework/gui/Button.h"

#include <cmath>
#include <cstdlib>

#include "framework/core/Log.h"
#include "framework/core/ObjectFactoryContainer.h"
#include "framework/core/PropertyNode.h"
#include "framework/core/StringUtils.h"
#include "framework/graphics/ImageLock.h"
#include "framework/resources/FileModes.h"
#include "framework/resources/ImageResource.h"
#include "framework/resources/ResourceLookup.h"
#include "framework/resources/ResourceManager.h"
#include "framework/sound/Sound.h"
#include "host/HostPlatform.h"

TT_DEFINE_RECORD(Button, &Sprite::classRecord, &iInputListener::classRecord, &iGuiMethod::classRecord);
TT_DEFINE_RECORD(URLButton, &Button::classRecord);
TT_REGISTER_CLASS(Button);
TT_REGISTER_CLASS(URLButton);

namespace {

constexpr int kButtonFrames = 4;
constexpr int kMaskThreshold = 128;

} // namespace

Button::Button(AbstractProperty* properties) : Sprite(properties)
{
    PropertyNode* node = properties ? properties->asNode() : DUMMY_NODE;
    enabled = node->getBool("enabled", true);
    if (node->hasChild("hitmask")) {
        const std::string maskName = node->getString("hitmask");
        hitMask = ResourceLookup::findAs<Image>(maskName, node->getString("section"));
        if (!hitMask)
            LOG_WARNING("Button \"" + getName() + "\": no hit mask \"" + maskName + "\"");
    }
    hitMaskThreshold = node->getInt("hitmaskthreshold", -1);
    clickSound = node->getString("clicksound");
    disabledSound = node->getString("disabledsound");
    overSound = node->getString("oversound");
    soundSection = node->getString("soundsection");
    if (node->hasChild("firekey"))
        fireKeys = parseFireKeys(node->getString("firekey"));
    setUpFrames();
}

Button::Button(int x, int y, Image* image, const GuiMethod& method)
{
    GameNode::setPosition(x, y);
    setCallback(method);
    setImage(image);
    setUpFrames();
}

Button::~Button() = default;

Interface* Button::getInterface(const ClassRecord* record)
{
    if (record == &iInputListener::classRecord)
        return static_cast<iInputListener*>(this);
    if (record == &iGuiMethod::classRecord)
        return static_cast<iGuiMethod*>(static_cast<GuiCallback*>(this));
    return Sprite::getInterface(record);
}

void Button::setUpFrames()
{
    if (!getImage())
        return;
    Sprite::setFrameCount(kButtonFrames, false);
    // Forces the source rectangle to the state's frame.
    const int frame = enabled ? state : Disabled;
    Sprite::setCurrentFrame(frame == 0 ? 1 : 0);
    Sprite::setCurrentFrame(frame);
}

void Button::setImage(Image* image)
{
    if (image == getImage())
        return;
    Sprite::setImage(image);
    setUpFrames();
}

void Button::setCurrentFrame(int frame)
{
    if (!getImage())
        return;
    Sprite::setCurrentFrame(enabled ? frame : Disabled);
}

void Button::setEnabled(bool value)
{
    if (value == enabled)
        return;
    enabled = value;
    setCurrentFrame(state);
    if (!enabled)
        hovering.set(false);
}

void Button::setState(int value)
{
    if (value == state)
        return;
    state = value;
    setCurrentFrame(state);
}

void Button::toLocal(const Sprite* sprite, int x, int y, int& localX, int& localY)
{
    const Sprite::PointF2 anchor = sprite->getAnchorPoint();
    localX = x - static_cast<int>(std::trunc(static_cast<float>(sprite->getAbsoluteX()) - anchor.x));
    localY = y - static_cast<int>(std::trunc(static_cast<float>(sprite->getAbsoluteY()) - anchor.y));
}

int Button::alphaAt(Image* image, int x, int y)
{
    if (!image || x < 0 || y < 0 || x >= image->getWidth() || y >= image->getHeight())
        return -1;
    ImageLock lock(image);
    if (!lock)
        return -1;
    if (image->getBytesPerPixel() == 4)
        return Sprite::pixelAddress(image, x, y)[3];
    if (!image->getAlphaPlane())
        return 255;
    return *Sprite::maskPixelAddress(image, x, y);
}

bool Button::containsPoint(int px, int py)
{
    int localX = 0, localY = 0;
    toLocal(this, px, py, localX, localY);
    if (localX < 0 || localY < 0 || localX >= getWidth() || localY >= getHeight())
        return false;
    Image* test = nullptr;
    int threshold = 0;
    if (hitMask) {
        test = hitMask.get();
        threshold = kMaskThreshold;
    } else {
        if (hitMaskThreshold < 0)
            return true;
        test = getImage();
        threshold = hitMaskThreshold;
        if (!test)
            return true;
    }
    return alphaAt(test, localX, localY) > threshold;
}

std::vector<int> Button::parseFireKeys(const std::string& text)
{
    std::string compact;
    for (char c : text) {
        if (c != ' ' && c != '\t')
            compact.push_back(c);
    }
    std::vector<std::string> entries;
    splitString(compact, entries, ",", false);
    std::vector<int> keys;
    for (std::string& entry : entries) {
        int base = 10;
        if (entry[0] == '#') {
            entry.erase(0, 1);
            base = 16;
        } else if (entry.size() > 1 && entry[0] == '0' && (entry[1] == 'x' || entry[1] == 'X')) {
            entry.erase(0, 2);
            base = 16;
        }
        char* end = nullptr;
        const long value = std::strtol(entry.c_str(), &end, base);
        if (entry.empty() || *end != '\0') {
            LOG_WARNING("Fire key \"" + entry + "\" is not a number");
            continue;
        }
        keys.push_back(static_cast<int>(value));
    }
    return keys;
}

void Button::playSound(const std::string& name, const std::string& section)
{
    if (name.empty())
        return;
    RefPointer<Sound> sound = ResourceLookup::findAs<Sound>(name, section);
    if (!sound)
        return;
    Sound::play(sound.get(), 128, 255, false);
}

void Button::fire()
{
    invoke(this);
}

bool Button::onKeyDown(int key)
{
    if (!enabled)
        return false;
    for (int fireKey : fireKeys) {
        if (fireKey == key) {
            setState(Pressed);
            return true;
        }
    }
    return false;
}

bool Button::onKeyUp(int key)
{
    if (!enabled)
        return false;
    for (int fireKey : fireKeys) {
        if (fireKey == key) {
            RefPointer<Button> keep(this);
            fire();
            setState(Normal);
            return true;
        }
    }
    return false;
}

bool Button::onMouseMove(int x, int y, int keys)
{
    const bool hit = containsPoint(x, y);
    const bool wasHovering = hovering.isSet();
    hovering.set(hit && enabled);
    if (keys & 1) {
        if (hit && state == Over)
            setState(Pressed);
        else if (!hit && state == Pressed)
            setState(Over);
    } else if (hit) {
        if (enabled && !wasHovering)
            playSound(overSound, soundSection);
        setState(Over);
    } else {
        setState(Normal);
    }
    return false;
}

bool Button::onLeftDown(int x, int y, int, bool)
{
    if (!containsPoint(x, y))
        return false;
    if (enabled) {
        playSound(clickSound, soundSection);
        setState(Pressed);
        return true;
    }
    playSound(disabledSound, soundSection);
    setState(Pressed);
    return false;
}

bool Button::onLeftUp(int x, int y, int)
{
    if (!containsPoint(x, y)) {
        setState(Normal);
        return false;
    }
    if (enabled && state == Pressed) {
        // The callback may close the dialog that holds the button; it sees
        // the button still pressed, and the release follows.
        RefPointer<Button> keep(this);
        fire();
        setState(Normal);
        return true;
    }
    setState(Over);
    return false;
}

void Button::resetInput()
{
    setState(Normal);
    hovering.set(false);
}

URLButton::URLButton(AbstractProperty* properties) : Button(properties)
{
    PropertyNode* node = properties ? properties->asNode() : DUMMY_NODE;
    url = node->getString("url");
    if (node->hasChild("file")) {
        // Through an image resource of its own, so that the file modes and
        // both picture formats apply as for every other picture.
        const std::string file = node->getString("file");
        RefPointer<ImageResource> resource(
            new ImageResource(file, std::string(), fileModeFromWord(node->getString("archive"))));
        resource->load();
        RefPointer<Image> image;
        {
            ResourceLock lock;
            image = resource->getImage();
        }
        if (image)
            setImage(image.get());
        else
            LOG_WARNING("URL button \"" + getName() + "\": cannot load \"" + file + "\"");
    }
}

void URLButton::fire()
{
    invoke(this);
}

int URLButton::invoke(BaseObject* argument)
{
    if (!url.empty() && !HostPlatform::current().openWebAddress(url))
        LOG_WARNING("Cannot open \"" + url + "\"");
    return Button::invoke(argument);
}
