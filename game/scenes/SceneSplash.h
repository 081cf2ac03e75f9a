#pragma once

#include <string>

#include "framework/gui/Scene.h"

class Image;
class Sprite;

// The first scene ("SCENE_SPLASH"): the numbered pictures of the folder
// "splash" one after another, each fading in, standing and fading out over a
// cover of the scene's colour, optionally after the layout's own brand
// animation; then the loading scene, once the section "preloading" is loaded.
// Timings and the brand option come from the optional "splash/branding.xml".
// Closing the window here ends the game at once.
class SceneSplash : public Scene {
    TT_CLASS_RECORD(SceneSplash)
public:
    explicit SceneSplash(AbstractProperty* configuration);

    void loadContent() override;
    void update(int elapsedMs) override;
    // Black under everything when the layout has no picture of its own: the
    // frame is not cleared between frames, and the fades need a ground.
    void render(Graphics* graphics) override;

    // The picture for `index` read straight from disk: the JPEG, else the PNG.
    static RefPointer<Image> readSplashPicture(const std::string& folder, int index);

    bool isCoverShown() const { return coverShown; }
    bool isSplashFinished() const { return splashFinished; }
    int getDisplayTime() const { return displayTime; }
    int getFadeTime() const { return fadeTime; }
    int getImageIndex() const { return imageIndex; }
    Sprite* getCover() const { return cover; }
    // The folder the branding file and the pictures are read from ("splash").
    void setFolder(const std::string& value) { folder = value; }

private:
    static int onStartCover(void* context, BaseObject* argument);
    static int onCoverShown(void* context, BaseObject* argument);
    static int onShowNextImage(void* context, BaseObject* argument);
    void startCover();
    void showNextImage();

    bool coverShown = false;
    bool splashFinished = false;
    int displayTime = 1700;
    int fadeTime = 500;
    int imageIndex = 0;
    Sprite* cover = nullptr;
    std::string folder = "splash";
};
