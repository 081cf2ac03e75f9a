#include "game/dialogs/DialogHint.h"

#include <algorithm>

#include "framework/core/Log.h"
#include "framework/core/ObjectFactoryContainer.h"
#include "framework/core/PropertyNode.h"
#include "framework/core/SetupStore.h"
#include "framework/graphics/BitmapFont.h"
#include "framework/gui/Button.h"
#include "framework/gui/Scene.h"
#include "framework/gui/SceneManager.h"
#include "framework/gui/StyleLabel.h"
#include "framework/resources/ResourceManager.h"
#include "framework/scenegraph/Label.h"
#include "framework/scenegraph/ModifierAlpha.h"
#include "framework/scenegraph/ModifierDelay.h"
#include "framework/scenegraph/ModifierFunction.h"
#include "framework/scenegraph/ModifierStretch.h"
#include "framework/scenegraph/ModifierVisible.h"
#include "framework/scenegraph/Sprite.h"
#include "game/data/TuningTable.h"
#include "game/dialogs/DefaultDialogPainter.h"
#include "game/effects/ModifierLocationLineSwitch.h"
#include "game/effects/OneShotModifiers.h"
#include "game/production/PhasePlay.h"
#include "game/scenes/SceneGame.h"

TT_DEFINE_RECORD(DialogHint, &DialogTortelune::classRecord);
TT_REGISTER_CLASS(DialogHint);
TT_DEFINE_RECORD(DialogHintGameEnd, &DialogTortelune::classRecord);
TT_REGISTER_CLASS(DialogHintGameEnd);

namespace {

// Grows the dialog, and moves its OK button down, by the text's lines beyond
// the first.
void growByText(Dialog* dialog, GameNode* label, Button* ok)
{
    const int extra = labelTextHeight(label) - labelLineHeight(label);
    if (extra <= 0)
        return;
    dialog->setHeight(dialog->getHeight() + extra);
    if (ok)
        ok->setY(ok->getY() + extra);
}

const char* handImageFor(int corner)
{
    switch (corner) {
    case 0: return "HINTHENRI_ARROW_TOP_LEFT";
    case 2: return "HINTHENRI_ARROW_TOP_RIGHT";
    case 6: return "HINTHENRI_ARROW_BOTTOM_LEFT";
    case 8: return "HINTHENRI_ARROW_BOTTOM_RIGHT";
    default: return nullptr;
    }
}

Scene* currentScene()
{
    return SceneManager::instance ? SceneManager::instance->getCurrentScene() : nullptr;
}

// The hand's chain runs with the level while one is played (it pauses with
// it), else with the scene the player sees.
Modifier* handChainParent()
{
    SceneGame* game = SceneGame::getInstance();
    if (game && game == currentScene() && dynamic_cast<PhasePlay*>(game->getPhase().get()) &&
        game->getPhaseContainer())
        return game->getPhaseContainer();
    Scene* scene = currentScene();
    return scene ? scene->getAnimTree() : nullptr;
}

Modifier* then(Modifier* parent, GameNode* target, Modifier* step)
{
    step->setTarget(target);
    return parent ? Modifier::addChild(parent, step) : GameNode::addModifier(target, step);
}

} // namespace

DialogHint::DialogHint(AbstractProperty* configuration) : DialogTortelune(configuration)
{
    setSounds("SOUND_DIALOGHINT_SHOW", "SOUND_DIALOGHINT_HIDE");
    ok = objectCast<Button>(bindComponent("BUTTON_OK", GuiMethod(this, &DialogHint::onOk)));
    hintLabel = getComponent("LABEL_HINT");
    header = objectCast<Label>(getComponent("LABEL_HEADER"));
    PropertyNode* layout = getConfiguration() ? getConfiguration() : DUMMY_NODE;
    templateHeight = layout->getInt("minheight", layout->getInt("height", getHeight()));
    templateWidth = layout->getInt("minwidth", layout->getInt("width", getWidth()));
    hintLabelX = hintLabel ? hintLabel->getX() : 0;
    hintLabelY = hintLabel ? hintLabel->getY() : 0;
    if (auto* text = dynamic_cast<Sprite*>(hintLabel))
        hintLabelWidth = text->getWidth();
    headerX = header ? header->getX() : 0;
    okX = ok ? ok->getX() : 0;
    okY = ok ? ok->getY() : 0;
}

DialogHint::~DialogHint()
{
    removeHand();
}

int DialogHint::onOk(void* context, BaseObject* /*button*/)
{
    static_cast<DialogHint*>(context)->closeHint();
    return 0;
}

void DialogHint::resetLayout()
{
    widen(templateWidth);
    setHeight(templateHeight);
    if (hintLabel)
        hintLabel->setY(hintLabelY);
    if (ok)
        ok->setY(okY);
    if (header) {
        header->setText(WString());
        header->updateLayout();
    }
}

void DialogHint::widen(int width)
{
    // The components are centred on the bubble: they move by half the growth
    // (negative for a narrower bubble) of the frame as drawn, whose edge tiles
    // may round the asked width up.
    if (getWidth() != width)
        setWidth(width);
    const int grow = getWidth() - templateWidth;
    if (hintLabel)
        hintLabel->setX(hintLabelX + grow / 2);
    if (auto* text = dynamic_cast<Sprite*>(hintLabel); text && hintLabelWidth > 0)
        text->setWidth(hintLabelWidth + grow);
    if (header)
        header->setX(headerX + grow / 2);
    if (ok)
        ok->setX(okX + grow / 2);
}

int DialogHint::narrowestWidth() const
{
    // The template's margins on both sides of the widest of the text's
    // shortest legible line and the OK button.
    const int margins = hintLabelWidth > 0 ? templateWidth - hintLabelWidth : 0;
    const int button = ok ? ok->getWidth() : 0;
    return std::min(templateWidth, margins + std::max(button, kNarrowestText));
}

void DialogHint::setHintText(const WString& text, int width)
{
    resetLayout();
    if (width > 0 && width != templateWidth)
        widen(std::clamp(width, narrowestWidth(), kWidestBubble));
    setLabelText(hintLabel, text);
    growByText(this, hintLabel, ok);
}

void DialogHint::setHeaderText(const WString& text)
{
    if (!header)
        return;
    header->setText(text);
    header->updateLayout();
    int down = header->getLineHeight() + 5;
    if (hintLabel)
        hintLabel->setY(hintLabel->getY() + down);
    if (ok)
        ok->setY(ok->getY() + down);
    setHeight(getHeight() + down);
}

void DialogHint::setArrow(int handX, int handY, int corner, int connector, int dialogX, int dialogY)
{
    setPosition(dialogX, dialogY);
    setAnchorPoint(Sprite::TopLeft);
    setPivotPointKind(Sprite::TopLeft);
    getComponentRoot()->setPosition(0, 0);
    if (SetupStore::instance) {
        PropertyNode* definition = SetupStore::instance->findTemplate("HINTHENRI_PAINTER");
        RefPointer<AbstractPainter> painter = definition == DUMMY_NODE
                                                  ? RefPointer<AbstractPainter>()
                                                  : ObjectFactoryContainer::createFrom<AbstractPainter>(definition);
        if (auto* hintPainter = objectCast<DialogHintPainter>(painter.get()))
            hintPainter->setCorner(connector);
        if (painter)
            setPainter(painter.get());
    }
    removeHand();
    if (handX <= 0 || handY <= 0)
        return;
    RefPointer<Image> picture;
    if (const char* name = handImageFor(corner); name && ResourceManager::instance) {
        ResourceLock lock;
        picture = ResourceManager::instance->getResourceAs<Image>(name, "dialogs");
    }
    hand = new Sprite(handX, handY, picture.get());
    hand->setAnchorPoint(corner);
    hand->setPivotPointKind(Sprite::Center);
    hand->setVisible(false);
    hand->setAlpha(0);
}

void DialogHint::removeHand()
{
    if (!hand)
        return;
    hand->setRemoved(true);
    hand = nullptr;
}

void DialogHint::closeHint()
{
    removeHand();
    close();
    // A dismissed bubble only fades: the player's next click is meant for
    // what lies beneath it and must not be swallowed by the fade.
    inputContainer.setSwallowAll(false);
}

void DialogHint::show()
{
    DialogTortelune::show();
    inputContainer.setSwallowAll(isModal());
    if (!henriEntrance) {
        playShowAnimation();
    } else {
        getComponentRoot()->setVisible(false);
        inputContainer.setInputEnabled(false);
        setInputEnabled(false);
        const int w = getWidth();
        const int h = getHeight();
        setPivotPoint(w * 0.5f, (h - 140) * 0.5f + 140.0f);
        setStretchSize(0, 0);
        auto whole = [](float value) { return static_cast<float>(static_cast<int>(value)); };
        Modifier* step = GameNode::addModifier(
            this, new ModifierStretch(150, 0.0f, 0.0f, whole(w * 1.5f), whole(h * 0.5f)));
        step->addEndFlags(Modifier::EndWait);
        step = GameNode::addModifier(
            this, new ModifierStretch(100, whole(w * 1.5f), whole(h * 0.5f), whole(w * 0.5f), whole(h * 1.5f)));
        step->addEndFlags(Modifier::EndWait);
        step = GameNode::addModifier(this, new ModifierStretch(100, whole(w * 0.5f), whole(h * 1.5f), w, h));
        step->addEndFlags(Modifier::EndWait);
        GameNode::addModifier(this, new ModifierFunction(GuiMethod(this, &DialogHint::onEntranceDone)));
    }
    if (!hand)
        return;
    GameNode::insertAfter(hand.get(), this);
    hand->setRemoved(false);
    const int x = hand->getX();
    const int y = hand->getY();
    const float f = tuning().HINT_DIALOGS_HAND_FACT;
    const int dx = static_cast<int>(hand->getWidth() * f);
    const int dy = static_cast<int>(hand->getHeight() * f);
    int startX = x;
    int startY = y;
    switch (hand->getAnchorKind()) {
    case 0: startX = x + dx; startY = y + dy; break;
    case 2: startX = x - dx; startY = y + dy; break;
    case 6: startX = x + dx; startY = y - dy; break;
    case 8: startX = x - dx; startY = y - dy; break;
    default: break;
    }
    Modifier* parent = handChainParent();
    Modifier* step = then(parent, hand.get(), new ModifierDelay(tuning().DIALOG_FADE_TIME));
    step = then(step, hand.get(), new ModifierVisible(true));
    step = then(step, hand.get(), new ModifierAlpha(300, 0, 255));
    then(step, hand.get(),
         new ModifierLocationLineSwitch(x, y, startX, startY, tuning().HINT_DIALOGS_HAND_TIME,
                                        tuning().HINT_DIALOGS_HAND_DELAY, false, -1));
}

int DialogHint::onEntranceDone(void* context, BaseObject* argument)
{
    static_cast<DialogHint*>(context)->getComponentRoot()->setVisible(true);
    return onShowAnimationDone(context, argument);
}

void DialogHint::hide()
{
    removeHand();
    inputContainer.setInputEnabled(false);
    DialogTortelune::hide();
}

void DialogHint::update(int deltaMs)
{
    DialogTortelune::update(deltaMs);
    SceneGame* game = SceneGame::getInstance();
    if (game && dynamic_cast<PhasePlay*>(game->getPhase().get())) {
        for (const char* name : {"CUSTOMER_CLOUD", "CUSTOMER_TEXT"})
            if (GameNode* node = game->getComponent(name))
                node->setVisible(false);
    }
    clickDelay -= deltaMs;
    clickDelayOver = clickDelay <= 0;
}

bool DialogHint::onLeftUp(int x, int y, int keys)
{
    if (clickCloseEnabled > 0 && clickDelayOver)
        closeHint();
    return DialogTortelune::onLeftUp(x, y, keys);
}

DialogHintGameEnd::DialogHintGameEnd(AbstractProperty* configuration) : DialogTortelune(configuration)
{
    hintLabel = getComponent("LABEL_HINT");
    ok = objectCast<Button>(bindComponent("BUTTON_OK", GuiMethod(this, &DialogHintGameEnd::onOk)));
    PropertyNode* layout = getConfiguration() ? getConfiguration() : DUMMY_NODE;
    templateHeight = layout->getInt("minheight", layout->getInt("height", getHeight()));
    okY = ok ? ok->getY() : 0;
    if (ok) {
        ok->setEnabled(false);
        ok->setVisible(false);
        ok->setAlpha(0);
    }
    if (SetupStore::instance) {
        PropertyNode* definition = SetupStore::instance->findTemplate("HINTHENRI_PAINTER");
        if (definition != DUMMY_NODE) {
            RefPointer<AbstractPainter> painter = ObjectFactoryContainer::createFrom<AbstractPainter>(definition);
            if (auto* hintPainter = objectCast<DialogHintPainter>(painter.get()))
                hintPainter->setCorner(13);
            if (painter)
                setPainter(painter.get());
        }
    }
}

int DialogHintGameEnd::onOk(void* context, BaseObject* /*button*/)
{
    static_cast<DialogHintGameEnd*>(context)->close();
    return 0;
}

void DialogHintGameEnd::setHintText(const WString& text)
{
    setHeight(templateHeight);
    if (ok)
        ok->setY(okY);
    setLabelText(hintLabel, text);
    growByText(this, hintLabel, ok);
}

void DialogHintGameEnd::show()
{
    DialogTortelune::show();
    playShowAnimation();
    if (!ok)
        return;
    Modifier* step = GameNode::addModifier(ok, new ModifierDelay(tuning().DIALOG_FADE_TIME));
    step->addEndFlags(Modifier::EndWait);
    step = GameNode::addModifier(ok, new ModifierDelay(4000));
    step->addEndFlags(Modifier::EndWait);
    GameNode::addModifier(ok, new ModifierVisible(true));
    GameNode::addModifier(ok, new ModifierEnabled(ModifierEnabled::Enable));
    GameNode::addModifier(ok, new ModifierAlpha(200, 0, 255));
}

bool DialogHintGameEnd::onLeftDown(int x, int y, int keys, bool doubleClick)
{
    if (ok && ok->isEnabled())
        close();
    return DialogTortelune::onLeftDown(x, y, keys, doubleClick);
}
