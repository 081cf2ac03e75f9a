#include "game/production/PhasePlay.h"

#include "framework/scenegraph/Sprite.h"
#include "game/data/GameData.h"
#include "game/data/TuningTable.h"
#include "game/production/ConveyorView.h"
#include "game/production/Countertop.h"
#include "game/production/GameScreen.h"
#include "game/production/LevelSigns.h"
#include "game/production/PhaseEnd.h"
#include "game/scenes/SceneGame.h"

using namespace gamescreen;

PhasePlay::PhasePlay() : winInitial(tuning().WIN_DELAY), winRemaining(tuning().WIN_DELAY) {}

PhasePlay::PhasePlay(const GamePieces& handedOver)
    : pieces(handedOver), winInitial(tuning().WIN_DELAY), winRemaining(tuning().WIN_DELAY)
{
}

void PhasePlay::buildMissingPieces()
{
    SceneGame* scene = SceneGame::getInstance();
    GameDataState* s = state();
    if (!scene || !s)
        return;
    const bool career = isCareerLevel();
    if (!pieces.bonusMeterView)
        pieces.bonusMeterView = new BonusMeterView();
    if (!pieces.customerView) {
        pieces.customerView = new CustomerView();
        if (!career)
            pieces.customerView->resetToCasual();
    }
    if (career && !pieces.plateStack)
        pieces.plateStack = new PlateStack(node("NODE_PLATES"));
    if (!pieces.station) {
        if (career) {
            auto* countertop =
                new Countertop(&s->pastryWrapper, pieces.customerView.get(), pieces.plateStack.get());
            pieces.station = countertop;
            countertop->restoreSpots();
        } else {
            pieces.station = new ConveyorView(scene->getPhaseContainer());
        }
    }
    if (career && !pieces.goalPanel)
        pieces.goalPanel = new GoalPanel();
    if (!career && !pieces.pastryGoalPanel)
        pieces.pastryGoalPanel = new PastryGoalPanel();
    if (career && !pieces.toolSlots)
        pieces.toolSlots = new ToolSlots(node("TOOLS"));
    if (!pieces.board) {
        pieces.board = scene->createBoard(node("NODE_GRID"));
        // A resumed board's tiles are not on their nodes until attached.
        if (pieces.board)
            pieces.board->attachCells();
    }
    if (!career && !twinkles)
        twinkles = new Twinkles();
}

void PhasePlay::enter()
{
    SceneGame* scene = SceneGame::getInstance();
    if (scene)
        scene->saveOnLeave = true;
    buildMissingPieces();
    GameDataState* s = state();
    levelsigns::showScore(s ? s->playSessionInfo.score : 0);
    if (pieces.board)
        pieces.board->runPlacementPass();
    levelsigns::setUp(scene ? scene->getPhaseContainer() : nullptr);
    show(node("BORDER_WARNING"), false);
}

bool PhasePlay::wonSoFar() const
{
    GameDataState* s = state();
    return s && GameData::instance && s->playSessionInfo.starCount >= GameData::instance->getCurrentLevel().starsGoal;
}

void PhasePlay::update(int ms)
{
    SceneGame* scene = SceneGame::getInstance();
    GameDataState* s = state();
    if (!scene || !s || scene->isPaused())
        return;
    if (pieces.customerView)
        pieces.customerView->update(ms);
    levelsigns::countScoreTo(s->playSessionInfo.score);
    if (scene->trophyPending()) {
        scene->requestTrophies();
        winRemaining = winInitial = tuning().WIN_DELAY;
        winRung = false;
        return;
    }
    if (!s->levelOver)
        return;
    const bool career = isCareerLevel();
    if (career) {
        const std::string mood = wonSoFar() ? "_ECSTATIC" : "_CASUAL";
        if (Sprite* customer = sprite(node("CUSTOMER"))) {
            customer->setImage(image(GameData::instance->getCurrentLevel().customerName + mood));
            GameNode::clearModifiers(customer);
            customer->setFrameCount(customer->getImage() && customer->getImage()->getHeight() > 1000 ? 4 : 1, false);
        }
    }
    winRemaining -= ms;
    winRung = winRemaining <= 0;
    // A win delay of 0 or less counts as rung at once; otherwise the level
    // would never end.
    if (career && !(winRung || winInitial <= 0))
        return;
    scene->setPhase(RefPointer<Phase>(new PhaseEnd(pieces)), false);
}

void PhasePlay::leave()
{
    if (pieces.station)
        pieces.station->tearDown();
    pieces.release();
    twinkles = nullptr;
}

void PhasePlay::pause()
{
    levelsigns::suspendScore(true);
}

void PhasePlay::resume()
{
    levelsigns::suspendScore(false);
}
