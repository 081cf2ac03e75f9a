// The conveyor view: its construction and rebuild, the belt speed, new
// plates, the arcade level-up, the alert and the trap, and tear-down.
#include "game/production/ConveyorView.h"

#include <algorithm>
#include <cstdlib>

#include "framework/core/BasicProperties.h"
#include "framework/platform/InputHandler.h"
#include "framework/platform/TimedTaskManager.h"
#include "framework/resources/ResourceLookup.h"
#include "framework/resources/ResourceManager.h"
#include "framework/scenegraph/Label.h"
#include "framework/scenegraph/ModifierAlpha.h"
#include "framework/scenegraph/ModifierDelay.h"
#include "framework/scenegraph/ModifierFrame.h"
#include "framework/scenegraph/ModifierLocationLine.h"
#include "framework/scenegraph/ModifierSound.h"
#include "framework/scenegraph/Sprite.h"
#include "framework/sound/Sound.h"
#include "framework/sound/SoundManager.h"
#include "game/board/GameBoard.h"
#include "game/data/GameData.h"
#include "game/data/TuningTable.h"
#include "game/effects/Effects.h"
#include "game/effects/ModifierBlinkFaster.h"
#include "game/effects/ModifierCallback.h"
#include "game/effects/ModifierSlideToX.h"
#include "game/effects/OneShotModifiers.h"
#include "game/production/ConveyorController.h"
#include "game/production/Countertop.h"
#include "game/production/CustomerView.h"
#include "game/production/GameScreen.h"
#include "game/production/PastryGoalPanel.h"
#include "game/production/Phase.h"
#include "game/scenes/SceneGame.h"

using namespace gamescreen;

namespace {

int propertyInt(const std::string& key)
{
    return BasicProperties::instance ? BasicProperties::instance->getInt(key) : 0;
}

RefPointer<BitmapFont> font(const std::string& key, const std::string& section)
{
    if (!ResourceManager::instance)
        return {};
    ResourceLock lock;
    return ResourceManager::instance->getResourceAs<BitmapFont>(key, section);
}

bool pastryComplete(const Pastry* pastry)
{
    return pastry && pastry->isFinished();
}

// Sum of the positions of a node's ancestors (its origin on the screen).
void originOf(const GameNode* node, int* x, int* y)
{
    *x = 0;
    *y = 0;
    for (const GameNode* up = node ? node->getParent() : nullptr; up; up = up->getParent()) {
        *x += up->getX();
        *y += up->getY();
    }
}

GamePieces* currentPieces()
{
    SceneGame* scene = SceneGame::getInstance();
    RefPointer<Phase> phase = scene ? scene->getPhase() : RefPointer<Phase>();
    return phase ? phase->getPieces() : nullptr;
}

} // namespace

ConveyorView::ConveyorView(Modifier* phaseContainer) : animationRoot(new ModifierContainer())
{
    if (phaseContainer)
        Modifier::addChild(phaseContainer, animationRoot.get());
    controller = new ConveyorController(this);
    if (TimedTaskManager::instance)
        TimedTaskManager::instance->addTask(controller.get());
    if (SceneGame* scene = SceneGame::getInstance())
        scene->getInputHandler()->addListener(controller.get());
    for (const char* name : {"CONVEYOR", "CONVEYOR_FRONT", "CONVEYOR_BACK", "CONVEYOR_PORT", "CONVEYOR_BASKET",
                             "CONVEYOR_TRAP", "CONVEYOR_HANDLE", "CONVEYOR_LIGHT2"})
        show(node(name), true);
    // The belt stands where the career's countertop would; the counter stays away.
    show(node("COUNTERTOP"), false);
    light = node("CONVEYOR_LIGHT");
    show(light, true);
    if (Sprite* lamp = sprite(light))
        lamp->setCurrentFrame(0);
    beltNode = node("CONVEYOR");
    packageNode = node("CONVEYOR_PACKAGE");
    if (ConveyorBelt* b = belt()) {
        for (const RefPointer<Spot>& spot : std::vector<RefPointer<Spot>>(b->spots))
            rebuildSpot(spot.get());
        speed = b->speed;
    }
    applySpeed();
}

ConveyorView::~ConveyorView()
{
    if (animationRoot) {
        animationRoot->kill();
        animationRoot = nullptr;
    }
    if (SceneGame* scene = SceneGame::getInstance())
        scene->getInputHandler()->removeListener(controller.get());
    controller->detach();
    controller->setFinished(true);
    if (ConveyorBelt* b = belt())
        for (const RefPointer<Spot>& spot : b->spots)
            if (Sprite* plate = spot->getPlate())
                plate->setRemoved(true);
    stopAlert();
}

ConveyorBelt* ConveyorView::belt() const
{
    GameDataState* s = state();
    return s ? &s->conveyorBelt : nullptr;
}

CustomerView* ConveyorView::customer() const
{
    SceneGame* scene = SceneGame::getInstance();
    return scene ? scene->getCustomerView() : nullptr;
}

float ConveyorView::normalSpeed(const Level& level, int arcadeLevel)
{
    const int64_t time = level.durationTime;
    const int64_t delta = level.durationDelta;
    int64_t divisor = time - static_cast<int64_t>(arcadeLevel) * delta;
    // A long run would reach a crossing time of 0 or less: the pace stays at
    // the last positive step instead.
    if (divisor <= 0)
        divisor = (time > 0 && delta > 0) ? (time - 1) % delta + 1 : 1;
    return static_cast<float>(tuning().CONVEYOR_LENGTH) / static_cast<float>(divisor);
}

int ConveyorView::nextGap(const Level& level, int arcadeLevel, int (*random)(int))
{
    const int deviation = level.distanceDeviation;
    const int r = deviation > 0 && random ? random(2 * deviation) - deviation : 0;
    const int next = level.distanceStart - arcadeLevel * level.distanceDelta + r;
    return std::max(tuning().CONVEYOR_MIN_DISTANCE, next);
}

void ConveyorView::applySpeed()
{
    if (ConveyorBelt* b = belt())
        b->speed = speed;
    int frameTime = 2147483647;
    if (speed > 0.0f) {
        const float ms = tuning().CONVEYOR_FRAME_CONSTANT / speed;
        frameTime = ms >= 2147483647.0f ? 2147483647 : std::max(1, static_cast<int>(ms));
    }
    if (!beltNode || !animationRoot)
        return;
    GameNode::cancelModifiers(beltNode);
    attach(animationRoot.get(), beltNode, new ModifierFrame(-1, frameTime));
}

void ConveyorView::resumeSpeed()
{
    ConveyorBelt* b = belt();
    bool allPackaged = true;
    for (const RefPointer<Spot>& spot : b ? b->spots : std::vector<RefPointer<Spot>>())
        allPackaged = allPackaged && spot->state == Spot::Packaged;
    if (allPackaged)
        speed = tuning().CONVEYOR_HIGH_SPEED;
    else if (GameData::instance && state())
        speed = normalSpeed(GameData::instance->getCurrentLevel(), state()->playSessionInfo.arcadeLevel);
    applySpeed();
}

void ConveyorView::speedUpWhenComplete()
{
    GameDataState* s = state();
    ConveyorBelt* b = belt();
    if (!s || !b || s->order.isEmpty())
        return;
    if (!(speed > 0.0f || b->spots.empty()))
        return;
    for (const RefPointer<Spot>& spot : b->spots)
        if (!pastryComplete(spot->getPastry()))
            return;
    speed = tuning().CONVEYOR_HIGH_SPEED;
    applySpeed();
}

void ConveyorView::buildIcon(Spot* spot, int slot, int x, bool moving, Modifier* entry)
{
    const TuningTable& t = tuning();
    const Pastry::Ingredient& ingredient = spot->getPastry()->ingredients[static_cast<size_t>(slot)];
    const int startX = propertyInt(numbered("CONVEYOR_INGREDIENT_START_X", slot));
    const int startY = propertyInt(numbered("CONVEYOR_INGREDIENT_START_Y", slot));
    const int stopX = propertyInt(numbered("CONVEYOR_INGREDIENT_STOP_X", slot));
    const int span = t.CONVEYOR_PASTRY_START_X - t.CONVEYOR_PASTRY_STOP_X;
    const float factor = span != 0 ? static_cast<float>(startX - stopX) / static_cast<float>(span) : 1.0f;
    auto* icon = new Sprite(x, startY, Countertop::getIngredientImage(ingredient.name));
    icon->setAnchorPoint(Sprite::BottomLeft);
    icon->setVisible(ingredient.amount > 0);
    if (moving && animationRoot) {
        Modifier* parent = animationRoot.get();
        if (entry) {
            parent = attach(parent, icon,
                            new ModifierLocationLine(t.CONVEYOR_PRE_MOVE_DURATION, startX, startY,
                                                     startX - t.CONVEYOR_PRE_MOVE, startY, easeLinear));
        }
        attach(parent, icon, new ModifierSlideToX(&speed, stopX, factor, this));
    }
    if (beltNode)
        GameNode::addChild(beltNode, icon);
    else
        RefPointer<Sprite> drop(icon);
    auto* counter = new Label(font("FONT_COUNTER", "scenegame").get(), t.CONVEYOR_LABEL_X, t.CONVEYOR_LABEL_Y, 0, 0);
    counter->setAnchorStyle(Sprite::Center);
    counter->setText(toWideString(std::to_string(ingredient.amount)));
    counter->updateLayout();
    GameNode::addChild(icon, counter);
    spot->icons[static_cast<size_t>(slot)] = icon;
    spot->counters[static_cast<size_t>(slot)] = counter;
}

void ConveyorView::rebuildSpot(Spot* spot)
{
    const TuningTable& t = tuning();
    Pastry* pastry = spot->getPastry();
    const bool blocked = spot->state == Spot::Packaging || spot->state == Spot::Packaged;
    const size_t slots = static_cast<size_t>(std::max(0, t.MAX_INGREDIENT_COUNT));
    spot->counters.assign(slots, nullptr);
    spot->icons.assign(slots, nullptr);
    auto* plate = new Sprite(spot->spriteX, t.CONVEYOR_PASTRY_START_Y,
                             pastry ? Countertop::getPastryImage(*pastry) : nullptr);
    plate->setAnchorPoint(Sprite::BottomRight);
    plate->setVisible(!blocked);
    plate->setAlpha(pastryComplete(pastry) ? 255 : kUnfinishedPlateAlpha);
    Modifier* sound = attach(animationRoot.get(), plate, new ModifierSound("SOUND_ADDNEWPLATE", "sounds", true));
    if (!spot->hasArrived) {
        auto* move = new ModifierSlideToX(&speed, t.CONVEYOR_PASTRY_STOP_X, 1.0f, this);
        attach(sound, plate, move);
        Modifier::addChild(move, createModifierCallback(this, &ConveyorView::onPlateArrived, RefPointer<Spot>(spot)));
        Modifier::addChild(move, createModifierCallback(spot, &Spot::setArrived));
        spot->moveModifier = move;
    }
    if (beltNode)
        GameNode::addChild(beltNode, plate);
    spot->setPlate(plate);
    const int count = pastry ? static_cast<int>(pastry->ingredients.size()) : 0;
    for (int i = std::min(count, static_cast<int>(slots)) - 1; i >= 0; --i) {
        const int x = i < static_cast<int>(spot->savedIngredientX.size())
                          ? spot->savedIngredientX[static_cast<size_t>(i)]
                          : propertyInt(numbered("CONVEYOR_INGREDIENT_START_X", i));
        buildIcon(spot, i, x, !spot->hasArrived, nullptr);
    }
    if (blocked)
        Modifier::addChild(animationRoot.get(),
                           createModifierCallback(this, &ConveyorView::removeSpot, RefPointer<Spot>(spot)));
    Modifier::addChild(animationRoot.get(), createModifierCallback(this, &ConveyorView::resumeSpeed));
}

void ConveyorView::addNewPlate()
{
    GameDataState* s = state();
    if (tornDown || !s || s->order.isEmpty() || !GameData::instance)
        return;
    const TuningTable& t = tuning();
    RefPointer<Pastry> pastry = s->order.takeNext();
    RefPointer<Spot> spot(new Spot(pastry.get()));
    s->conveyorBelt.addSpot(spot.get());
    const size_t slots = static_cast<size_t>(std::max(0, t.MAX_INGREDIENT_COUNT));
    spot->icons.assign(slots, nullptr);
    spot->counters.assign(slots, nullptr);
    speed = normalSpeed(GameData::instance->getCurrentLevel(), s->playSessionInfo.arcadeLevel);

    const int startX = t.CONVEYOR_PASTRY_START_X;
    const int startY = t.CONVEYOR_PASTRY_START_Y;
    auto* plate = new Sprite(startX, startY, Countertop::getPastryImage(*pastry));
    plate->setAnchorPoint(Sprite::BottomRight);
    plate->setAlpha(kUnfinishedPlateAlpha);
    Modifier* sound = attach(animationRoot.get(), plate, new ModifierSound("SOUND_ADDNEWPLATE", "sounds", true));
    Modifier* entry = attach(sound, plate,
                             new ModifierLocationLine(t.CONVEYOR_PRE_MOVE_DURATION, startX, startY,
                                                      startX - t.CONVEYOR_PRE_MOVE, startY, easeLinear));
    auto* move = new ModifierSlideToX(&speed, t.CONVEYOR_PASTRY_STOP_X, 1.0f, this);
    attach(entry, plate, move);
    Modifier::addChild(move, createModifierCallback(this, &ConveyorView::onPlateArrived, spot));
    Modifier::addChild(move, createModifierCallback(spot.get(), &Spot::setArrived));
    if (beltNode)
        GameNode::addChild(beltNode, plate);
    plate->setRemoved(false);
    spot->setPlate(plate);
    spot->moveModifier = move;
    const int count = std::min(static_cast<int>(pastry->ingredients.size()), static_cast<int>(slots));
    for (int i = count - 1; i >= 0; --i)
        buildIcon(spot.get(), i, propertyInt(numbered("CONVEYOR_INGREDIENT_START_X", i)), true, entry);
    applySpeed();
}

void ConveyorView::stopAlert()
{
    if (alertChannel != -1 && SoundManager::isSoundOn())
        SoundManager::instance->getMixer().stop(alertChannel);
    alertChannel = -1;
}

void ConveyorView::onPlateArrived(RefPointer<Spot> spot)
{
    SceneGame* scene = SceneGame::getInstance();
    if (tornDown || !scene || !scene->saveOnLeave || !spot)
        return;
    // A plate packaged on its way has left the belt's danger already.
    if (spot->state == Spot::Packaging || spot->state == Spot::Packaged)
        return;
    speed = 0.0f;
    applySpeed();
    spot->moveModifier = nullptr;
    if (ConveyorBelt* b = belt())
        b->graceTimer.start(tuning().CONVEYOR_GRACE_PERIOD);
    if (CustomerView* view = customer())
        view->showArcadeGrip();
    stopAlert();
    if (RefPointer<Sound> alert = ResourceLookup::findAs<Sound>("SOUND_ARCADE_ALERT", "sounds"))
        alertChannel = Sound::play(alert.get(), 128, 255, true);
    startWarningLight();
}

void ConveyorView::startWarningLight()
{
    Sprite* lamp = sprite(light);
    if (!lamp || !animationRoot)
        return;
    lamp->setCurrentFrame(2);
    const TuningTable& t = tuning();
    attach(animationRoot.get(), lamp,
           new ModifierBlinkFaster(0, 255, t.CONVEYOR_FLASH_IN, t.CONVEYOR_FLASH_OUT, 0, 0, t.CONVEYOR_GRACE_PERIOD));
}

void ConveyorView::resetWarningLight()
{
    Sprite* lamp = sprite(light);
    if (!lamp)
        return;
    GameNode::cancelModifiers(lamp);
    lamp->setCurrentFrame(0);
    lamp->setAlpha(255);
}

void ConveyorView::flushFrontPlate()
{
    flushing = true;
    const TuningTable& t = tuning();
    CustomerView* view = customer();
    if (view)
        view->showArcadeGrip();
    stopAlert();
    ConveyorBelt* b = belt();
    Sprite* handle = sprite(node("CONVEYOR_HANDLE"));
    Sprite* trap = sprite(node("CONVEYOR_TRAP"));
    Modifier* root = animationRoot.get();
    if (handle)
        handle->setReverseFrames(false);
    if (root && handle && trap) {
        Modifier* sound = attach(root, handle, new ModifierSound("SOUND_ARCADE_PASTRYFLUSH", "sounds", true));
        // The customer pulls the lever; the trap opens as the first pass ends.
        Modifier* pull = view ? view->playHandlePull(handle, sound) : CustomerView::pullHandle(handle, sound);
        if (!pull)
            pull = sound;
        Modifier* wait = Modifier::addChild(pull, new ModifierDelay(trap->getFrameCount() * t.TRAP_OPEN_FRAME_TIME / 2));
        Modifier* open = attach(pull, trap, new ModifierFrame(1, t.TRAP_OPEN_FRAME_TIME));
        Modifier* hold = Modifier::addChild(open, new ModifierDelay(t.TRAP_OPEN_DELAY));
        Modifier* reverse = attach(hold, trap, new ModifierFrameDirection(true));
        Modifier* close = attach(reverse, trap, new ModifierFrame(1, t.TRAP_CLOSE_FRAME_TIME));
        attach(close, trap, new ModifierFrameDirection(false));
        Modifier::addChild(close, createModifierCallback(GameData::instance, &GameData::setLevelOver));

        Spot* front = b && !b->spots.empty() ? b->spots.front().get() : nullptr;
        auto fall = [&](GameNode* item, bool clip) {
            if (!item)
                return;
            if (clip) {
                int sx = 0;
                int sy = 0;
                originOf(item, &sx, &sy);
                if (Sprite* drawn = sprite(item))
                    drawn->setClipRect(-sx, -sy, 800, t.BASKET_CLIP_Y);
            }
            attach(wait, item,
                   new ModifierLocationLine(t.LOSE_INGREDIENT_DURATION, item->getX(), item->getY(), item->getX(),
                                            item->getY() + t.LOSE_INGREDIENT_HEIGHT, easeLinear));
        };
        if (front) {
            for (Sprite* icon : front->icons)
                fall(icon, true);
            for (GameNode* counter : front->counters)
                fall(counter, false);
            fall(front->getPlate(), true);
        }
    } else if (GameData::instance) {
        // Without its trap the plate is lost at once.
        GameData::instance->setLevelOver();
    }
    if (Sprite* lamp = sprite(light)) {
        GameNode::cancelModifiers(lamp);
        lamp->setAlpha(255);
        lamp->setCurrentFrame(2);
    }
}

void ConveyorView::levelUp(int newArcadeLevel)
{
    if (CustomerView* view = customer())
        view->resetToCasual();
    resetWarningLight();
    GamePieces* pieces = currentPieces();
    const bool arcade = isArcade();
    if (arcade && pieces && pieces->board)
        pieces->board->playLevelUp();
    GameDataState* s = state();
    if (!arcade && newArcadeLevel > 0) {
        if (s && GameData::instance) {
            s->levelOver = true;
            s->playSessionInfo.starCount = GameData::instance->getCurrentLevel().starsGoal;
        }
        return;
    }
    SceneGame* scene = SceneGame::getInstance();
    Modifier* container = scene ? scene->getPhaseContainer() : nullptr;
    GameNode* layer = node("NODE_FLOATERBONUS");
    if (container && layer) {
        auto* title = new Label(font("FONT_GAMEEND_3", "default").get(), 0, 0, 0, 0);
        title->setAnchorStyle(Sprite::Center);
        title->setPosition(400, 245);
        title->setText(textByKey("TEXT_LEVEL") + toWideString(" " + std::to_string(newArcadeLevel + 1)));
        title->updateLayout();
        GameNode::addChild(layer, title);
        Modifier* sound = attach(container, title, new ModifierSound("SOUND_ARCADE_LEVELUP", "sounds", true));
        Modifier* popped = addPopEffect(title, sound, true, false, 0.5f);
        Modifier* hold = Modifier::addChild(popped, new ModifierDelay(tuning().LEVELUP_DELAY));
        auto* fade = new ModifierAlpha(tuning().LEVELUP_DURATION, 255, 0);
        fade->setEndFlags(Modifier::EndRemoveTarget);
        attach(hold, title, fade);
    }
    if (pieces && pieces->pastryGoalPanel)
        pieces->pastryGoalPanel->refresh();
    flushing = false;
}

void ConveyorView::tearDown()
{
    tornDown = true;
    if (animationRoot) {
        animationRoot->kill();
        animationRoot = nullptr;
    }
    releaseChildren(beltNode);
    // The nodes are gone: nothing may reach them through a spot any more.
    if (ConveyorBelt* b = belt()) {
        for (const RefPointer<Spot>& spot : b->spots) {
            std::fill(spot->icons.begin(), spot->icons.end(), nullptr);
            std::fill(spot->counters.begin(), spot->counters.end(), nullptr);
            spot->moveModifier = nullptr;
        }
    }
}
