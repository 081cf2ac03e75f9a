#include "game/production/BonusMeterView.h"

#include "framework/core/Log.h"
#include "framework/graphics/BitmapFont.h"
#include "framework/platform/TimedTaskManager.h"
#include "framework/resources/ResourceManager.h"
#include "framework/scenegraph/Label.h"
#include "framework/scenegraph/ModifierAlpha.h"
#include "framework/scenegraph/ModifierFrame.h"
#include "framework/scenegraph/ModifierSound.h"
#include "framework/scenegraph/ModifierVisible.h"
#include "framework/scenegraph/Sprite.h"
#include "game/data/GameData.h"
#include "game/data/ScoreTable.h"
#include "game/data/TuningTable.h"
#include "game/effects/Effects.h"
#include "game/effects/LabelTicker.h"
#include "game/effects/OneShotModifiers.h"
#include "game/production/BonusMeter.h"
#include "game/production/FrenzyTask.h"
#include "game/production/GameScreen.h"
#include "game/production/LevelSigns.h"
#include "game/production/ToolSlots.h"
#include "game/scenes/SceneGame.h"

using namespace gamescreen;

namespace {

constexpr int kTopFrames = 7;
constexpr int kWheelFrames = 19;
constexpr int kFrenzyFrameMs = 50;
// The score stands a little higher in its frenzy font.
constexpr int kScoreFrenzyLift = 5;
constexpr int kStarFadeMs = 125;
constexpr int kConfettiMinX = 600;
constexpr int kConfettiMaxX = 200;
constexpr int kSpeedyMeterTool = 1;
constexpr int kFloaterParticles = 75;

// Under `parent` when there is one, else in the target's own modifier list.
Modifier* attachOrOwn(Modifier* parent, GameNode* target, Modifier* step)
{
    if (parent)
        return attach(parent, target, step);
    step->setTarget(target);
    GameNode::addModifier(target, step);
    return step;
}

BitmapFont* font(const std::string& key)
{
    if (!ResourceManager::instance)
        return nullptr;
    ResourceLock lock;
    BitmapFont* found = ResourceManager::instance->getResourceAs<BitmapFont>(key, "scenegame").get();
    if (!found)
        LOG_WARNING("bonus meter: no font \"" + key + "\"");
    return found;
}

bool beltLevel()
{
    return !isCareerLevel();
}

} // namespace

BonusMeterView::BonusMeterView()
{
    GameDataState* s = state();
    meter = s ? &s->bonusMeter : nullptr;
    scoreShine = node("BONUS_SCORESHINE");
    body = sprite(node("BONUS_METER"));
    filling = sprite(node("BONUS_FILLING"));
    fillingTop = sprite(node("BONUS_FILLING_TOP"));
    candyCane = sprite(node("BONUS_FILLING_CANDYCANE"));
    fountain = sprite(node("BONUS_FOUNTAIN"));
    wheel = sprite(node("BONUS_WHEEL"));
    // The score label lives under its ticker once bound.
    LabelTicker* ticker = levelsigns::scoreTicker();
    scoreLabel = objectCast<Label>(ticker ? ticker->getLabel() : node("LABEL_SCORE"));
    if (scoreLabel) {
        // A view built while the last one left the frenzy look on finds the label raised.
        const bool raised = scoreLabel->getFont() && scoreLabel->getFont() == font("FONT_FLOATER_MATCH");
        scoreY = scoreLabel->getY() + (raised ? kScoreFrenzyLift : 0);
    }
    const char* prefix = beltLevel() ? "ARCADE_" : "";
    if (body)
        body->setImage(image(std::string(prefix) + "BONUS_METER_BODY"));
    if (filling)
        filling->setImage(image(std::string(prefix) + "BONUS_FILLING"));
    if (fillingTop) {
        fillingTop->setImage(image(std::string(prefix) + "BONUS_FILLING_TOP"));
        fillingTop->setFrameCount(kTopFrames, false);
    }
    if (wheel) {
        wheel->setImage(image(std::string(prefix) + "BONUS_METER_WHEEL"));
        wheel->setFrameCount(kWheelFrames, false);
    }
    endFrenzyVisuals();
    task = new FrenzyTask(this);
    if (TimedTaskManager::instance)
        TimedTaskManager::instance->addTask(task.get());
}

BonusMeterView::~BonusMeterView()
{
    task->detach();
    task->setFinished(true);
    task = nullptr;
}

void BonusMeterView::setDisplayedValue(int value)
{
    displayedValue = value;
    if (!filling)
        return;
    const int maximum = tuning().BONUS_MAX;
    const int height = filling->getHeight();
    // A maximum of 0 (from data) shows the meter full or empty.
    int level = maximum > 0 ? height * value / maximum : (value > 0 ? height : 0);
    level = level < 0 ? 0 : (level > height ? height : level);
    const int x = filling->getX();
    const int line = filling->getY() + height - level;
    filling->setClipRect(x, line, filling->getWidth(), level);
    if (fillingTop)
        fillingTop->setPosition(x, line);
    if (candyCane) {
        const int taller = candyCane->getHeight() - height;
        candyCane->setPosition(x, line - taller);
        candyCane->setClipRect(x, line - taller, candyCane->getWidth(), level + taller);
    }
}

void BonusMeterView::playFrenzyAnnouncement(Modifier* done)
{
    Modifier* container = phaseContainer();
    GameNode* layer = node("NODE_FLOATERBONUS");
    Image* banner = image("BONUSFRENZY");
    if (!container) {
        RefPointer<Modifier> dropped(done);
        return;
    }
    if (!layer || !banner) {
        // Without its banner the frenzy still begins.
        Modifier::addChild(container, done);
        return;
    }
    auto* sprite = new Sprite(0, 0, banner);
    GameNode::addChild(layer, sprite);
    GameNode::addModifier(sprite, new ModifierSound("SOUND_FRENZY_START", "sounds", true));
    addSlideThroughEffect(sprite, container, true, done);
}

void BonusMeterView::showFrenzyScoreLabel()
{
    if (scoreShine)
        attachOrOwn(phaseContainer(), scoreShine, new ModifierVisible(true));
    if (scoreLabel) {
        if (BitmapFont* frenzyFont = font("FONT_FLOATER_MATCH"))
            scoreLabel->setFont(frenzyFont);
        scoreLabel->setY(scoreY - kScoreFrenzyLift);
    }
}

void BonusMeterView::startCandyCane()
{
    show(filling, false);
    show(fillingTop, false);
    if (!candyCane)
        return;
    candyCane->setVisible(true);
    GameNode::cancelModifiers(candyCane);
    GameNode::addModifier(candyCane, new ModifierFrame(-1, kFrenzyFrameMs));
}

void BonusMeterView::startFountain()
{
    if (!fountain)
        return;
    GameNode::cancelModifiers(fountain);
    GameNode::addModifier(fountain, new ModifierCurrentFrame(0));
    GameNode::addModifier(fountain, new ModifierVisible(true));
    GameNode::addModifier(fountain, new ModifierFrame(-1, kFrenzyFrameMs));
}

void BonusMeterView::turnWheelForward()
{
    if (!wheel)
        return;
    GameNode::addModifier(wheel, new ModifierFrameDirection(false));
    GameNode::addModifier(wheel, new ModifierFrame(1, tuning().BONUS_WHEEL_FRAME_FORWARD));
    GameNode::addModifier(wheel, new ModifierCurrentFrame(0));
}

void BonusMeterView::turnWheelForFrenzy()
{
    if (!wheel)
        return;
    const TuningTable& t = tuning();
    GameDataState* s = state();
    const float timeMultiplier = s ? s->playSessionInfo.multiplierBonusTime : 1.0f;
    const int turn = wheel->getFrameCount() * t.BONUS_WHEEL_FRAME_BACKWARD;
    // A turn of no length (from data) cannot be counted: the wheel stays.
    if (turn <= 0)
        return;
    const int loops = static_cast<int>(static_cast<float>(t.FRENZY_TIME) * timeMultiplier) / turn;
    GameNode::cancelModifiers(wheel);
    GameNode::addModifier(wheel, new ModifierFrameDirection(true));
    GameNode::addModifier(wheel, new ModifierFrame(loops, t.BONUS_WHEEL_FRAME_BACKWARD));
}

void BonusMeterView::emitConfetti()
{
    GameNode* layer = node("NODE_FLOATERSTARS");
    if (!layer)
        return;
    const TuningTable& t = tuning();
    addStarConfettiBurst(layer, phaseContainer(), t.FRENZY_CONFETTI_DENSITY, t.FRENZY_CONFETTI_MAXDELAY, kConfettiMinX,
                         kConfettiMaxX);
}

void BonusMeterView::endFrenzyVisuals()
{
    show(scoreShine, false);
    show(filling, true);
    if (fillingTop) {
        fillingTop->setVisible(true);
        fillingTop->setCurrentFrame(0);
        GameNode::cancelModifiers(fillingTop);
    }
    if (candyCane) {
        candyCane->setVisible(false);
        GameNode::cancelModifiers(candyCane);
        if (fillingTop)
            candyCane->setPosition(fillingTop->getX(), fillingTop->getY());
    }
    if (fillingTop)
        GameNode::addModifier(fillingTop, new ModifierFrame(-1, tuning().BONUS_TOP_FRAME));
    if (fountain) {
        fountain->setVisible(false);
        GameNode::cancelModifiers(fountain);
    }
    if (wheel) {
        wheel->setCurrentFrame(0);
        GameNode::cancelModifiers(wheel);
    }
    if (scoreLabel) {
        if (BitmapFont* normal = font("FONT_SCORE"))
            scoreLabel->setFont(normal);
        scoreLabel->setY(scoreY);
    }
    if (GameNode* stars = node("NODE_FLOATERSTARS")) {
        for (GameNode* star = stars->getFirstChild(); star; star = star->getNextSibling()) {
            GameNode::cancelModifiers(star);
            auto* fade = new ModifierAlpha(kStarFadeMs, 255, 0);
            // The pieces' own removal went with their steps: the fade takes them.
            fade->addEndFlags(Modifier::EndRemoveTarget);
            GameNode::addModifier(star, fade);
        }
    }
}

void BonusMeterView::onMatchDelivered(int matchSize, int comboLevel)
{
    GameDataState* s = state();
    if (!s || s->levelOver || !meter)
        return;
    int gain = getBonusMeterGain(matchSize, comboLevel, 1.0f);
    Modifier* container = phaseContainer();
    if (isCareerLevel() && s->playSessionInfo.hasTool(kSpeedyMeterTool)) {
        gain = static_cast<int>(static_cast<float>(gain) * s->playSessionInfo.multiplierBonusCollect);
        SceneGame* scene = SceneGame::getInstance();
        if (ToolSlots* slots = scene ? scene->getToolSlots() : nullptr) {
            slots->pulseToolById(kSpeedyMeterTool, container);
            slots->emitParticlesById(kSpeedyMeterTool, container, filling, kFloaterParticles, false);
        }
    }
    meter->add(static_cast<float>(gain));
    turnWheelForward();
    playSound(container, "SOUND_POWERUP");
}
