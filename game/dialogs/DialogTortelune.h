#pragma once

#include <string>
#include <utility>
#include <vector>

#include "framework/core/GuiMethod.h"
#include "framework/gui/Dialog.h"

class Sprite;

// The base of every dialog of the game: it fades in when shown and out when
// closed, plays the show and hide sounds, can centre itself on the screen,
// takes the frame of the belt modes ("ice look"), and tells its opener
// through closeCallback once it has gone. A dialog closes once: further
// close calls while it fades out or after it went are ignored.
class DialogTortelune : public Dialog {
    TT_CLASS_RECORD(DialogTortelune)
public:
    explicit DialogTortelune(AbstractProperty* configuration);
    ~DialogTortelune() override;

    void show() override;
    // Starts the twinkles that finished in the last frame again.
    void update(int deltaMs) override;
    // show, then the fade-in.
    void showAndFadeIn();
    // Starts the fade-in; input is off until it ends.
    void playShowAnimation();
    // Fades out, leaves the scene, then calls closeCallback.
    void close();

    // Starts `count` endless twinkle loops over the dialog, at the template's
    // "twinkles" positions (measured from the dialog's own origin).
    void addTwinkles(int count);

    // Turns the dialog into a full-screen translucent black layer with its
    // frame at its place; its components stay live on top.
    void prepareDarkBackground();
    virtual void paintDarkBackground();
    virtual bool isIceLook();
    virtual void applyIceLook();

    bool isClosing() const { return closeState != CloseState::Open; }
    bool isCentredOnScreen() const { return centerOnScreen; }
    bool isDarkeningBackground() const { return darkenBackground; }
    const std::vector<std::pair<int, int>>& getTwinklePositions() const { return twinklePositions; }

    GuiMethod closeCallback;

protected:
    // Ends the fade-in: the buffer goes and input comes back.
    static int onShowAnimationDone(void* context, BaseObject* argument);
    // The show and hide sounds in place of the common ones.
    void setSounds(const std::string& show, const std::string& hide)
    {
        showSound = show;
        hideSound = hide;
    }
    // An empty key plays no sound when the dialog closes.
    void setHideSound(const std::string& key) { hideSound = key; }
    // The sounds of showing and hiding (empty: none), over the defaults.
    void setShowHideSounds(const std::string& show, const std::string& hide)
    {
        showSound = show;
        hideSound = hide;
    }

    // Paints `node` (as it would draw itself, at its place in the dialog)
    // into the dialog's frame picture and hides it: the frame carries it from
    // then on and fades with the dialog. False when there is nothing to paint.
    bool stampIntoFrame(GameNode* node);

    bool playSounds = true;

private:
    enum class CloseState { Open, Closing, Closed };

    static int onTwinkleDone(void* context, BaseObject* argument);
    void spawnTwinkle();
    static int onFadedOut(void* context, BaseObject* argument);
    static int onClosed(void* context, BaseObject* argument);
    void setAllInput(bool enabled);
    // In the ice look, raises the darkened layer's alpha to the ice top's.
    void stampIceTop();
    void playSound(const std::string& key);

    Sprite* iceTop = nullptr;
    RefPointer<Image> framePicture;
    bool centerOnScreen = false;
    bool darkenBackground = false;
    std::string showSound = "SOUND_DIALOG_SHOW";
    std::string hideSound = "SOUND_DIALOG_HIDE";
    std::vector<std::pair<int, int>> twinklePositions;
    CloseState closeState = CloseState::Open;
    int pendingTwinkles = 0;
};
