#include "game/dialogs/DialogTortelune.h"

#include "framework/core/Log.h"
#include "framework/core/ObjectFactoryContainer.h"
#include "framework/core/PropertyNode.h"
#include "framework/core/PropertyVector.h"
#include "framework/core/SetupStore.h"
#include "framework/graphics/Graphics.h"
#include "framework/gui/SceneManager.h"
#include "framework/platform/GameWindow.h"
#include "framework/resources/ResourceManager.h"
#include "framework/scenegraph/ModifierAlpha.h"
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

DialogTortelune::~DialogTortelune() = default;

void DialogTortelune::show()
{
    Dialog::show();
    if (isIceLook())
        applyIceLook();
    if (centerOnScreen)
        setPosition((kScreenWidth - getWidth()) / 2, (kScreenHeight - getHeight()) / 2);
    if (playSounds)
        playSound(showSound);
    if (darkenBackground)
        prepareDarkBackground();
}

void DialogTortelune::prepareDarkBackground()
{
    refreshBuffer();
    framePicture = getFrameImage() ? Image::clone(getFrameImage()) : RefPointer<Image>();
    // The frame is kept as a picture: the painter must not paint over the layer.
    if (getPainter()) {
        int width = getWidth();
        int height = getHeight();
        setPainter(nullptr);
        setSize(width, height);
    }
    // The dialog becomes a full-screen layer; its components stay where they were.
    getComponentRoot()->setPosition(getX(), getY());
    setPosition(0, 0);
    int bytesPerPixel = GameWindow::instance ? GameWindow::instance->getBytesPerPixel() : 4;
    RefPointer<Image> layer = Image::create(kScreenWidth, kScreenHeight, bytesPerPixel);
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
    Scene* scene = SceneManager::instance->getCurrentScene();
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
    if (!SetupStore::instance || !ObjectFactoryContainer::instance)
        return;
    PropertyNode* definition = SetupStore::instance->findTemplate("ARCADE_PAINTER");
    if (definition == DUMMY_NODE)
        return;
    RefPointer<AbstractPainter> painter =
        ObjectFactoryContainer::instance->create<AbstractPainter>(definition->getTypeName(), definition);
    if (painter)
        setPainter(painter.get());
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
