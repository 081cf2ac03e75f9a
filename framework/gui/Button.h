#pragma once

#include <string>
#include <vector>

#include "framework/core/RefPointer.h"
#include "framework/graphics/Image.h"
#include "framework/gui/GuiCallback.h"
#include "framework/platform/InputHandler.h"
#include "framework/platform/iInputListener.h"
#include "framework/scenegraph/Sprite.h"

// The clickable sprite: four frames stacked top to bottom (normal, over,
// pressed, disabled), an optional hit mask, sounds for hover, click and a
// click while disabled, keys that fire it, and a callback run when it fires.
class Button : public Sprite, public iInputListener, public GuiCallback {
    TT_CLASS_RECORD(Button)
public:
    enum State : int { Normal = 0, Over = 1, Pressed = 2, Disabled = 3 };

    explicit Button(AbstractProperty* configuration);
    Button(int x, int y, Image* image, const GuiMethod& method);
    ~Button() override;

    Interface* getInterface(const ClassRecord* record) override;
    // A disabled button always shows frame 3.
    void setCurrentFrame(int frame) override;
    // Inside the frame rectangle, then the mask's alpha above the threshold;
    // a point outside the mask picture never hits.
    bool containsPoint(int px, int py) override;
    void setImage(Image* image) override;
    virtual void setEnabled(bool value);
    virtual void setState(int value);

    bool isEnabled() const { return enabled; }
    int getState() const { return state; }
    bool isHovering() const { return hovering.isSet(); }
    const std::vector<int>& getFireKeys() const { return fireKeys; }
    void setFireKeys(const std::vector<int>& keys) { fireKeys = keys; }
    // Runs the button's action: the bound callback (a URL button opens its address first).
    virtual void fire();

    bool onKeyDown(int key) override;
    bool onKeyUp(int key) override;
    bool onMouseMove(int x, int y, int keys) override;
    bool onLeftDown(int x, int y, int keys, bool doubleClick) override;
    bool onLeftUp(int x, int y, int keys) override;
    void resetInput() override;

    // "13, 0x20" style lists: decimal, or hexadecimal after "#", "0x" or "0X".
    static std::vector<int> parseFireKeys(const std::string& text);
    // Plays the named sound of the section at full volume, centred; nothing for an empty or unknown name.
    static void playSound(const std::string& name, const std::string& section);
    // The alpha of the picture at (x, y), or -1 outside it.
    static int alphaAt(Image* image, int x, int y);
    // Position of a screen point inside the sprite's frame.
    static void toLocal(const Sprite* sprite, int x, int y, int& localX, int& localY);

private:
    void setUpFrames();

    int state = Normal;
    bool enabled = true;
    std::string clickSound;
    std::string disabledSound;
    std::string overSound;
    std::string soundSection;
    RefPointer<Image> hitMask;
    int hitMaskThreshold = -1;
    std::vector<int> fireKeys;
    HoverFlag hovering;
};

// A button that opens a web address when it fires, by mouse or by key.
class URLButton : public Button {
    TT_CLASS_RECORD(URLButton)
public:
    explicit URLButton(AbstractProperty* configuration);

    void fire() override;
    int invoke(BaseObject* argument) override;
    const std::string& getUrl() const { return url; }
    void setUrl(const std::string& value) { url = value; }

private:
    std::string url;
};
