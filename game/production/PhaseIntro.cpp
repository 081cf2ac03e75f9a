#include "game/production/PhaseIntro.h"

#include "framework/gui/Dialog.h"
#include "framework/scenegraph/ModifierFunction.h"
#include "framework/scenegraph/ModifierSound.h"
#include "game/data/GameData.h"
#include "game/production/ConveyorView.h"
#include "game/production/Countertop.h"
#include "game/production/GameScreen.h"
#include "game/production/LevelSigns.h"
#include "game/production/ModifierLogic.h"
#include "game/production/PhasePlay.h"
#include "game/scenes/SceneGame.h"

using namespace gamescreen;

PhaseIntro::Flags PhaseIntro::levelStartFlags(bool career)
{
    Flags flags;
    flags.introducePlates = career;
    flags.introduceTools = career;
    return flags;
}

PhaseIntro::Flags PhaseIntro::restartFlags(bool career)
{
    Flags flags;
    flags.showCustomerHint = false;
    flags.introducePlates = career;
    flags.introduceTools = false;
    return flags;
}

void PhaseIntro::enter()
{
    buildScreen();
    startChain();
}

void PhaseIntro::buildScreen()
{
    SceneGame* scene = SceneGame::getInstance();
    GameDataState* s = state();
    if (!scene || !s)
        return;
    const bool career = isCareerLevel();
    pieces.bonusMeterView = new BonusMeterView();
    pieces.customerView = new CustomerView();
    if (career)
        pieces.goalPanel = new GoalPanel();
    else
        pieces.pastryGoalPanel = new PastryGoalPanel();
    if (career) {
        pieces.plateStack = new PlateStack(node("NODE_PLATES"));
        pieces.toolSlots = new ToolSlots(node("TOOLS"));
        pieces.station = new Countertop(&s->pastryWrapper, pieces.customerView.get(), pieces.plateStack.get());
    } else {
        pieces.station = new ConveyorView(scene->getPhaseContainer());
    }
    pieces.board = scene->createBoard(node("NODE_GRID"));
    levelsigns::showScore(0);
    levelsigns::setUp(scene->getPhaseContainer());
}

void PhaseIntro::startChain()
{
    SceneGame* scene = SceneGame::getInstance();
    Modifier* container = scene ? scene->getPhaseContainer() : nullptr;
    if (!container)
        return;
    Modifier* end = Modifier::addChild(container, new ModifierSound("STING_LEVEL_START", "sounds", true));
    if (flags.showCustomerHint && pieces.customerView)
        end = pieces.customerView->openHint(end);
    if (flags.introducePlates && pieces.plateStack)
        end = pieces.plateStack->dropIn(end);
    if (flags.introduceTools && pieces.toolSlots)
        end = pieces.toolSlots->slideIn(end);
    if (flags.fillGrid) {
        end = Modifier::addChild(end, new ModifierFunction(GuiMethod(this, &PhaseIntro::startFill), this));
        end = Modifier::addChild(end, new ModifierLogic(&PhaseIntro::cellsSettled, this, this));
    }
    if (flags.showCustomerHint && pieces.customerView) {
        end = pieces.customerView->enableHintOk(end);
        end = Modifier::addChild(end, new ModifierLogic(&PhaseIntro::hintConfirmed, this, this));
        end = pieces.customerView->closeHint(end);
    }
    if (flags.introduceGoal) {
        if (pieces.goalPanel)
            pieces.goalPanel->addIntroFlash(end);
        else if (pieces.pastryGoalPanel)
            pieces.pastryGoalPanel->addIntroBlink(end);
    }
    // A sibling of the goal's flash: play starts while the display still pulses.
    Modifier::addChild(end, new ModifierFunction(GuiMethod(this, &PhaseIntro::handOver), this));
}

int PhaseIntro::startFill(void* context, BaseObject* /*argument*/)
{
    auto* intro = static_cast<PhaseIntro*>(context);
    if (intro->pieces.board)
        intro->pieces.board->showCells();
    return 0;
}

bool PhaseIntro::cellsSettled(void* context, int, int, int, int)
{
    auto* intro = static_cast<PhaseIntro*>(context);
    if (!intro->pieces.board)
        return true;
    if (intro->pieces.board->anyCellAnimating())
        return false;
    // The tiles that fell in land: only landed tiles take part in play.
    intro->pieces.board->attachCells();
    return true;
}

bool PhaseIntro::hintConfirmed(void* /*context*/, int, int, int, int)
{
    SceneGame* scene = SceneGame::getInstance();
    Dialog* hint = scene ? scene->getDialog("DIALOG_CUSTOMERHINT") : nullptr;
    if (!hint)
        return true;
    GameNode* ok = hint->getComponent("BUTTON_OK");
    return !ok || ok->getTag() > 0;
}

int PhaseIntro::handOver(void* context, BaseObject* /*argument*/)
{
    auto* intro = static_cast<PhaseIntro*>(context);
    SceneGame* scene = SceneGame::getInstance();
    if (!scene || scene->getPhase().get() != intro)
        return 0;
    scene->setPhase(RefPointer<Phase>(new PhasePlay(intro->pieces)), false);
    return 0;
}

void PhaseIntro::leave()
{
    SceneGame* scene = SceneGame::getInstance();
    if (Dialog* hint = scene ? scene->getDialog("DIALOG_CUSTOMERHINT") : nullptr)
        scene->forgetDialog(hint);
    pieces.release();
}
