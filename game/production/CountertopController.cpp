#include "game/production/CountertopController.h"

#include "game/data/GameData.h"
#include "game/data/TortelunePlayer.h"
#include "game/data/TuningTable.h"
#include "game/dialogs/Trophies.h"
#include "game/production/Countertop.h"
#include "game/production/GameScreen.h"
#include "game/scenes/HintManager.h"
#include "game/scenes/SceneGame.h"

namespace {

constexpr int kTrophyAllFullQuality = 4;

bool hintSeen(const char* hint)
{
    TortelunePlayer* player = gamescreen::currentPlayer();
    return !player || player->hasSeenHint(hint);
}

} // namespace

CountertopController::CountertopController(Countertop* countertop)
    : countertop(countertop), pastryCountdown(tuning().COUNTERTOP_FIRST_PASTRY_DELAY),
      qualityCountdown(tuning().QUALITY_DROP_DELAY), hintCountdown(tuning().COUNTERTOP_HINT_DELAY),
      fullCountdown(tuning().COUNTERTOP_FULL_DELAY), bounceCountdown(tuning().FINISH_PASTRY_BOUNCE_INTERVAL)
{
}

Interface* CountertopController::getInterface(const ClassRecord* record)
{
    if (record == &iInputListener::classRecord)
        return static_cast<iInputListener*>(this);
    return Task::getInterface(record);
}

bool CountertopController::onLeftDown(int x, int y, int /*keys*/, bool /*doubleClick*/)
{
    const TuningTable& t = tuning();
    if (!countertop || x < t.COUNTERTOP_LEFT || x > t.COUNTERTOP_RIGHT || y < t.COUNTERTOP_TOP ||
        y > t.COUNTERTOP_BOTTOM)
        return false;
    SceneGame* scene = SceneGame::getInstance();
    if (scene && (scene->isPaused() || scene->inputBlocked))
        return false;
    fullArmed = true;
    countertop->packageFinishedPastries();
    return true;
}

void CountertopController::run(int elapsedMs)
{
    SceneGame* scene = SceneGame::getInstance();
    GameDataState* state = gamescreen::state();
    if (!countertop || countertop->isTornDown() || !scene || !state || scene->isPaused() || !scene->saveOnLeave)
        return;
    pastryCountdown.advance(elapsedMs);
    qualityCountdown.advance(elapsedMs);

    if (countertop->hasEmptySpot() && !countertop->hasMovingPastry())
        countertop->closeGaps();

    bool anyUnpackaged = false;
    for (int spot = 0; spot < countertop->getSize(); ++spot) {
        RefPointer<Pastry> pastry = countertop->getPastry(spot);
        anyUnpackaged = anyUnpackaged || (pastry && !pastry->isPackaged);
    }
    if (state->order.isEmpty() && !anyUnpackaged) {
        TortelunePlayer* player = gamescreen::currentPlayer();
        Trophies* trophies = player ? player->getTrophies() : nullptr;
        if (trophies && trophies->getState(kTrophyAllFullQuality) == 0 && state->playSessionInfo.allFullQuality)
            trophies->setState(kTrophyAllFullQuality, 1);
        state->levelOver = true;
    }

    if (!state->order.isEmpty() && countertop->hasEmptySpot() && !countertop->hasMovingPastry() &&
        pastryCountdown.hasFired() && !countertop->hasGap()) {
        countertop->placeNextPastry();
        pastryCountdown.period = tuning().COUNTERTOP_PASTRY_DELAY;
        pastryCountdown.reset();
    }

    if (qualityCountdown.hasFired()) {
        countertop->dropQuality();
        qualityCountdown.reset();
    }

    const bool full = countertop->isFull();
    if (!hintSeen("HINT_COUNTERTOP_FULL") && full) {
        hintCountdown.advance(elapsedMs);
        if (hintCountdown.hasFired() && HintManager::instance)
            HintManager::instance->showHint("HINT_COUNTERTOP_FULL");
    } else {
        hintCountdown.reset();
    }

    if (fullArmed && full) {
        fullCountdown.advance(elapsedMs);
        if (fullCountdown.hasFired()) {
            state->playSessionInfo.forgotFullCounter += 1;
            fullArmed = false;
        }
    } else {
        fullCountdown.period = tuning().COUNTERTOP_FULL_DELAY;
        fullCountdown.reset();
    }

    TortelunePlayer* player = gamescreen::currentPlayer();
    if (player && !player->hasSeenHint("HINT_PASTRY3") && player->numPastries >= 3 && HintManager::instance)
        HintManager::instance->showHint("HINT_PASTRY3");

    if (countertop->hasFinishedPastry()) {
        bounceCountdown.advance(elapsedMs);
        if (bounceCountdown.hasFired() && !countertop->hasMovingPastry()) {
            countertop->bounceFinishedPastries();
            bounceCountdown.period = tuning().FINISH_PASTRY_BOUNCE_INTERVAL;
            bounceCountdown.reset();
        }
    } else {
        bounceCountdown.period = tuning().FINISH_PASTRY_BOUNCE_INTERVAL;
        bounceCountdown.reset();
    }

    countertop->refreshIngredientCounters();
}
