#include "game/dialogs/DialogTortelune.h"

#include <utility>

#include "framework/core/Log.h"
#include "framework/core/ObjectFactoryContainer.h"
#include "framework/core/PropertyNode.h"
#include "framework/core/PropertyVector.h"
#include "framework/core/Random.h"
#include "framework/core/SetupStore.h"
#include "framework/graphics/Graphics.h"
#include "framework/gui/Scene.h"
#include "framework/gui/SceneManager.h"
#include "framework/gui/TransitionScene.h"
#include "framework/platform/GameWindow.h"
#include "framework/resources/ResourceManager.h"
#include "framework/scenegraph/IRenderable.h"
#include "framework/scenegraph/ModifierAlpha.h"
#include "framework/scenegraph/ModifierDelay.h"
#include "framework/scenegraph/ModifierRotation.h"
#include "framework/scenegraph/ModifierScale.h"
#include "framework/scenegraph/ModifierVisible.h"
#include "framework/scenegraph/ModifierFunction.h"
#include "framework/scenegraph/Sprite.h"
#include "framework/sound/Sound.h"
#include "game/data/GameData.h"
#include "game/data/TuningTable.h"

TT_DEFINE_RECORD(DialogTortelune, &Dialog::classRecord);
TT_REGISTER_CLASS(DialogTortelune);

namespace {

constexpr int kScreenWidth = 800;
constexpr int kScreenHeight = 600;

// The scene dialogs open in: the current one, or during a transition the
// scene it leads to.
Scene* visibleScene()
{
    if (!SceneManager::instance)
        return nullptr;
    Scene* scene = SceneManager::instance->getCurrentScene();
    if (TransitionScene* transition = objectCast<TransitionScene>(scene)) {
        if (transition->getTo())
            return transition->getTo();
    }
    return scene;
}

// The full-screen layer of the last darkening dialog that went. A fresh one
// costs its pages' first touch, several milliseconds in the frame the next
// dialog opens in; the layer is painted over whole before it is shown again.
RefPointer<Image>& spareDarkLayer()
{
    static RefPointer<Image> layer;
    return layer;
}

RefPointer<Image> takeDarkLayer(int bytesPerPixel)
{
    RefPointer<Image> layer = std::move(spareDarkLayer());
    if (layer && layer->getBytesPerPixel() == bytesPerPixel)
        return layer;
    return Image::create(kScreenWidth, kScreenHeight, bytesPerPixel);
}

} // namespace

DialogTortelune::DialogTortelune(AbstractProperty* configuration) : Dialog(configuration)
{
    PropertyNode* node = configuration && configuration->isNode() ? configuration->asNode() : DUMMY_NODE;
    if (node->hasChild("autocenter"))
        centerOnScreen = node->getBool("autocenter");
    if (node->hasChild("dodarkenbackground"))
        darkenBackground = node->getBool("dodarkenbackground");
    if (node->hasChild("twinkles")) {
        for (const RefPointer<AbstractProperty>& entry : *node->getVector("twinkles")) {
            if (entry->isNode())
                twinklePositions.emplace_back(entry->asNode()->getInt("x"), entry->asNode()->getInt("y"));
        }
    }
    iceTop = objectCast<Sprite>(getComponent("SPRITE_ICETOP"));
}

DialogTortelune::~DialogTortelune()
{
    // Only a layer nobody else holds may be drawn into again.
    Image* layer = getFrameImage();
    if (darkenBackground && !getPainter() && layer && layer->getReferenceCount() == 1 &&
        layer->getWidth() == kScreenWidth && layer->getHeight() == kScreenHeight)
        spareDarkLayer() = layer;
}

void DialogTortelune::show()
{
    // A dialog kept by its opener and shown again closes again.
    if (closeState == CloseState::Closed)
        closeState = CloseState::Open;
    Dialog::show();
    if (isIceLook())
        applyIceLook();
    if (centerOnScreen)
        setPosition((kScreenWidth - getWidth()) / 2, (kScreenHeight - getHeight()) / 2);
    if (playSounds)
        playSound(showSound);
    if (darkenBackground) {
        prepareDarkBackground();
        stampIceTop();
    }
}

void DialogTortelune::stampIceTop()
{
    // The ice top reaches above the frame: the darkened layer takes at least
    // its opacity there, or it would sit on the dark veil.
    if (!iceTop || !iceTop->isVisible() || !isIceLook() || !getFrameImage())
        return;
    Image* picture = iceTop->getImage();
    RefPointer<Graphics> graphics = getFrameImage()->getGraphics();
    if (!picture || !graphics)
        return;
    // Measured in the layer, which covers the screen from the dialog's origin.
    const int x = iceTop->getAbsoluteX() - getAbsoluteX() - static_cast<int>(iceTop->getAnchorPoint().x);
    const int y = iceTop->getAbsoluteY() - getAbsoluteY() - static_cast<int>(iceTop->getAnchorPoint().y);
    graphics->blitChannelMax(picture, Graphics::ChannelAlpha, x, y);
    setBufferDirty(true);
}

void DialogTortelune::prepareDarkBackground()
{
    refreshBuffer();
    if (getPainter()) {
        // The frame is kept as a picture: the painter must not paint over the
        // layer. The painted frame is the dialog's own buffer, which nothing
        // paints once the painter is gone, so it is kept as it is.
        framePicture = getFrameImage();
        int width = getWidth();
        int height = getHeight();
        setPainter(nullptr);
        setSize(width, height);
    } else {
        // A picture of the resources is copied.
        framePicture = getFrameImage() ? Image::clone(getFrameImage()) : RefPointer<Image>();
    }
    // The dialog becomes a full-screen layer; its components stay where they were.
    getComponentRoot()->setPosition(getX(), getY());
    setPosition(0, 0);
    int bytesPerPixel = GameWindow::instance ? GameWindow::instance->getBytesPerPixel() : 4;
    RefPointer<Image> layer = takeDarkLayer(bytesPerPixel);
    if (!layer)
        return;
    layer->setHasAlphaChannel(true);
    setBackground(layer.get());
    Sprite::setWidth(kScreenWidth);
    Sprite::setHeight(kScreenHeight);
    paintDarkBackground();
}

void DialogTortelune::paintDarkBackground()
{
    Image* layer = getFrameImage();
    if (!layer)
        return;
    RefPointer<Graphics> graphics = layer->getGraphics();
    if (!graphics)
        return;
    graphics->setColour(0xFF000000u);
    graphics->clear();
    graphics->fillChannel(Graphics::ChannelAlpha, tuning().DIALOG_BACKGROUND_ALPHA & 0xFF, 0, 0);
    if (framePicture) {
        int x = getComponentRoot()->getX();
        int y = getComponentRoot()->getY();
        graphics->blit(framePicture.get(), x, y);
        graphics->blitChannelMax(framePicture.get(), Graphics::ChannelAlpha, x, y);
    }
    setBufferDirty(true);
}

void DialogTortelune::showAndFadeIn()
{
    DialogTortelune::show();
    playShowAnimation();
}

void DialogTortelune::setAllInput(bool enabled)
{
    inputContainer.setInputEnabled(enabled);
    setInputEnabled(enabled);
}

void DialogTortelune::playShowAnimation()
{
    // The whole dialog fades as one picture.
    setUseBuffer(true);
    setAllInput(false);
    setAlpha(0);
    Modifier* fade = new ModifierAlpha(tuning().DIALOG_FADE_TIME, 0, 255);
    fade->addEndFlags(Modifier::EndWait);
    GameNode::addModifier(this, fade);
    GameNode::addModifier(this, new ModifierFunction(GuiMethod(this, &DialogTortelune::onShowAnimationDone)));
}

int DialogTortelune::onShowAnimationDone(void* context, BaseObject* /*argument*/)
{
    auto* dialog = static_cast<DialogTortelune*>(context);
    dialog->setUseBuffer(false);
    if (dialog->closeState == CloseState::Open)
        dialog->setAllInput(true);
    return 0;
}

void DialogTortelune::close()
{
    // A second close (a double click, a key and a click in one frame) would
    // run the close callback twice.
    if (closeState != CloseState::Open)
        return;
    closeState = CloseState::Closing;
    setUseBuffer(true);
    setAllInput(false);
    Modifier* fade = new ModifierAlpha(tuning().DIALOG_FADE_TIME, 255, 0);
    fade->addEndFlags(Modifier::EndWait);
    GameNode::addModifier(this, fade);
    GameNode::addModifier(this, new ModifierFunction(GuiMethod(this, &DialogTortelune::onFadedOut)));
    if (playSounds)
        playSound(hideSound);
}

int DialogTortelune::onFadedOut(void* context, BaseObject* /*argument*/)
{
    RefPointer<DialogTortelune> dialog(static_cast<DialogTortelune*>(context));
    dialog->Dialog::close();
    dialog->closeState = CloseState::Closed;
    GuiMethod callback = dialog->closeCallback;
    if (callback.isBound())
        callback.invoke(dialog.get());
    return 0;
}

bool DialogTortelune::isIceLook()
{
    if (!iceTop || !SceneManager::instance)
        return false;
    Scene* scene = visibleScene();
    if (!scene)
        return false;
    SceneManager* scenes = SceneManager::instance;
    if (scene == scenes->getScene("SCENE_GAME"))
        return GameData::instance && ((GameData::instance->state && GameData::instance->state->mode == 1) || GameData::instance->isExamLevel());
    return scene == scenes->getScene("SCENE_ARCADE");
}

void DialogTortelune::applyIceLook()
{
    if (iceTop)
        iceTop->setVisible(true);
    if (!SetupStore::instance)
        return;
    PropertyNode* definition = SetupStore::instance->findTemplate("ARCADE_PAINTER");
    if (definition == DUMMY_NODE)
        return;
    RefPointer<AbstractPainter> painter = ObjectFactoryContainer::createFrom<AbstractPainter>(definition);
    if (painter)
        setPainter(painter.get());
}

void DialogTortelune::addTwinkles(int count)
{
    if (count <= 0)
        return;
    GameNode* twinkles = getComponent("NODE_TWINKLES");
    if (!twinkles) {
        RefPointer<GameNode> node(new GameNode());
        node->setName("NODE_TWINKLES");
        addComponent(node.get());
        twinkles = node.get();
    }
    GameNode* layer = getComponentRoot();
    twinkles->setPosition(-layer->getX(), -layer->getY());
    for (int i = 0; i < count; ++i)
        spawnTwinkle();
}

void DialogTortelune::spawnTwinkle()
{
    if (twinklePositions.empty() || !Random::instance || !SceneManager::instance)
        return;
    GameNode* twinkles = getComponent("NODE_TWINKLES");
    Scene* scene = visibleScene();
    if (!twinkles || !scene)
        return;
    const TuningTable& values = tuning();
    Random& random = *Random::instance;
    const std::pair<int, int>& place =
        twinklePositions[static_cast<size_t>(random.nextInt(0, static_cast<int>(twinklePositions.size())))];
    int spread = values.TWINKLEDLG_DELAY_MAX - values.TWINKLEDLG_DELAY_MIN;
    int delay = values.TWINKLEDLG_DELAY_MIN + (spread > 0 ? random.nextInt(0, spread) : 0);
    const char* imageName = random.nextInt(0, 3) == 0 ? "TWINKLE_LARGE" : "TWINKLE_SMALL";
    RefPointer<Image> image;
    if (ResourceManager::instance) {
        ResourceLock lock;
        image = ResourceManager::instance->getResourceAs<Image>(imageName, "default");
    }
    RefPointer<Sprite> twinkle(new Sprite(place.first, place.second, image.get()));
    twinkle->setAnchorPoint(Sprite::Center);
    twinkle->setPivotPointKind(Sprite::Center);
    twinkle->setVisible(false);
    GameNode::addChild(twinkles, twinkle.get());

    auto targeted = [&](Modifier* modifier) {
        modifier->setTarget(twinkle.get());
        return modifier;
    };
    const float quarter = 1.5707964f;
    const float fiveEighths = 3.926991f;
    Modifier* wait = Modifier::addChild(scene->getAnimTree(), targeted(new ModifierDelay(delay)));
    Modifier::addChild(wait, targeted(new ModifierScale(values.TWINKLEDLG_IN_DURATION, 0.0f, 1.0f)));
    Modifier::addChild(wait, targeted(new ModifierRotation(0.0f, quarter, values.TWINKLEDLG_IN_DURATION)));
    Modifier::addChild(wait, targeted(new ModifierVisible(true)));
    Modifier* appear = Modifier::addChild(wait, targeted(new ModifierAlpha(values.TWINKLEDLG_IN_DURATION, 0, 255)));
    Modifier::addChild(appear, targeted(new ModifierRotation(quarter, fiveEighths, values.TWINKLEDLG_OUT_DURATION)));
    Modifier* vanish =
        Modifier::addChild(appear, targeted(new ModifierAlpha(values.TWINKLEDLG_OUT_DURATION, 255, 0)));
    // The loop goes on with a new twinkle; this one goes. The callback holds
    // the dialog: a closed dialog may still have twinkles in the scene's tree.
    Modifier* again = new ModifierFunction(GuiMethod(this, &DialogTortelune::onTwinkleDone), this);
    again->setTarget(twinkle.get());
    again->addEndFlags(Modifier::EndRemoveTarget);
    Modifier::addChild(vanish, again);
}

int DialogTortelune::onTwinkleDone(void* context, BaseObject* /*argument*/)
{
    auto* dialog = static_cast<DialogTortelune*>(context);
    // The next twinkle comes with the dialog's next frame: zero durations
    // must not loop inside one frame.
    if (dialog->closeState != CloseState::Closed)
        ++dialog->pendingTwinkles;
    return 0;
}

void DialogTortelune::update(int deltaMs)
{
    Dialog::update(deltaMs);
    int pending = pendingTwinkles;
    pendingTwinkles = 0;
    // A dialog that has gone twinkles no more.
    for (int i = 0; i < pending && closeState != CloseState::Closed; ++i)
        spawnTwinkle();
}

void DialogTortelune::playSound(const std::string& key)
{
    if (key.empty())
        return;
    if (!ResourceManager::instance)
        return;
    ResourceLock lock;
    RefPointer<Sound> sound = ResourceManager::instance->getResourceAs<Sound>(key, "default");
    if (sound)
        Sound::play(sound.get(), 128, 255, false);
}

bool DialogTortelune::stampIntoFrame(GameNode* node)
{
    auto* renderable = node ? interfaceCast<IRenderable>(node) : nullptr;
    if (!renderable || !node->isVisible())
        return false;
    if (!getFrameImage())
        refreshBuffer();
    RefPointer<Graphics> graphics = getFrameImage() ? getFrameImage()->getGraphics() : RefPointer<Graphics>();
    if (!graphics)
        return false;
    // Drawn from its parent's place measured in the frame, whose origin is the dialog's own.
    GameNode* parent = node->getParent();
    const int dx = (parent ? parent->getAbsoluteX() : 0) - getAbsoluteX();
    const int dy = (parent ? parent->getAbsoluteY() : 0) - getAbsoluteY();
    graphics->moveOffset(dx, dy);
    renderable->render(graphics.get());
    graphics->moveOffset(-dx, -dy);
    node->setVisible(false);
    setBufferDirty(true);
    return true;
}
