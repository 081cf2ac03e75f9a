#include "game/production/ConveyorController.h"

#include "framework/core/Random.h"
#include "framework/scenegraph/Sprite.h"
#include "game/data/GameData.h"
#include "game/data/TortelunePlayer.h"
#include "game/data/TuningTable.h"
#include "game/dialogs/Trophies.h"
#include "game/production/ConveyorView.h"
#include "game/production/GameScreen.h"
#include "game/production/PastryGoalPanel.h"
#include "game/scenes/HintManager.h"
#include "game/scenes/SceneGame.h"

using namespace gamescreen;

namespace {

constexpr int kTrophyGiantScore = 7;

int drawBelow(int bound)
{
    return Random::instance ? Random::instance->nextInt(0, bound) : 0;
}

} // namespace

ConveyorController::ConveyorController(ConveyorView* view) : view(view), hintCountdown(tuning().HINT_BELT_TIME) {}

Interface* ConveyorController::getInterface(const ClassRecord* record)
{
    if (record == &iInputListener::classRecord)
        return static_cast<iInputListener*>(this);
    return Task::getInterface(record);
}

bool ConveyorController::onLeftDown(int x, int y, int /*keys*/, bool /*doubleClick*/)
{
    if (!view || view->isTornDown())
        return false;
    if (Sprite* menu = sprite(node("BUTTON_MENU")))
        if (menu->containsPoint(x, y))
            return false;
    if (!trapped && y > tuning().CONVEYOR_LINE)
        view->packageFinishedPastries();
    return false;
}

void ConveyorController::run(int elapsedMs)
{
    SceneGame* scene = SceneGame::getInstance();
    GameDataState* s = state();
    if (!view || view->isTornDown() || !scene || !s || !GameData::instance || scene->isPaused() ||
        !scene->saveOnLeave || s->levelOver)
        return;
    ConveyorBelt& belt = s->conveyorBelt;
    float distance = belt.distance - view->getSpeed() * static_cast<float>(elapsedMs);

    if (distance <= 0.0f) {
        view->addNewPlate();
        const int gap = ConveyorView::nextGap(GameData::instance->getCurrentLevel(), s->playSessionInfo.arcadeLevel,
                                              &drawBelow);
        distance = static_cast<float>(gap);
    }

    if (belt.spots.empty() && s->order.isEmpty()) {
        trapped = false;
        s->playSessionInfo.arcadeLevel += 1;
        GameData::instance->fillExamOrders();
        s->playSessionInfo.starCount = static_cast<int32_t>(s->order.size());
        if (s->order.isEmpty() && isArcade()) {
            // A round that orders nothing would level up every frame: the run ends here.
            s->levelOver = true;
            belt.distance = distance;
            return;
        }
        PastryGoalPanel::refreshLevelValue(isArcade());
        view->levelUp(s->playSessionInfo.arcadeLevel);
        distance = static_cast<float>(tuning().LEVELUP_DELAY) * view->getSpeed();
    }

    if (!belt.spots.empty() && belt.spots.front()->hasArrived) {
        belt.graceTimer.advance(elapsedMs);
        // A plate already flushed is not flushed again while the trap works.
        if (belt.graceTimer.isRinging() && !trapped) {
            trapped = true;
            view->flushFrontPlate();
            belt.graceTimer.restart();
        }
    }

    TortelunePlayer* player = currentPlayer();
    if (player && !player->hasSeenHint("HINT_ARCADE")) {
        hintCountdown.advance(elapsedMs);
        if (hintCountdown.hasFired() && HintManager::instance)
            HintManager::instance->showHint("HINT_ARCADE");
    }
    Trophies* trophies = player ? player->getTrophies() : nullptr;
    if (trophies && trophies->getState(kTrophyGiantScore) == 0 &&
        s->playSessionInfo.score >= tuning().TROPHYVALUE_GIANTSCORE)
        trophies->setState(kTrophyGiantScore, 1);

    belt.distance = distance;
}
