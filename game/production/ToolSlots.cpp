#include "game/production/ToolSlots.h"

#include <algorithm>

#include "framework/core/Log.h"
#include "framework/core/ObjectFactoryContainer.h"
#include "framework/core/PropertyNode.h"
#include "framework/core/SetupStore.h"
#include "framework/platform/Task.h"
#include "framework/platform/TimedTaskManager.h"
#include "framework/scenegraph/Label.h"
#include "framework/scenegraph/ModifierDelay.h"
#include "framework/scenegraph/ModifierFrame.h"
#include "framework/scenegraph/ModifierFunction.h"
#include "framework/scenegraph/ModifierLocationLine.h"
#include "framework/scenegraph/ModifierScale.h"
#include "framework/scenegraph/ModifierSound.h"
#include "framework/scenegraph/ModifierVisible.h"
#include "framework/scenegraph/Sprite.h"
#include "game/data/GameData.h"
#include "game/data/RankTable.h"
#include "game/data/ToolCatalog.h"
#include "game/data/TuningTable.h"
#include "game/effects/Effects.h"
#include "game/production/Countertop.h"
#include "game/production/GameScreen.h"
#include "game/production/GoalPanel.h"
#include "game/scenes/SceneGame.h"

using namespace gamescreen;

// The tool slots' per-frame work, run by the frame timer while play runs.
class ToolSlotsTask : public Task {
public:
    explicit ToolSlotsTask(ToolSlots* owner) : owner(owner) {}
    void run(int elapsedMs) override
    {
        SceneGame* scene = SceneGame::getInstance();
        if (owner && scene && !scene->isPaused() && scene->saveOnLeave)
            owner->update(elapsedMs);
    }
    void detach() { owner = nullptr; }

private:
    ToolSlots* owner;
};

namespace {

constexpr int kToolCount = 14;
constexpr int kScreenWidth = 800;
constexpr int kBonusPlusTool = 3;
constexpr int kSteadyHandTool = 7;
constexpr int kIngredientTool = 11;
constexpr int kToolParticles = 50;
constexpr int kIngredientWaitMs = 250;
constexpr int kStarDelayMs = 10;
constexpr int kMinClipHeight = 5;

Modifier* orContainer(Modifier* after)
{
    return after ? after : phaseContainer();
}

Countertop* currentCountertop()
{
    SceneGame* scene = SceneGame::getInstance();
    return scene ? dynamic_cast<Countertop*>(scene->getPastryStation()) : nullptr;
}

} // namespace

ToolSlots::ToolSlots(GameNode* toolsNode) : toolsNode(toolsNode), task(new ToolSlotsTask(this))
{
    const TuningTable& t = tuning();
    steadyHandClock.start(t.TOOL_STEADYHAND_INTERVAL);
    for (int slot = 0; slot < 2; ++slot) {
        alarmClock[slot].start(t.TOOL_ALARM_TIME);
        particleClock[slot].start(t.TOOL_PARTICLE_TIME);
    }
    if (TimedTaskManager::instance)
        TimedTaskManager::instance->addTask(task.get());
    if (!toolsNode)
        return;
    toolsNode->setVisible(true);
    slotQuality = child(toolsNode, "TOOLSLOT_QUALITY");
    slotBonus = child(toolsNode, "TOOLSLOT_BONUS");
    bonusPlusLabel = objectCast<Label>(child(toolsNode, "LABEL_BONUSPLUS"));
    back[0] = sprite(child(toolsNode, "BACK_QUALITY"));
    back[1] = sprite(child(toolsNode, "BACK_BONUS"));
    icon[0] = sprite(child(toolsNode, "ICON_QUALITY"));
    icon[1] = sprite(child(toolsNode, "ICON_BONUS"));
    for (GameNode* frame : {slotQuality, slotBonus})
        if (frame)
            frame->setPosition(0, 0);
    for (int slot = 0; slot < 2; ++slot)
        for (Sprite* part : {back[slot], icon[slot]})
            if (part) {
                part->setVisible(false);
                part->setToolTip(WString());
            }
    ToolCatalog* catalog = ToolCatalog::getInstance();
    for (int id = 0; id < kToolCount && catalog; ++id) {
        const Tool* tool = catalog->find(id);
        const int slot = slotOf(id);
        if (!tool || slot < 0 || !hasChosenTool(id))
            continue;
        const WString tip = textByKey(tool->name);
        if (back[slot]) {
            back[slot]->setVisible(true);
            back[slot]->setTag(id);
            back[slot]->setCurrentFrame(0);
            back[slot]->setToolTip(tip);
        }
        if (icon[slot]) {
            icon[slot]->setVisible(true);
            icon[slot]->setTag(id);
            icon[slot]->setImage(catalog->getIconImage(id).get());
            icon[slot]->setToolTip(tip);
        }
    }
    show(slotQuality, icon[0] && icon[0]->isVisible());
    show(slotBonus, icon[1] && icon[1]->isVisible());
    for (int slot = 0; slot < 2; ++slot) {
        active[slot] = false;
        for (Sprite* part : {back[slot], icon[slot]})
            if (part) {
                part->setScale(t.TOOL_SCALE_DEACTIVE);
                part->setSmooth(true);
                part->setPivotPointKind(Sprite::Center);
            }
        if (back[slot]) {
            backAnimation[slot] = new ModifierFrame(-1, t.TOOL_ROTATION_TIME);
            backAnimation[slot]->setPaused(true);
            if (Modifier* container = phaseContainer())
                attach(container, back[slot], backAnimation[slot].get());
        }
    }
    GameDataState* s = state();
    if (s && hasChosenTool(kBonusPlusTool)) {
        show(bonusPlusLabel, true);
        setBonusPlusCount(s->playSessionInfo.bonusPlusCounter);
    } else {
        show(bonusPlusLabel, false);
    }
}

ToolSlots::~ToolSlots()
{
    task->detach();
    task->setFinished(true);
    for (RefPointer<ModifierFrame>& animation : backAnimation) {
        if (animation)
            animation->kill();
        animation = nullptr;
    }
    task = nullptr;
}

bool ToolSlots::hasChosenTool(int toolId) const
{
    GameDataState* s = state();
    if (!s || !isCareerLevel())
        return false;
    const PlaySessionInfo& session = s->playSessionInfo;
    return session.toolIds[0] == toolId || session.toolIds[1] == toolId;
}

int ToolSlots::slotOf(int toolId)
{
    ToolCatalog* catalog = ToolCatalog::getInstance();
    const Tool* tool = catalog ? catalog->find(toolId) : nullptr;
    if (!tool) {
        LOG_WARNING("tool slots: no tool " + std::to_string(toolId) + " in the catalogue");
        return -1;
    }
    return tool->slot == 1 ? 1 : 0;
}

void ToolSlots::setBonusPlusCount(int count)
{
    if (!bonusPlusLabel)
        return;
    const WString value = formatGroupedNumber(count, getDigitGroupingSymbol());
    if (bonusPlusLabel->getText() != value) {
        bonusPlusLabel->setText(value);
        bonusPlusLabel->updateLayout();
    }
}

Modifier* ToolSlots::slideIn(Modifier* after)
{
    if (!toolsNode || !after)
        return after;
    const TuningTable& t = tuning();
    const int off = kScreenWidth - toolsNode->getX();
    toolsNode->setVisible(false);
    Modifier* chain = attach(after, toolsNode, new ModifierVisible(true));
    Modifier* result = nullptr;
    for (int slot = 0; slot < 2; ++slot) {
        GameNode* frame = getSlotFrame(slot);
        if (!frame || !frame->isVisible())
            continue;
        frame->setVisible(false);
        frame->setPosition(off, 0);
        show(back[slot], false);
        show(icon[slot], false);
        Modifier* step = attach(chain, frame, new ModifierVisible(true));
        step = attach(step, frame, new ModifierSound("SOUND_TOOL_SLIDE", "sounds", true));
        // Slow start, fast arrival.
        Modifier* slide = attach(step, frame, new ModifierLocationLine(t.TOOL_JAR_TRAVEL_TIME, off, 0, 0, 0, easing::quadratic));
        for (Sprite* part : {back[slot], icon[slot]}) {
            if (!part)
                continue;
            Modifier* grow = attach(slide, part, new ModifierVisible(true));
            grow = attach(grow, part, new ModifierScale(150, 0.0f, t.TOOL_SCALE_ACTIVE));
            grow = attach(grow, part, new ModifierScale(100, t.TOOL_SCALE_ACTIVE, t.TOOL_SCALE_DEACTIVE));
            if (part == icon[slot])
                chain = grow;
        }
        if (slot == 1 && bonusPlusLabel && bonusPlusLabel->isVisible()) {
            bonusPlusLabel->setVisible(false);
            Modifier* shown = attach(slide, bonusPlusLabel, new ModifierVisible(true));
            result = attach(shown, bonusPlusLabel, new ModifierScale(100, 0.0f, 1.0f));
        }
    }
    return result ? result : chain;
}

Modifier* ToolSlots::pulseTool(int slot, Modifier* after)
{
    if (slot < 0 || slot > 1 || !icon[slot])
        return after;
    after = orContainer(after);
    const TuningTable& t = tuning();
    alarmClock[slot].start(t.TOOL_ALARM_TIME);
    if (active[slot] || !after)
        return after;
    const float current = icon[slot]->getScale();
    const float range = t.TOOL_SCALE_ACTIVE - t.TOOL_SCALE_DEACTIVE;
    // Equal scales (from data) leave nothing to grow: the slot lights at once.
    const int duration = range != 0.0f ? static_cast<int>(t.TOOL_SCALE_TIME * (t.TOOL_SCALE_ACTIVE - current) / range) : 0;
    Modifier* start = after;
    if (current == t.TOOL_SCALE_DEACTIVE)
        start = attach(after, icon[slot],
                       new ModifierSound(numbered("SOUND_TOOL_SPARKLE", randomBetween(1, 3)), "sounds", true));
    attach(start, icon[slot], new ModifierScale(duration, current, t.TOOL_SCALE_ACTIVE));
    Modifier* end = after;
    if (back[slot]) {
        Modifier* grow = attach(after, back[slot], new ModifierScale(duration, current, t.TOOL_SCALE_ACTIVE));
        end = attach(grow, back[slot], new ModifierFunction(GuiMethod(this, &ToolSlots::onRotationStart), this));
    }
    active[slot] = true;
    return end;
}

Modifier* ToolSlots::pulseToolById(int toolId, Modifier* after)
{
    return pulseTool(slotOf(toolId), after);
}

int ToolSlots::onRotationStart(void* context, BaseObject* argument)
{
    auto* slots = static_cast<ToolSlots*>(context);
    auto* step = objectCast<Modifier>(argument);
    GameNode* target = step ? step->getTarget() : nullptr;
    if (target)
        slots->startRotation(slotOf(target->getTag()));
    return 0;
}

void ToolSlots::startRotation(int slot)
{
    if (slot < 0 || slot > 1 || !back[slot])
        return;
    // A fresh endless turn from its first frame time.
    if (backAnimation[slot])
        backAnimation[slot]->kill();
    backAnimation[slot] = new ModifierFrame(-1, tuning().TOOL_ROTATION_TIME);
    if (Modifier* container = phaseContainer())
        attach(container, back[slot], backAnimation[slot].get());
}

void ToolSlots::deactivateTool(Modifier* after, int slot)
{
    if (slot < 0 || slot > 1)
        return;
    after = orContainer(after);
    const TuningTable& t = tuning();
    if (backAnimation[slot])
        backAnimation[slot]->setPaused(true);
    const float current = icon[slot] ? icon[slot]->getScale() : t.TOOL_SCALE_ACTIVE;
    if (after) {
        for (Sprite* part : {icon[slot], back[slot]})
            if (part)
                attach(after, part, new ModifierScale(t.TOOL_SCALE_TIME, current, t.TOOL_SCALE_DEACTIVE));
    }
    active[slot] = false;
}

void ToolSlots::update(int elapsedMs)
{
    const TuningTable& t = tuning();
    Modifier* container = phaseContainer();
    if (hasChosenTool(kSteadyHandTool)) {
        steadyHandClock.advance(elapsedMs);
        if (steadyHandClock.isRinging() && steadyHandTick(container)) {
            pulseToolById(kSteadyHandTool, container);
            steadyHandClock.start(t.TOOL_STEADYHAND_INTERVAL);
        }
    }
    GameDataState* s = state();
    if (s && hasChosenTool(kBonusPlusTool))
        setBonusPlusCount(s->playSessionInfo.bonusPlusCounter);
    for (int slot = 0; slot < 2; ++slot) {
        if (!active[slot])
            continue;
        alarmClock[slot].advance(elapsedMs);
        particleClock[slot].advance(elapsedMs);
        if (alarmClock[slot].isRinging()) {
            deactivateTool(container, slot);
            alarmClock[slot].start(t.TOOL_ALARM_TIME);
        } else if (particleClock[slot].isRinging()) {
            emitJarParticle(slot);
            particleClock[slot].start(t.TOOL_PARTICLE_TIME);
        }
    }
}

bool ToolSlots::steadyHandTick(Modifier* after)
{
    Countertop* countertop = currentCountertop();
    if (!countertop)
        return true;
    if (countertop->hasGap() || countertop->hasMovingPastry())
        return false;
    const TuningTable& t = tuning();
    // The share of the drops of one interval; a drop delay of 0 (from data)
    // drops nothing, so nothing is given back.
    const float gain = t.QUALITY_DROP_DELAY > 0
                           ? static_cast<float>(t.TOOL_STEADYHAND_INTERVAL / t.QUALITY_DROP_DELAY) *
                                 t.QUALITY_DROP_AMOUNT * t.TOOL_STEADYHAND_FRACTION
                           : 0.0f;
    const int slot = slotOf(kSteadyHandTool);
    for (int spot = 0; spot < t.COUNTERTOP_SIZE; ++spot) {
        RefPointer<Pastry> pastry = countertop->getPastry(spot);
        if (!pastry)
            continue;
        pastry->quality = std::max(std::min(pastry->quality + gain, pastry->maxQuality), 0.0f);
        const int star = std::clamp(countertop->updateQualityDisplayFor(pastry) + 1, 0, 3);
        emitParticles(after, countertop->getSpotChild(spot, "QUALITY_STAR", star), slot, kToolParticles, false);
    }
    return true;
}

RefPointer<GameNode> ToolSlots::makeParticle(int slot)
{
    const std::string name = numbered("PARTICLE", slot);
    PropertyNode* definition = SetupStore::instance ? SetupStore::instance->findTemplate(name) : nullptr;
    RefPointer<GameNode> particle;
    if (definition && definition != DUMMY_NODE)
        particle = ObjectFactoryContainer::createFrom<GameNode>(definition);
    if (!particle) {
        if (!particleTemplateMissingLogged)
            LOG_WARNING("tool slots: no particle template \"" + name + "\"");
        particleTemplateMissingLogged = true;
        return particle;
    }
    particle->setVisible(false);
    return particle;
}

void ToolSlots::emitJarParticle(int slot)
{
    Sprite* jar = getIcon(slot);
    GameNode* layer = node("NODE_TOOLJARS");
    Modifier* container = phaseContainer();
    if (!jar || !layer || !container)
        return;
    RefPointer<GameNode> particle = makeParticle(slot);
    if (!particle)
        return;
    const int w = jar->getWidth();
    const int h = jar->getHeight();
    particle->setPosition(jar->getAbsoluteX() - w / 2 + randomBetween(0, w),
                          jar->getAbsoluteY() - h / 2 + randomBetween(0, h));
    GameNode::addChild(layer, particle.get());
    Modifier* shown = attach(container, particle.get(), new ModifierVisible(true));
    auto* frames = new ModifierFrame(1, tuning().TOOL_PARTICLE_FRAME);
    frames->setEndFlags(Modifier::EndRemoveTarget);
    attach(shown, particle.get(), frames);
}

Modifier* ToolSlots::emitParticles(Modifier* after, GameNode* target, int slot, int amount, bool insideTarget)
{
    after = orContainer(after);
    GameNode* layer = insideTarget ? target : node("NODE_TOOLS");
    if (!after || !target || !layer || slot < 0 || slot > 1 || amount <= 0)
        return after;
    const TuningTable& t = tuning();
    Sprite* box = sprite(target);
    int ox = insideTarget ? 0 : target->getAbsoluteX();
    int oy = insideTarget ? 0 : target->getAbsoluteY();
    int w = box ? box->getWidth() : 0;
    int h = box ? box->getHeight() : 0;
    if (box) {
        ox -= box->getX() - box->getLeft();
        oy -= box->getY() - box->getTop();
        if (const auto& clip = box->getClipRect()) {
            if (clip->height <= kMinClipHeight)
                return after;
            // The clip is given in the parent's frame.
            ox = clip->x + (insideTarget ? -target->getX() : target->getOriginX());
            oy = clip->y + (insideTarget ? -target->getY() : target->getOriginY());
            w = clip->width;
            h = clip->height;
        }
    }
    const int mx = static_cast<int>(static_cast<float>(w) * 0.8f);
    const int my = static_cast<int>(static_cast<float>(h) * 0.8f);
    // A step of 0 or less (from data) would never use the amount up: one particle.
    const int interval = t.TOOL_PARTICLE_INTERVAL > 0 ? t.TOOL_PARTICLE_INTERVAL : amount;
    Modifier* last = after;
    for (int used = 0, k = 0; used < amount; used += interval, ++k) {
        RefPointer<GameNode> particle = makeParticle(slot);
        if (!particle)
            return last;
        particle->setPosition(ox + (w - mx) / 2 + randomBetween(0, mx), oy + (h - my) / 2 + randomBetween(0, my));
        GameNode::addChild(layer, particle.get());
        Modifier* delay = attach(after, particle.get(), new ModifierDelay(k * t.TOOL_PARTICLE_DELAY));
        Modifier* shown = attach(delay, particle.get(), new ModifierVisible(true));
        auto* frames = new ModifierFrame(1, t.TOOL_PARTICLE_FRAME);
        frames->setEndFlags(Modifier::EndRemoveTarget);
        last = attach(shown, particle.get(), frames);
    }
    return last;
}

Modifier* ToolSlots::emitParticlesById(int toolId, Modifier* after, GameNode* target, int amount, bool insideTarget)
{
    return emitParticles(after, target, slotOf(toolId), amount, insideTarget);
}

void ToolSlots::flyStarToTools(Modifier* after, int x, int y)
{
    after = orContainer(after);
    GameNode* layer = node("NODE_TOOLS");
    Image* picture = image("STAR_PRICE");
    SceneGame* scene = SceneGame::getInstance();
    GoalPanel* goal = scene ? scene->getGoalPanel() : nullptr;
    if (!after || !layer || !picture)
        return;
    auto* star = new Sprite(x, y, picture);
    star->setAnchorPoint(Sprite::Center);
    GameNode::addChild(layer, star);
    Modifier* delay = attach(after, star, new ModifierDelay(kStarDelayMs));
    Modifier* pop = addBouncePopEffect(star, delay, true, false, tuning().TOOL_STARMATCH_SCALE);
    Modifier* flight = goal ? goal->flyNodeToGoal(pop ? pop : delay, star, 1, 1.0f) : nullptr;
    if (flight)
        flight->addEndFlags(Modifier::EndRemoveTarget);
    else
        star->setRemoved(true);
}

Modifier* ToolSlots::giveIngredient(Modifier* after, GameNode* number)
{
    if (!number || !after)
        return after;
    Modifier* pulse = pulseToolById(kIngredientTool, after);
    auto* wait = new ModifierDelay(kIngredientWaitMs);
    wait->setEndFlags(Modifier::EndWait);
    Modifier* waited = attach(pulse, number, wait);
    return attach(waited, number, new ModifierFunction(GuiMethod(this, &ToolSlots::onTakeOneIngredient), this));
}

int ToolSlots::onTakeOneIngredient(void* context, BaseObject* argument)
{
    auto* step = objectCast<Modifier>(argument);
    if (GameNode* number = step ? step->getTarget() : nullptr)
        static_cast<ToolSlots*>(context)->takeOneIngredient(number);
    return 0;
}

void ToolSlots::takeOneIngredient(GameNode* number)
{
    Countertop* countertop = currentCountertop();
    if (!countertop || countertop->isTornDown())
        return;
    RefPointer<Pastry> pastry = countertop->findPastryBySerial(number->getTag());
    if (!pastry)
        return;
    int spot = -1;
    for (int n = 0; n < countertop->getSize() && spot < 0; ++n)
        if (countertop->getPastry(n) == pastry)
            spot = n;
    if (spot < 0)
        return;
    const int count = std::min(tuning().MAX_INGREDIENT_COUNT, static_cast<int>(pastry->ingredients.size()));
    for (int k = 0; k < count; ++k) {
        Pastry::Ingredient& entry = pastry->ingredients[k];
        if (countertop->getSpotChild(spot, "NUMBER", k) != number || entry.amount <= 0)
            continue;
        pastry->deliverIngredient(entry.name);
        setLabelNumber(number, entry.amount);
        if (auto* label = objectCast<Label>(number))
            label->setPivotPointKind(Sprite::Center);
        emitParticles(phaseContainer(), number, slotOf(kIngredientTool), kToolParticles, false);
        // The last unit makes the pastry: it finishes like any other.
        if (pastry->isFinished())
            countertop->runCompletion(spot, phaseContainer());
        break;
    }
}
