#include "game/board/CellSprite.h"

#include <algorithm>
#include <climits>
#include <cstdint>

#include "framework/core/ObjectFactoryContainer.h"
#include "framework/core/PropertyNode.h"
#include "framework/core/PropertyValue.h"
#include "framework/graphics/BitmapFont.h"
#include "framework/graphics/Image.h"
#include "framework/players/PropertyAccess.h"
#include "framework/resources/ResourceLookup.h"
#include "framework/scenegraph/ModifierAlpha.h"
#include "framework/scenegraph/ModifierClipRect.h"
#include "framework/scenegraph/ModifierDelay.h"
#include "framework/scenegraph/ModifierFrame.h"
#include "framework/scenegraph/ModifierFunction.h"
#include "framework/scenegraph/ModifierLocationLine.h"
#include "framework/scenegraph/ModifierScale.h"
#include "framework/scenegraph/ModifierVisible.h"
#include "game/board/BoardHost.h"
#include "game/board/BoardKeys.h"
#include "game/data/GameData.h"
#include "game/effects/Effects.h"
#include "game/effects/ModifierAccelerate.h"
#include "game/effects/ModifierShake.h"
#include "game/effects/OneShotModifiers.h"
#include "game/data/TortelunePlayer.h"
#include "game/data/TuningTable.h"
#include "game/scenes/HintManager.h"

TT_DEFINE_RECORD(CellSprite, &Sprite::classRecord);
TT_REGISTER_CLASS(CellSprite);

namespace {

const char* const kSection = "scenegame";

RefPointer<Image> findPicture(const std::string& key)
{
    return ResourceLookup::findAs<Image>(key, kSection);
}

Sprite* overlaySprite(const std::string& key, int x, int y)
{
    Sprite* sprite = new Sprite(x, y, findPicture(key).get());
    sprite->setAnchorPoint(Sprite::BottomLeft);
    return sprite;
}

} // namespace

float boardSmoothstep(float t)
{
    return t * t * (3.0f - 2.0f * t);
}

CellSprite::CellSprite(int column, int row, const std::string& ingredient, bool unripe, int multiplier)
    : ingredient(ingredient), multiplier(multiplier), unripe(unripe), column(column), row(row)
{
    initialise(true);
}

CellSprite::CellSprite(AbstractProperty* configuration)
{
    ingredient = childString(configuration, "ingredient");
    column = childInt(configuration, "x");
    row = childInt(configuration, "y");
    // A tile stands for one to five ingredients; a damaged save must not
    // make one deliver millions.
    multiplier = std::min(5, std::max(1, childInt(configuration, "multiplier")));
    unripe = childBool(configuration, "unripe");
    landed = true;
    initialise(true);
}

CellSprite::~CellSprite()
{
    if (selected)
        clearSelected();
    if (highlighted)
        clearOverlays();
}

void CellSprite::initialise(bool withArcade)
{
    setPicture(pictureKey(withArcade));
    setAnchorPoint(BottomLeft);
    setPivotPoint(static_cast<float>(boardKeys().cellWidth) * 0.5f,
                  static_cast<float>(getHeight()) - static_cast<float>(boardKeys().cellHeight) * 0.5f);
    // A restored tile may name any cell; its place must not overflow.
    auto place = [](int cell, int size) {
        const int64_t value = static_cast<int64_t>(cell) * size;
        return static_cast<int>(std::min<int64_t>(INT32_MAX, std::max<int64_t>(INT32_MIN, value)));
    };
    setPosition(place(column, boardKeys().cellWidth), place(row, boardKeys().cellHeight));
    rebuildCounter(false);
}

std::string CellSprite::pictureKey(bool withArcade) const
{
    std::string key = ingredientWord(ingredient);
    if (unripe)
        key += "_UNRIPE";
    if (withArcade && isArcadeLook() && isBonusName(ingredient))
        key += "_ARCADE";
    return key;
}

void CellSprite::setPicture(const std::string& key)
{
    setImage(findPicture(key).get());
    // The pivot is the centre of a cell-sized picture standing on the anchor.
    setAnchorPoint(BottomLeft);
    setPivotPoint(static_cast<float>(boardKeys().cellWidth) * 0.5f,
                  static_cast<float>(getHeight()) - static_cast<float>(boardKeys().cellHeight) * 0.5f);
}

void CellSprite::rebuildCounter(bool hovered)
{
    if (counter) {
        counter->setRemoved(true);
        GameNode::removeFromParent(counter.get());
        counter->release(); // the reference the tree handed over
        counter.reset();
    }
    if (multiplier <= 1)
        return;
    RefPointer<BitmapFont> font = ResourceLookup::findAs<BitmapFont>("FONT_COUNTER", kSection);
    const TuningTable& t = tuning();
    counter = new Label(font.get(), hovered ? t.MULTIPLIER_HOVER_X : t.MULTIPLIER_X,
                        hovered ? t.MULTIPLIER_HOVER_Y : t.MULTIPLIER_Y, 0, 0);
    counter->setAnchorStyle(TopRight);
    counter->setText(toWideString("x" + std::to_string(multiplier)));
    GameNode::addChild(this, counter.get());
}

Modifier* CellSprite::chain(Modifier* parent, Modifier* modifier, GameNode* target)
{
    RefPointer<Modifier> hold(modifier);
    if (!parent)
        parent = BoardHost::animationRoot();
    if (!parent)
        return nullptr;
    modifier->setTarget(target);
    return Modifier::addChild(parent, modifier);
}

Modifier* CellSprite::addLandingStep(Modifier* after)
{
    Modifier* landing = chain(after, new ModifierFunction(GuiMethod(nullptr, &CellSprite::landCallback)), this);
    endStep = landing;
    return landing;
}

Modifier* CellSprite::addClosingSteps(Modifier* after, const GuiMethod& callback, BaseObject* keepAlive)
{
    if (callback.isBound())
        chain(after, new ModifierFunction(callback, keepAlive), this);
    return addLandingStep(after);
}

// The tile is the step's target, held weakly: a tile that is gone is skipped.
CellSprite* CellSprite::stepTarget(BaseObject* step)
{
    Modifier* modifier = objectCast<Modifier>(step);
    return modifier ? objectCast<CellSprite>(modifier->getTarget()) : nullptr;
}

int CellSprite::landCallback(void*, BaseObject* step)
{
    if (CellSprite* tile = stepTarget(step))
        tile->onLanded();
    return 0;
}

void CellSprite::onLanded()
{
    if (!landed) {
        GameDataState* session = boardState();
        TortelunePlayer* player = boardPlayer();
        BoardHost* host = BoardHost::current();
        if (unripe) {
            if (ripeningToolInPlay())
                ripenWithTool();
            else
                showFirstTimeHint();
        } else if (isBonus()) {
            if (player && session && !player->seenBonus.count(ingredient)) {
                LevelManager& levels = session->mode == 1 ? session->arcadeManager : session->levelManager;
                player->setBonusSeen(ingredient, levels.getCurrentIndex());
            }
            const PlaySessionInfo* tools = session ? &session->playSessionInfo : nullptr;
            if (host && tools && toolPlaced && tools->hasTool(3)) {
                host->pulseTool(3);
                host->emitToolParticles(3, this, 100, true);
            }
            if (host && tools && tools->hasTool(6) && (ingredient == "star +1 bonus" || ingredient == "star +5 bonus")) {
                host->pulseTool(6);
                host->emitToolParticles(6, this, 100, true);
            }
            showFirstTimeHint();
        }
        // The tools hint waits until the player has filled both tool slots once.
        if (player && !player->toolsHintArmed && player->toolSlots.size() >= 2 && player->toolSlots[0] != -1 &&
            player->toolSlots[1] != -1)
            player->toolsHintArmed = true;
        if (player && player->toolsHintArmed && session && session->playSessionInfo.hasTool(6) && HintManager::instance)
            HintManager::instance->showHint("HINT_TOOLS");
    }
    landed = true;
    endStep.reset();
    fallStep.reset();
    state = Idle;
}

bool CellSprite::ripeningToolInPlay() const
{
    GameDataState* session = boardState();
    return !isArcadeLook() && session &&
           (session->playSessionInfo.toolIds[0] == 0 || session->playSessionInfo.toolIds[1] == 0);
}

std::string CellSprite::firstTimeHint() const
{
    if (unripe) {
        if (ripeningToolInPlay())
            return std::string();
        if (ingredient.find("banana") != std::string::npos)
            return "HINT_UNRIPEBANANA";
        if (ingredient.find("cherry") != std::string::npos)
            return "HINT_UNRIPECHERRY";
        return std::string();
    }
    return isBonus() ? "HINT_" + ingredientWord(ingredient) : std::string();
}

void CellSprite::hintPoint(int& x, int& y, int& corner) const
{
    x = getAbsoluteX();
    y = getAbsoluteY();
    corner = 9;
    if (!showHints)
        return;
    // The hand hangs below its point in the upper half and stands above it in the lower.
    if (row < boardKeys().gridHeight / 2) {
        x += 25;
        y -= 30;
        corner = 0;
    } else {
        x += 30;
        y -= 5;
        corner = 6;
    }
}

bool CellSprite::showFirstTimeHint()
{
    const std::string name = firstTimeHint();
    TortelunePlayer* player = boardPlayer();
    if (!showHints || name.empty() || !HintManager::instance || (player && player->hasSeenHint(name)))
        return false;
    int x, y, corner;
    hintPoint(x, y, corner);
    HintManager::instance->showHintAt(name, x, y, corner);
    return true;
}

Modifier* CellSprite::fallIn()
{
    const BoardKeys& keys = boardKeys();
    const TuningTable& t = tuning();
    const int targetY = row * keys.cellHeight;
    setY(-keys.cellHeight);
    setAlpha(0);
    state = FallingIn;
    const int delay = scaledDuration(t.FALL_IN_DELAY) * (keys.gridHeight - row);
    const int duration = scaledDuration(t.FALL_IN_DURATION) * (column + 1);
    Modifier* wait = chain(nullptr, new ModifierDelay(delay), this);
    if (!wait) {
        setY(targetY);
        setAlpha(255);
        return nullptr;
    }
    chain(wait, new ModifierAlpha(t.FALL_IN_DELAY, 0, 255), this);
    if (counter) {
        counter->setAlpha(0);
        chain(wait, new ModifierAlpha(t.FALL_IN_DELAY, 0, 255), counter.get());
    }
    // The tile is idle (and can be swapped) once it has landed.
    return addLandingStep(
        chain(wait, new ModifierLocationLine(duration, getX(), getY(), getX(), targetY, &boardSmoothstep), this));
}

void CellSprite::fallTo(int targetRow)
{
    const int targetY = targetRow * boardKeys().cellHeight;
    if (state == Idle) {
        const TuningTable& t = tuning();
        const float s = boardSpeed();
        Modifier* fall = chain(nullptr,
                               new ModifierAccelerate(targetY, t.DROP_SPEED * s, t.DROP_GRAVITY * s,
                                                      t.DROP_TERMINAL_VELOCITY * s, t.DROP_BOUNCES),
                               this);
        if (!fall) {
            setY(targetY);
            onLanded();
            return;
        }
        fallStep = fall;
        state = Falling;
        addLandingStep(fall);
    } else if (state == Falling) {
        // The running fall only gets a new line to land on.
        if (ModifierAccelerate* fall = objectCast<ModifierAccelerate>(fallStep.get()))
            fall->setTargetY(targetY);
    }
}

void CellSprite::showHover()
{
    setPicture(pictureKey(false) + "_HOVER");
    rebuildCounter(true);
}

void CellSprite::hideHover()
{
    setPicture(pictureKey(false));
    rebuildCounter(false);
}

void CellSprite::setSelected()
{
    if (selected)
        return;
    std::string own = ingredientWord(ingredient);
    if (unripe)
        own += "_UNRIPE";
    selectionCopy = overlaySprite(own, 0, 0);
    setPicture(isArcadeLook() ? "ARCADE_SELECTION" : "SELECTION");
    if (counter) {
        GameNode::insertBefore(selectionCopy.get(), counter.get());
        counter->setPosition(tuning().MULTIPLIER_X, tuning().MULTIPLIER_Y);
    } else {
        GameNode::addChild(this, selectionCopy.get());
    }
    selected = true;
}

void CellSprite::clearSelected()
{
    if (selectionCopy) {
        setPicture(pictureKey(true));
        selectionCopy->setRemoved(true);
        selectionCopy.reset();
    }
    selected = false;
}

void CellSprite::setHighlighted()
{
    if (!getParent())
        return;
    highlightBack = overlaySprite("HIGHLIGHT_BACK", getX(), getY());
    GameNode::insertBefore(highlightBack.get(), this);
    addHighlight(0, false);
}

void CellSprite::addHighlight(int dy, bool above)
{
    highlight = overlaySprite("HIGHLIGHT", getX(), getY() + dy);
    highlight->setFrameCount(8, false);
    GameNode::addModifier(highlight.get(), new ModifierFrame(-1, tuning().HIGHLIGHT_FRAME_TIME));
    if (above)
        GameNode::insertAfter(highlight.get(), this);
    else
        GameNode::insertBefore(highlight.get(), this);
    highlighted = true;
}

void CellSprite::clearOverlays()
{
    if (highlight)
        highlight->setRemoved(true);
    if (highlightBack)
        highlightBack->setRemoved(true);
    highlight.reset();
    highlightBack.reset();
    highlighted = false;
}

void CellSprite::onMatched(const GuiMethod& callback, BaseObject* keepAlive, Modifier* parent)
{
    const TuningTable& t = tuning();
    RefPointer<Sprite> flash(overlaySprite(isArcadeLook() ? "ARCADE_GRID_MATCH" : "GRID_MATCH", getX(), getY()));
    if (getParent())
        GameNode::insertBefore(flash.get(), this);
    state = Leaving;
    if (unripe) {
        // An unripe tile shakes through its whole removal.
        const int shakeTime =
            scaledDuration(t.UNRIPE_SHAKE_DURATION + t.REMOVE_FADE_DURATION + t.REMOVE_FADE_DELAY);
        Modifier* under = parent ? parent : BoardHost::animationRoot();
        chain(under, new ModifierShake(t.REMOVE_SHAKE_OFFSET, t.REMOVE_SHAKE_OFFSET, shakeTime), this);
        parent = chain(under, new ModifierDelay(scaledDuration(t.UNRIPE_SHAKE_DURATION)), this);
    }
    Modifier* wait = chain(parent, new ModifierDelay(scaledDuration(t.REMOVE_FADE_DELAY)), this);
    Modifier* fade = wait ? chain(wait, new ModifierAlpha(scaledDuration(t.REMOVE_FADE_DURATION), 255, 0), this) : nullptr;
    if (!fade) {
        // Without an animation tree the removal ends at once.
        flash->setRemoved(true);
        setAlpha(0);
        RefPointer<ModifierFunction> step(new ModifierFunction(callback, keepAlive));
        step->setTarget(this);
        step->step(0);
        onLanded();
        return;
    }
    Modifier* hide = chain(fade, new ModifierVisible(ModifierVisible::Hide), flash.get());
    hide->addEndFlags(Modifier::EndRemoveTarget);
    addClosingSteps(fade, callback, keepAlive);
}

void CellSprite::popOut(const GuiMethod& callback, BaseObject* keepAlive, Modifier* parent)
{
    state = Leaving;
    Modifier* under = parent ? parent : BoardHost::animationRoot();
    Modifier* pop = under ? addPopEffect(this, under, false, true, 0.5f) : nullptr;
    if (!pop) {
        setVisible(false);
        RefPointer<ModifierFunction> step(new ModifierFunction(callback, keepAlive));
        step->setTarget(this);
        step->step(0);
        onLanded();
        return;
    }
    Modifier* hide = chain(pop, new ModifierVisible(ModifierVisible::Hide), this);
    addClosingSteps(hide, callback, keepAlive);
}

void CellSprite::finishWith(const GuiMethod& callback, BaseObject* keepAlive, Modifier* parent)
{
    state = Leaving;
    Modifier* under = parent ? parent : BoardHost::animationRoot();
    if (!under) {
        RefPointer<ModifierFunction> step(new ModifierFunction(callback, keepAlive));
        step->setTarget(this);
        step->step(0);
        onLanded();
        return;
    }
    addClosingSteps(under, callback, keepAlive);
}

void CellSprite::shakeAndFinish(const GuiMethod& callback, BaseObject* keepAlive)
{
    state = Idle;
    GameNode::cancelModifiers(this);
    const TuningTable& t = tuning();
    Modifier* wait = chain(nullptr, new ModifierDelay(3000), this);
    Modifier* shake = wait ? chain(wait, new ModifierShake(t.REMOVE_SHAKE_OFFSET, t.REMOVE_SHAKE_OFFSET,
                                                           t.REMOVE_SHAKE_DURATION),
                                   this)
                           : nullptr;
    finishWith(callback, keepAlive, shake);
}

Modifier* CellSprite::playLevelUp()
{
    const TuningTable& t = tuning();
    if (counter)
        chain(nullptr, new ModifierAlpha(t.LEVELUP_FADE_TIME, 255, 0), counter.get());
    Modifier* out = chain(nullptr, new ModifierAlpha(t.LEVELUP_FADE_TIME, 255, 0), this);
    Modifier* wait = out ? chain(out, new ModifierDelay(t.LEVELUP_DELAY_TIME), this) : nullptr;
    if (!wait)
        return nullptr;
    chain(wait, new ModifierAlpha(t.LEVELUP_FADEIN_TIME, 0, 255), this);
    Modifier* last = chain(wait, new ModifierScale(t.LEVELUP_SCALE_TIME, 0.0f, 1.0f), this);
    if (counter) {
        chain(wait, new ModifierAlpha(t.LEVELUP_FADEIN_TIME, 0, 255), counter.get());
        chain(wait, new ModifierScale(t.LEVELUP_SCALE_TIME, 0.0f, 1.0f), counter.get());
    }
    return last;
}

void CellSprite::suckTo(int targetColumn, int targetRow, const GuiMethod& callback, BaseObject* keepAlive)
{
    const BoardKeys& keys = boardKeys();
    const TuningTable& t = tuning();
    setPosition(column * keys.cellWidth, row * keys.cellHeight);
    const int dc = targetColumn - column;
    const int dr = targetRow - row;
    const int toX = getX() + dc * keys.cellWidth;
    const int toY = getY() + dr * keys.cellHeight;
    // A tile right of or below the target gets a negative delay, which ends at once.
    const int delay = (dc + dr) * t.SUCK_DELAY_MAX / (keys.gridWidth + keys.gridHeight);
    GameNode::cancelModifiers(this);
    state = Sucked;
    Modifier* wait = chain(nullptr, new ModifierDelay(delay), this);
    if (!wait) {
        setPosition(toX, toY);
        finishWith(callback, keepAlive, nullptr);
        return;
    }
    chain(wait, new ModifierLocationLine(t.SUCK_DURATION, getX(), getY(), toX, toY, &boardSmoothstep), this);
    Modifier* grow = chain(wait, new ModifierScale(t.SUCK_DURATION / 2, 1.0f, t.SUCK_SCALE), this);
    Modifier* shrink = chain(grow, new ModifierScale(t.SUCK_DURATION / 2, t.SUCK_SCALE, 0.0f), this);
    Modifier* hide = chain(shrink, new ModifierVisible(ModifierVisible::Hide), this);
    addClosingSteps(hide, callback, keepAlive);
}

void CellSprite::blowTo(int fromColumn, int fromRow)
{
    const BoardKeys& keys = boardKeys();
    const TuningTable& t = tuning();
    const int ownX = column * keys.cellWidth;
    const int ownY = row * keys.cellHeight;
    setPosition(ownX + (fromColumn - column) * keys.cellWidth, ownY + (fromRow - row) * keys.cellHeight);
    setVisible(true);
    state = Blown;
    Modifier* move =
        chain(nullptr, new ModifierLocationLine(t.BLOW_DURATION, getX(), getY(), ownX, ownY, &boardSmoothstep), this);
    if (!move) {
        setPosition(ownX, ownY);
        onLanded();
        return;
    }
    Modifier* grow = chain(nullptr, new ModifierScale(t.BLOW_DURATION / 2, 0.0f, t.SUCK_SCALE), this);
    chain(grow, new ModifierScale(t.BLOW_DURATION / 2, t.SUCK_SCALE, 1.0f), this);
    addLandingStep(move);
}

int CellSprite::ripeCallback(void*, BaseObject* step)
{
    if (CellSprite* tile = stepTarget(step))
        tile->refreshRipeImage();
    return 0;
}

void CellSprite::ripenWithTool()
{
    // The ripening tool (id 0) pulses in its slot and sparkles on the tile.
    if (BoardHost* host = BoardHost::current()) {
        host->pulseTool(0);
        host->emitToolParticles(0, this, 100, true);
    }
    unripe = false;
    Modifier* wait = chain(nullptr, new ModifierDelay(200), this);
    Modifier* pop = wait ? addPopEffect(this, wait, false, false, 0.5f) : nullptr;
    if (!pop) {
        refreshRipeImage();
        return;
    }
    chain(pop, new ModifierFunction(GuiMethod(nullptr, &CellSprite::ripeCallback)), this);
}

void CellSprite::dropOut()
{
    const BoardKeys& keys = boardKeys();
    const TuningTable& t = tuning();
    const int originY = getOriginY();
    const int targetY = getY() + 600 - originY;
    const int delay = scaledDuration(t.FALL_IN_DELAY) * (keys.gridHeight - row);
    const int duration = scaledDuration(t.FALL_IN_DURATION) * (column + 1);
    state = DroppingOut;
    Modifier* wait = chain(nullptr, new ModifierDelay(delay), this);
    if (!wait) {
        setY(targetY);
        return;
    }
    const Rect screenTop {0, -originY, 800, 500};
    chain(wait, new ModifierClipRect(0, screenTop, screenTop), this);
    chain(wait, new ModifierLocationLine(duration, getX(), getY(), getX(), targetY, &boardSmoothstep), this);
}

void CellSprite::swapTo(int direction, bool raised)
{
    const BoardKeys& keys = boardKeys();
    const TuningTable& t = tuning();
    const int duration = scaledDuration(t.SWAP_DURATION);
    const float scaleTo = raised ? t.SWAP_UP_SCALE : t.SWAP_DOWN_SCALE;
    int toX = getX();
    int toY = getY();
    switch (direction) {
    case Left: toX -= keys.cellWidth; break;
    case Right: toX += keys.cellWidth; break;
    case Up: toY -= keys.cellHeight; break;
    default: toY += keys.cellHeight; break;
    }
    state = Swapping;
    Modifier* grow = chain(nullptr, new ModifierScale(duration / 2, 1.0f, scaleTo), this);
    if (!grow) {
        setPosition(toX, toY);
        onLanded();
        return;
    }
    Modifier* move =
        chain(nullptr, new ModifierLocationLine(duration, getX(), getY(), toX, toY, &boardSmoothstep), this);
    chain(grow, new ModifierScale(duration / 2, scaleTo, 1.0f), this);
    // The landing waits for the move: a chained step may end a frame early,
    // and an idle tile must stand on its place.
    addLandingStep(move);
}

void CellSprite::invalidSwap(int direction, bool raised, GameNode* ownNode, GameNode* neighbourNode)
{
    if (state != Idle)
        return;
    const BoardKeys& keys = boardKeys();
    const TuningTable& t = tuning();
    const int duration = scaledDuration(t.INVALID_SWAP_DURATION);
    const int half = duration / 2;
    const float scaleTo = raised ? t.SWAP_UP_SCALE : t.SWAP_DOWN_SCALE;
    const int fromX = getX();
    const int fromY = getY();
    int toX = fromX;
    int toY = fromY;
    switch (direction) {
    case Left: toX -= keys.cellWidth; break;
    case Right: toX += keys.cellWidth; break;
    case Up: toY -= keys.cellHeight; break;
    default: toY += keys.cellHeight; break;
    }
    // Cell nodes draw in row order, then column order: the raised tile must
    // hang under the later of the two nodes while they cross.
    const bool forward = direction == Right || direction == Down;
    if (raised == forward && neighbourNode)
        GameNode::addChild(neighbourNode, this);
    state = Bouncing;
    Modifier* there = chain(nullptr, new ModifierLocationLine(duration, fromX, fromY, toX, toY, &boardSmoothstep), this);
    if (!there) {
        if (ownNode)
            GameNode::addChild(ownNode, this);
        onLanded();
        return;
    }
    Modifier* up = chain(nullptr, new ModifierScale(half, 1.0f, scaleTo), this);
    chain(up, new ModifierScale(half, scaleTo, 1.0f), this);
    Modifier* back = chain(there, new ModifierLocationLine(duration, toX, toY, fromX, fromY, &boardSmoothstep), this);
    Modifier* up2 = chain(there, new ModifierScale(half, 1.0f, scaleTo), this);
    chain(up2, new ModifierScale(half, scaleTo, 1.0f), this);
    if (highlightBack) {
        Modifier* glowThere = chain(nullptr, new ModifierLocationLine(duration, fromX, fromY, toX, toY, &boardSmoothstep),
                                    highlightBack.get());
        chain(glowThere, new ModifierLocationLine(duration, toX, toY, fromX, fromY, &boardSmoothstep),
              highlightBack.get());
    }
    Modifier* landing = addLandingStep(back);
    chain(landing, new ModifierReparent(ownNode), this);
}

void CellSprite::moveUnder(GameNode* newParent)
{
    if (state == Idle || !endStep) {
        if (state == Idle)
            GameNode::addChild(newParent, this);
        return;
    }
    if (state != Swapping)
        return;
    RefPointer<Modifier> step(new ModifierReparent(newParent));
    step->setTarget(this);
    // Beside the landing step, before it: both run when the swap's last scale ends.
    Modifier::insertBefore(step.get(), endStep.get());
}

void CellSprite::makeUnripe()
{
    unripe = true;
    setPicture(pictureKey(false));
}

void CellSprite::refreshRipeImage()
{
    setPicture(ingredientWord(ingredient));
}

void CellSprite::saveState(PropertyNode* node) const
{
    if (!node)
        return;
    node->addChild(new PropertyValue("ingredient", ingredient, true));
    node->addChild(new PropertyValue("x", column, true));
    node->addChild(new PropertyValue("y", row, true));
    node->addChild(new PropertyValue("multiplier", multiplier, true));
    node->addChild(new PropertyValue("unripe", std::string(unripe ? "true" : "false"), true));
}
