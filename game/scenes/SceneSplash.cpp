#include "game/scenes/SceneSplash.h"

#include "framework/core/ObjectFactoryContainer.h"
#include "framework/core/PropertyStore.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/Image.h"
#include "framework/graphics/ImageDecoders.h"
#include "framework/gui/SceneManager.h"
#include "framework/platform/GameWindow.h"
#include "framework/resources/FileModes.h"
#include "framework/resources/ResourceManager.h"
#include "framework/resources/ResourceSection.h"
#include "framework/scenegraph/ModifierAlpha.h"
#include "framework/scenegraph/ModifierDelay.h"
#include "framework/scenegraph/ModifierFunction.h"
#include "framework/scenegraph/Sprite.h"
#include "host/Folders.h"

TT_DEFINE_RECORD(SceneSplash, &Scene::classRecord);
TT_REGISTER_CLASS(SceneSplash);

namespace {

constexpr int kScreenWidth = 800;
constexpr int kScreenHeight = 600;
constexpr int kImageDelayMs = 200;

// Whether every resource of the section is loaded; the request queues it
// when it is not.
bool requestAndCheck(const char* name)
{
    ResourceManager* resources = ResourceManager::instance;
    if (!resources)
        return true;
    resources->requestSection(name);
    ResourceSection* section = resources->getSection(name);
    return !section || section->isFullyLoaded();
}

} // namespace

SceneSplash::SceneSplash(AbstractProperty* configuration) : Scene(configuration) {}

RefPointer<Image> SceneSplash::readSplashPicture(const std::string& folder, int index)
{
    std::string base = folder + "/splash" + std::to_string(index);
    RefPointer<Image> picture;
    if (isRegularFile(base + ".jpg"))
        picture = loadJpegFile(base + ".jpg");
    if (!picture && isRegularFile(base + ".png"))
        picture = loadPngFile(base + ".png", 0);
    return picture;
}

void SceneSplash::loadContent()
{
    Scene::loadContent();
    std::string branding = folder + "/branding.xml";
    RefPointer<PropertyStore> store(new PropertyStore());
    store->setFileMode(FILE_MODE_FILE);
    if (isRegularFile(branding) && store->isReadable(branding) && store->loadFile(branding)) {
        if (store->hasChild("SPLASH_FADE_TIME"))
            fadeTime = store->getInt("SPLASH_FADE_TIME");
        if (store->hasChild("SPLASH_DISPLAY_TIME"))
            displayTime = store->getInt("SPLASH_DISPLAY_TIME");
        if (store->hasChild("SHOW_LARKSPIRE_ANIMATION"))
            coverShown = !store->getBool("SHOW_LARKSPIRE_ANIMATION");
    }
    if (!coverShown) {
        // The brand animation of the layout stands first.
        Modifier* delay = Modifier::addChild(getAnimTree(), new ModifierDelay(displayTime));
        Modifier::addChild(delay, new ModifierFunction(GuiMethod(this, &SceneSplash::onStartCover)));
    } else {
        startCover();
    }
}

int SceneSplash::onStartCover(void* context, BaseObject* /*argument*/)
{
    static_cast<SceneSplash*>(context)->startCover();
    return 0;
}

void SceneSplash::startCover()
{
    int bytesPerPixel = GameWindow::instance ? GameWindow::instance->getBytesPerPixel() : 4;
    RefPointer<Image> picture = Image::create(kScreenWidth, kScreenHeight, bytesPerPixel);
    if (picture) {
        // Opaque: the frame under it is not cleared, so the pictures' fades
        // need a whole picture under them every frame.
        picture->setHasAlphaChannel(false);
        RefPointer<Graphics> graphics = picture->getGraphics();
        if (graphics) {
            graphics->setColour(getColor());
            graphics->clear();
        }
    }
    RefPointer<Sprite> sprite(new Sprite(0, 0, picture.get()));
    cover = sprite.get();
    addComponent(cover);

    Modifier* last = nullptr;
    if (!coverShown) {
        cover->setAlpha(0);
        Modifier* fade = new ModifierAlpha(fadeTime, 0, 255);
        fade->setTarget(cover);
        last = Modifier::addChild(getAnimTree(), fade);
        last = Modifier::addChild(last, new ModifierFunction(GuiMethod(this, &SceneSplash::onCoverShown)));
    }
    Modifier* delay = new ModifierDelay(kImageDelayMs);
    last = last ? Modifier::addChild(last, delay) : Modifier::addChild(getAnimTree(), delay);
    Modifier::addChild(last, new ModifierFunction(GuiMethod(this, &SceneSplash::onShowNextImage)));
}

int SceneSplash::onCoverShown(void* context, BaseObject* /*argument*/)
{
    static_cast<SceneSplash*>(context)->coverShown = true;
    return 0;
}

int SceneSplash::onShowNextImage(void* context, BaseObject* /*argument*/)
{
    static_cast<SceneSplash*>(context)->showNextImage();
    return 0;
}

void SceneSplash::showNextImage()
{
    splashFinished = true;
    RefPointer<Image> picture = readSplashPicture(folder, imageIndex);
    if (!picture)
        return;
    RefPointer<Sprite> sprite(new Sprite((kScreenWidth - picture->getWidth()) / 2,
                                         (kScreenHeight - picture->getHeight()) / 2, picture.get()));
    sprite->setAlpha(0);
    addComponent(sprite.get());

    Modifier* fadeIn = new ModifierAlpha(fadeTime, 0, 255);
    fadeIn->addEndFlags(Modifier::EndWait);
    GameNode::addModifier(sprite.get(), fadeIn);
    Modifier* stand = new ModifierDelay(displayTime);
    stand->addEndFlags(Modifier::EndWait);
    GameNode::addModifier(sprite.get(), stand);
    Modifier* fadeOut = new ModifierAlpha(fadeTime, 255, 0);
    fadeOut->addEndFlags(Modifier::EndWait);
    GameNode::addModifier(sprite.get(), fadeOut);
    Modifier* next = new ModifierFunction(GuiMethod(this, &SceneSplash::onShowNextImage));
    next->addEndFlags(Modifier::EndRemoveTarget);
    GameNode::addModifier(sprite.get(), next);

    ++imageIndex;
    splashFinished = false;
}

void SceneSplash::render(Graphics* graphics)
{
    if (graphics && !getFrameImage()) {
        const uint32_t savedColour = graphics->getColour();
        const int savedAlpha = graphics->getAlpha();
        graphics->setColour(0xFF000000u);
        graphics->setAlpha(255);
        graphics->clear();
        graphics->setColour(savedColour);
        graphics->setAlpha(savedAlpha);
    }
    Scene::render(graphics);
}

void SceneSplash::update(int elapsedMs)
{
    Scene::update(elapsedMs);
    if (!splashFinished || !SceneManager::instance)
        return;
    if (!requestAndCheck("preloading"))
        return;
    SceneManager* scenes = SceneManager::instance;
    if (Scene* next = scenes->getScene("SCENE_LOAD")) {
        if (scenes->getNextScene() != next) {
            scenes->setTransition("TRANSITION_SPLASH");
            scenes->setNextScene(next);
        }
    }
}
