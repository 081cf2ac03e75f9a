#include "framework/gui/AlphaTransitionScene.h"

#include "framework/core/Log.h"
#include "framework/core/ObjectFactoryContainer.h"
#include "framework/core/PropertyNode.h"
#include "framework/gui/FullScreenHandler.h"
#include "framework/platform/GameWindow.h"
#include "framework/scenegraph/ModifierAlpha.h"
#include "framework/scenegraph/ModifierFunction.h"
#include "framework/scenegraph/RenderTask.h"
#include "host/HostPlatform.h"

TT_DEFINE_RECORD(AlphaTransitionScene, &TransitionScene::classRecord);
TT_REGISTER_CREATOR(AlphaTransition, AlphaTransitionScene);
TT_REGISTER_CLASS(AlphaTransitionScene);

namespace {

// The loader wait gives up after this long, so a stuck section cannot freeze the game.
constexpr int kLoaderWaitLimitMs = 30000;
constexpr int kLoaderPollMs = 10;

} // namespace

AlphaTransitionScene::AlphaTransitionScene(AbstractProperty* properties) : TransitionScene(properties)
{
    PropertyNode* node = properties ? properties->asNode() : DUMMY_NODE;
    time = node->getInt("time", time);
    wait = node->getBool("wait", wait);
    addPictures(this, oldPicture, newPicture);
}

void AlphaTransitionScene::addPictures(Scene* scene, RefPointer<Sprite>& oldPicture, RefPointer<Sprite>& newPicture)
{
    oldPicture = makePicture();
    newPicture = makePicture();
    GameNode::addChild(scene->getTree(), oldPicture.get());
    GameNode::addChild(scene->getTree(), newPicture.get());
}

void AlphaTransitionScene::fadeThenCall(Sprite* picture, int timeMs, int from, int to, GuiMethod::Function done,
                                        void* context)
{
    Modifier* fade = GameNode::addModifier(picture, new ModifierAlpha(timeMs, from, to));
    fade->addEndFlags(Modifier::EndWait);
    GameNode::addModifier(picture, new ModifierFunction(done, context));
}

RefPointer<Sprite> AlphaTransitionScene::makePicture()
{
    const int width = GameWindow::instance ? GameWindow::instance->getWidth() : 800;
    const int height = GameWindow::instance ? GameWindow::instance->getHeight() : 600;
    const int bytesPerPixel = GameWindow::instance ? GameWindow::instance->getBytesPerPixel() : 4;
    RefPointer<Image> image = Image::create(width, height, bytesPerPixel);
    if (image)
        image->setHasAlphaChannel(true);
    return RefPointer<Sprite>(new Sprite(0, 0, image.get()));
}

void AlphaTransitionScene::drawScene(Scene* scene, Sprite* picture)
{
    Image* image = picture ? picture->getImage() : nullptr;
    if (!image)
        return;
    RefPointer<Graphics> graphics = image->getGraphics();
    if (!graphics)
        return;
    // Whatever the scene leaves uncovered shows black, never stale memory.
    graphics->setColour(0xFF000000u);
    graphics->clear();
    graphics->fillRectChannel(Graphics::ChannelAlpha, 255, 0, 0, image->getWidth(), image->getHeight());
    if (scene && scene->isVisible())
        RenderTask::renderFrame(scene, graphics.get(), scene->getTree());
    picture->setDirty(true);
}

bool AlphaTransitionScene::waitForLoader(int limitMs)
{
    const uint32_t start = getMilliseconds();
    while (!TransitionScene::isLoaderIdle()) {
        if (static_cast<int>(getMilliseconds() - start) >= limitMs) {
            LOG_WARNING("The transition stopped waiting for the resource loader after " + std::to_string(limitMs) +
                        " ms");
            return false;
        }
        // The window stays responsive while the loader works.
        if (GameWindow::instance) {
            WindowMessage message;
            while (GameWindow::instance && GameWindow::instance->peekMessage(message))
                GameWindow::instance->dispatchMessage(message);
        }
        sleepMilliseconds(kLoaderPollMs);
    }
    return true;
}

void AlphaTransitionScene::prepareFullScreenHandler(Scene* target)
{
    if (!FullScreenHandler::instance)
        return;
    FullScreenHandler::setActive(false);
    FullScreenHandler::refresh(target);
}

void AlphaTransitionScene::show()
{
    TransitionScene::show();
    if (wait)
        waitForLoader(kLoaderWaitLimitMs);
    showTarget();
    newPicture->setAlpha(0);
    fadeThenCall(newPicture.get(), time, 0, 255, &TransitionScene::finishCallback, this);
    drawScene(getFrom(), oldPicture.get());
    prepareFullScreenHandler(getTo());
    drawScene(getTo(), newPicture.get());
}

void AlphaTransitionScene::restoreFullScreenHandler(Scene* target)
{
    FullScreenHandler::setActive(true);
    FullScreenHandler::refresh(target);
}

void AlphaTransitionScene::finishTransition()
{
    TransitionScene::finishTransition();
    restoreFullScreenHandler(getTo());
}
