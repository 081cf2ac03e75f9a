#include "game/production/CustomerView.h"

#include "framework/gui/Dialog.h"
#include "framework/scenegraph/Label.h"
#include "framework/scenegraph/ModifierAlpha.h"
#include "framework/scenegraph/ModifierDelay.h"
#include "framework/scenegraph/ModifierFrame.h"
#include "framework/scenegraph/ModifierFunction.h"
#include "framework/scenegraph/ModifierLocationLine.h"
#include "framework/scenegraph/ModifierLocationWave.h"
#include "framework/scenegraph/ModifierScale.h"
#include "framework/scenegraph/ModifierVisible.h"
#include "framework/scenegraph/Sprite.h"
#include "game/production/Customer.h"
#include "game/data/GameData.h"
#include "game/data/TuningTable.h"
#include "game/dialogs/DialogCustomerHint.h"
#include "game/effects/Effects.h"
#include "game/effects/OneShotModifiers.h"
#include "game/production/GameScreen.h"
#include "game/scenes/SceneGame.h"

using namespace gamescreen;

namespace {

constexpr const char* kHintDialog = "DIALOG_CUSTOMERHINT";
constexpr const char* kSinger = "CUSTOMER_SINGER";
// The suitor waits off the right edge and stops beside the singer.
constexpr int kSuitorOffX = 800;
constexpr int kSuitorOnX = 616;
constexpr int kSuitorY = 284;
constexpr int kSuitorSlideMs = 300;
// Taller faces are four frames stacked vertically.
constexpr int kSingleFrameMaxHeight = 1000;

void restart(Countdown& countdown, int periodMs)
{
    countdown = Countdown(periodMs);
}

} // namespace

CustomerView::CustomerView()
{
    const TuningTable& t = tuning();
    restart(mood, 0);
    restart(animation, t.CUSTOMER_ANIMATION_DELAY_MIN);
    restart(heart, t.CUSTOMER_HEART_DELAY);
    restart(text, t.CUSTOMER_TEXT_DURATION);
    restart(singer, randomBetween(t.HENRI_HEART_INTERVAL_MIN, t.HENRI_HEART_INTERVAL_MAX));
    if (GameData::instance && GameData::instance->state) {
        const Level& level = GameData::instance->getCurrentLevel();
        name = level.customerName;
        record = level.customerRecord;
    }
    face = sprite(node("CUSTOMER"));
    cloud = sprite(node("CUSTOMER_CLOUD"));
    label = objectCast<Label>(node("CUSTOMER_TEXT"));
    suitor = sprite(node("HENRILOVESSINGER"));
    suitorOverlay = sprite(node("HENRILOVESSINGER_OVERLAY"));
    hideSpeech();
    if (cloud)
        cloud->setAnchorPoint(Sprite::Center);
    if (label)
        label->setAnchorPoint(Sprite::Center);
    show(suitor, false);
    show(suitorOverlay, false);
    setFace("_CASUAL");
}

CustomerView::~CustomerView()
{
    SceneGame* scene = SceneGame::getInstance();
    if (hint && scene) {
        if (Dialog* open = scene->getDialog(kHintDialog))
            scene->forgetDialog(open);
    }
    hint = nullptr;
}

void CustomerView::setFace(const std::string& suffix)
{
    if (!face || name.empty())
        return;
    face->setImage(image(name + suffix));
    GameNode::cancelModifiers(face);
    Image* picture = face->getImage();
    face->setFrameCount(picture && picture->getHeight() > kSingleFrameMaxHeight ? 4 : 1, false);
}

void CustomerView::hideSpeech()
{
    for (Sprite* part : {cloud, static_cast<Sprite*>(label)}) {
        if (!part)
            continue;
        part->setVisible(false);
        GameNode::cancelModifiers(part);
    }
}

void CustomerView::reactToDelivery(int gradeSum)
{
    const TuningTable& t = tuning();
    std::string suffix = "_CASUAL";
    const int happy = record ? record->happy : 0;
    const int ecstatic = record ? record->ecstatic : 0;
    if (record && gradeSum >= ecstatic) {
        suffix = "_ECSTATIC";
        pendingHearts += t.CUSTOMER_HEART_ECSTATIC;
    } else if (record && gradeSum >= happy) {
        suffix = "_HAPPY";
        pendingHearts += t.CUSTOMER_HEART_HAPPY;
    } else {
        pendingHearts += t.CUSTOMER_HEART_CASUAL;
    }
    if (suffix == "_CASUAL") {
        restart(mood, 0);
    } else {
        setFace(suffix);
        if (face && face->getFrameCount() > 0 && phaseContainer())
            attach(phaseContainer(), face, new ModifierFrame(-1, t.CUSTOMER_ANIMATION_FRAME_TIME));
        restart(mood, t.CUSTOMER_MOOD_DURATION);
    }
    SceneGame* scene = SceneGame::getInstance();
    if (scene && (scene->isDialogShown("DIALOG_HINT") || scene->isDialogShown("DIALOG_TROPHYAWARDED") ||
                  scene->isDialogShown("DIALOG_TROPHYSCREEN")))
        return;
    const std::string key = name + suffix;
    if (key != lastText) {
        repeatCount = 0;
        lastText = key;
        speak(key);
        return;
    }
    if (repeatCount >= t.CUSTOMER_TEXT_REPEAT)
        speak(key);
    ++repeatCount;
}

void CustomerView::speak(const std::string& key)
{
    Modifier* container = phaseContainer();
    if (label) {
        label->setText(textByKey(key));
        label->updateLayout();
    }
    for (Sprite* part : {cloud, static_cast<Sprite*>(label)}) {
        if (!part)
            continue;
        GameNode::cancelModifiers(part);
        part->setStretchSize(part->getWidth(), part->getHeight());
        if (!container)
            continue;
        Modifier* shown = attach(container, part, new ModifierVisible(true));
        addPopEffect(part, shown, true, false, 0.5f);
    }
    restart(text, tuning().CUSTOMER_TEXT_DURATION);
}

void CustomerView::update(int ms)
{
    const TuningTable& t = tuning();
    for (Countdown* countdown : {&mood, &animation, &heart, &text, &singer})
        countdown->advance(ms);
    if (mood.hasFired()) {
        setFace("_CASUAL");
        restart(mood, 0);
    }
    if (text.hasFired())
        hideSpeech();
    if (heart.hasFired() && pendingHearts > 0) {
        emitHeart(phaseContainer(), t.CUSTOMER_HEART_STARTX, t.CUSTOMER_HEART_STARTY, t.CUSTOMER_HEART_ANGLESTART,
                  t.CUSTOMER_HEART_ANGLESTOP);
        restart(heart, t.CUSTOMER_HEART_DELAY);
        --pendingHearts;
    }
    if (animation.hasFired()) {
        if (face && face->getFrameCount() > 0 && face->getOwnModifiers().empty() && phaseContainer())
            attach(phaseContainer(), face, new ModifierFrame(2, t.CUSTOMER_ANIMATION_FRAME_TIME));
        restart(animation, t.CUSTOMER_ANIMATION_DELAY_MIN +
                               randomBetween(0, t.CUSTOMER_ANIMATION_DELAY_MAX - t.CUSTOMER_ANIMATION_DELAY_MIN));
    }
    if (singer.hasFired()) {
        if (name == kSinger) {
            courtSinger();
            restart(singer, randomBetween(t.HENRI_HEART_INTERVAL_MIN, t.HENRI_HEART_INTERVAL_MAX));
        } else {
            restart(singer, 0x7FFFFFFF);
        }
    }
}

Modifier* CustomerView::emitHeart(Modifier* parent, int x, int y, float angleStart, float angleStop)
{
    GameNode* layer = node("NODE_HEARTS");
    Image* picture = image("HEART");
    if (!parent || !layer || !picture)
        return parent;
    const TuningTable& t = tuning();
    auto* sprite = new Sprite(x, y, picture);
    sprite->setVisible(false);
    sprite->setScale(0.0f);
    sprite->setAnchorPoint(Sprite::Center);
    GameNode::addChild(layer, sprite);
    const int duration = t.CUSTOMER_HEART_DURATION;
    Modifier* shown = attach(parent, sprite, new ModifierVisible(true));
    attach(shown, sprite, new ModifierScale(duration, 0.0f, 1.0f));
    attach(shown, sprite, new ModifierLocationLine(duration, x, y, x, y - t.CUSTOMER_HEART_DISTANCE));
    Modifier* wave = attach(shown, sprite,
                            new ModifierLocationWave(x, y, static_cast<float>(t.CUSTOMER_HEART_AMPLITUDE),
                                                     static_cast<float>(t.CUSTOMER_HEART_AMPLITUDE), angleStart,
                                                     angleStop, duration, duration));
    Modifier* last = addPopEffect(sprite, wave, false, true, 0.5f);
    if (last)
        last->addEndFlags(Modifier::EndRemoveTarget);
    return last ? last : wave;
}

void CustomerView::courtSinger()
{
    Modifier* container = phaseContainer();
    if (!suitor || !container)
        return;
    const TuningTable& t = tuning();
    ++courtships;
    suitor->setPosition(kSuitorOffX, kSuitorY);
    Modifier* step = container;
    if (suitorOverlay)
        step = attach(step, suitorOverlay, new ModifierVisible(true));
    step = attach(step, suitor, new ModifierVisible(true));
    Modifier* slideIn =
        attach(step, suitor, new ModifierLocationLine(kSuitorSlideMs, kSuitorOffX, kSuitorY, kSuitorOnX, kSuitorY));
    Modifier* lastHeart = slideIn;
    for (int i = 0; i < 4; ++i) {
        Modifier* delay = Modifier::addChild(slideIn, new ModifierDelay(i * t.HENRI_HEART_DELAY));
        lastHeart = emitHeart(delay, t.HENRI_HEART_STARTX, t.HENRI_HEART_STARTY, t.HENRI_HEART_ANGLESTART,
                              t.HENRI_HEART_ANGLESTOP);
    }
    Modifier* pause = Modifier::addChild(lastHeart, new ModifierDelay(100));
    Modifier* slideOut =
        attach(pause, suitor, new ModifierLocationLine(kSuitorSlideMs, kSuitorOnX, kSuitorY, kSuitorOffX, kSuitorY));
    Modifier* hidden = attach(slideOut, suitor, new ModifierVisible(false));
    if (suitorOverlay)
        attach(hidden, suitorOverlay, new ModifierVisible(false));
}

void CustomerView::resetToCasual()
{
    restart(animation, tuning().CUSTOMER_ANIMATION_DELAY_MIN);
    setFace("_CASUAL");
}

void CustomerView::showArcadeGrip()
{
    if (!face)
        return;
    face->setImage(image("CUSTOMER_HENRI_ARCADE_GRIP"));
    GameNode::cancelModifiers(face);
}

Modifier* CustomerView::playHandlePull(Sprite* handle, Modifier* parent)
{
    return pullHandle(handle, parent);
}

Modifier* CustomerView::pullHandle(Sprite* handle, Modifier* parent)
{
    if (!handle || !parent)
        return nullptr;
    const int frameTime = tuning().HANDLE_FRAME_TIME;
    Modifier* pull = attach(parent, handle, new ModifierFrame(1, frameTime));
    Modifier* turned = attach(pull, handle, new ModifierFrameDirection(true));
    Modifier* back = attach(turned, handle, new ModifierFrame(1, frameTime));
    attach(back, handle, new ModifierFrameDirection(true));
    return pull;
}

Modifier* CustomerView::openHint(Modifier* after)
{
    hideSpeech();
    if (!after)
        return after;
    Modifier* open = Modifier::addChild(after, new ModifierFunction(GuiMethod(this, &CustomerView::onOpenHint), this));
    return Modifier::addChild(open, new ModifierDelay(tuning().DIALOG_FADE_TIME));
}

int CustomerView::onOpenHint(void* context, BaseObject* /*argument*/)
{
    auto* view = static_cast<CustomerView*>(context);
    SceneGame* scene = SceneGame::getInstance();
    if (!scene)
        return 0;
    auto* dialog = objectCast<DialogCustomerHint>(scene->getOrCreateDialog(kHintDialog, kHintDialog));
    if (!dialog)
        return 0;
    view->hint = dialog;
    dialog->setAutoCenter(false);
    GameDataState* s = state();
    if (s && s->levelOver)
        dialog->showResultText();
    else
        dialog->showLevelText();
    // The customer book gives the screen point of the bubble's lower left corner.
    if (view->record)
        dialog->placeBottomLeftAt(view->record->hint.x, view->record->hint.y);
    scene->showDialog(dialog);
    return 0;
}

bool CustomerView::getSpeechPoint(int& x, int& y) const
{
    if (!record)
        return false;
    // The bubble's place is given from the customer picture's corner.
    x = (face ? face->getX() : 0) + record->hint.x;
    y = (face ? face->getY() : 0) + record->hint.y;
    return true;
}

Modifier* CustomerView::enableHintOk(Modifier* after)
{
    if (!after)
        return after;
    return Modifier::addChild(after, new ModifierFunction(GuiMethod(this, &CustomerView::onEnableHintOk), this));
}

int CustomerView::onEnableHintOk(void* context, BaseObject* /*argument*/)
{
    auto* view = static_cast<CustomerView*>(context);
    SceneGame* scene = SceneGame::getInstance();
    if (!view->hint || !scene || scene->getDialog(kHintDialog) != view->hint)
        return 0;
    if (auto* dialog = objectCast<DialogCustomerHint>(view->hint))
        dialog->enableOk(scene->getPhaseContainer());
    return 0;
}

int CustomerView::onHintFaded(void* context, BaseObject* /*argument*/)
{
    if (SceneGame* scene = SceneGame::getInstance())
        scene->forgetDialog(static_cast<Dialog*>(context));
    return 0;
}

Modifier* CustomerView::closeHint(Modifier* after)
{
    if (!after)
        return after;
    Modifier* close =
        Modifier::addChild(after, new ModifierFunction(GuiMethod(this, &CustomerView::onCloseHint), this));
    return Modifier::addChild(close, new ModifierDelay(tuning().DIALOG_FADE_TIME));
}

int CustomerView::onCloseHint(void* context, BaseObject* /*argument*/)
{
    auto* view = static_cast<CustomerView*>(context);
    SceneGame* scene = SceneGame::getInstance();
    if (view->hint && scene && scene->getDialog(kHintDialog) == view->hint) {
        if (auto* dialog = objectCast<DialogTortelune>(view->hint)) {
            // The game scene forgets the bubble once it has faded, whichever
            // scene is current then.
            dialog->closeCallback = GuiMethod(dialog, &CustomerView::onHintFaded);
            dialog->close();
        } else {
            scene->forgetDialog(view->hint);
        }
    }
    view->hint = nullptr;
    return 0;
}
