#include "game/production/FrenzyTask.h"

#include "framework/core/Log.h"
#include "framework/core/ObjectFactoryContainer.h"
#include "framework/core/PropertyNode.h"
#include "framework/core/SetupStore.h"
#include "framework/resources/ResourceManager.h"
#include "framework/sound/SoundManager.h"
#include "framework/sound/SoundStream.h"
#include "game/data/GameData.h"
#include "game/data/TuningTable.h"
#include "game/effects/LabelTicker.h"
#include "game/effects/ModifierCallback.h"
#include "game/production/BonusMeter.h"
#include "game/production/BonusMeterView.h"
#include "game/production/GameScreen.h"
#include "game/production/ToolSlots.h"
#include "game/scenes/SceneGame.h"

using namespace gamescreen;

namespace {

constexpr int kDrainStepMs = 1000;
constexpr int kTrophyBonusFrenzy = 8;
// The game's tune switches: a short fade either way, at 70 % volume.
constexpr int kMusicFadeMs = 100;
constexpr float kMusicVolume = 0.7f;
constexpr int kMusicMode = 306;

RefPointer<LabelTicker> makeTicker()
{
    PropertyNode* definition = SetupStore::instance ? SetupStore::instance->findTemplate("TICKER_BONUS") : nullptr;
    RefPointer<LabelTicker> ticker;
    if (definition && definition != DUMMY_NODE)
        ticker = ObjectFactoryContainer::createFrom<LabelTicker>(definition);
    if (!ticker) {
        LOG_WARNING("bonus meter: no ticker template \"TICKER_BONUS\"; the display follows the fill at once");
        ticker = new LabelTicker();
        ticker->setType(LabelTicker::Relative);
        ticker->setParam(1000.0);
    }
    return ticker;
}

void pulseTool(int toolId)
{
    SceneGame* scene = SceneGame::getInstance();
    if (ToolSlots* slots = scene ? scene->getToolSlots() : nullptr)
        slots->pulseToolById(toolId, scene->getPhaseContainer());
}

} // namespace

void playLevelMusic(const char* key)
{
    if (!SoundManager::isSoundOn() || !ResourceManager::instance)
        return;
    RefPointer<SoundStream> music;
    {
        ResourceLock lock;
        music = ResourceManager::instance->getResourceAs<SoundStream>(key, "music");
    }
    if (!music) {
        LOG_WARNING(std::string("bonus meter: no music \"") + key + "\"");
        return;
    }
    SoundManager::instance->playMusic(kMusicFadeMs, kMusicVolume, kMusicFadeMs, music.get(), 0, kMusicMode);
}

FrenzyTask::FrenzyTask(BonusMeterView* view) : view(view)
{
    const TuningTable& t = tuning();
    stepClock.start(kDrainStepMs);
    scoreClock.start(t.FRENZY_SCORE_INTERVAL);
    confettiClock.start(t.FRENZY_CONFETTI_INTERVAL);
    BonusMeter* meter = view ? view->getMeter() : nullptr;
    const int shown = meter ? static_cast<int>(meter->getFill()) : 0;
    if (view)
        view->setDisplayedValue(shown);
    if (view && meter && meter->isFrenzy()) {
        // A level saved during a frenzy goes on with it.
        view->startCandyCane();
        view->startFountain();
        state = FrenzyActive;
        announceStarted = false;
        playLevelMusic("MUSIC_FRENZY");
    }
    ticker = makeTicker();
    ticker->setTarget(shown);
    ticker->skipToTarget(false);
}

void FrenzyTask::run(int elapsedMs)
{
    SceneGame* scene = SceneGame::getInstance();
    if (!view || !view->getMeter() || !scene || scene->isPaused() || !scene->saveOnLeave)
        return;
    switch (state) {
    case MeterFilling:
        runFilling(elapsedMs);
        break;
    case FrenzyActive:
        runFrenzy(elapsedMs);
        break;
    case FrenzyAnnounce:
        if (!announceStarted) {
            announceStarted = true;
            // The callback holds this task: it may end after the view let go.
            view->playFrenzyAnnouncement(createModifierCallback(this, &FrenzyTask::onAnnounceDone));
        }
        break;
    case FrenzyBegin:
        begin();
        break;
    case FrenzyEnd:
        end();
        break;
    default:
        break;
    }
}

void FrenzyTask::runFilling(int elapsedMs)
{
    const TuningTable& t = tuning();
    BonusMeter* meter = view->getMeter();
    if (view->getDisplayedValue() >= t.BONUS_MAX) {
        state = FrenzyAnnounce;
        announceStarted = false;
        return;
    }
    stepClock.advance(elapsedMs);
    if (stepClock.isRinging()) {
        meter->drain(t.BONUS_PERSECOND);
        stepClock.start(kDrainStepMs);
    }
    ticker->setTarget(static_cast<int>(meter->getFill()));
    ticker->update(elapsedMs);
    view->setDisplayedValue(static_cast<int>(ticker->getValue()));
}

void FrenzyTask::runFrenzy(int elapsedMs)
{
    const TuningTable& t = tuning();
    BonusMeter* meter = view->getMeter();
    if (view->getDisplayedValue() <= t.BONUS_MIN) {
        state = FrenzyEnd;
        announceStarted = false;
        return;
    }
    GameDataState* s = gamescreen::state();
    PlaySessionInfo* session = s ? &s->playSessionInfo : nullptr;
    scoreClock.advance(elapsedMs);
    if (scoreClock.isRinging()) {
        if (session)
            session->addScore(static_cast<float>(static_cast<int>(session->getScoreMultiplier() * t.FRENZY_SCORE_VALUE)));
        scoreClock.start(t.FRENZY_SCORE_INTERVAL);
    }
    confettiClock.advance(elapsedMs);
    if (confettiClock.isRinging()) {
        view->emitConfetti();
        confettiClock.start(t.FRENZY_CONFETTI_INTERVAL);
    }
    if (session && session->hasTool(1))
        pulseTool(1);
    if (session && session->hasTool(2))
        pulseTool(2);
    const float length = static_cast<float>(t.FRENZY_TIME) * (session ? session->multiplierBonusTime : 1.0f);
    // A frenzy of no length (from data) empties the meter at once.
    if (length > 0.0f)
        meter->subtract(static_cast<float>(t.BONUS_MAX) / length * static_cast<float>(elapsedMs));
    else
        meter->subtract(meter->getFill());
    view->setDisplayedValue(static_cast<int>(meter->getFill()));
}

void FrenzyTask::onAnnounceDone()
{
    if (state != FrenzyAnnounce)
        return;
    state = FrenzyBegin;
    announceStarted = false;
}

void FrenzyTask::begin()
{
    const TuningTable& t = tuning();
    BonusMeter* meter = view->getMeter();
    view->showFrenzyScoreLabel();
    view->startCandyCane();
    view->startFountain();
    view->turnWheelForFrenzy();
    meter->setFrenzy(true);
    meter->setFrenzyCount(meter->getFrenzyCount() + 1);
    if (meter->getFrenzyCount() >= t.TROPHYVALUE_BONUSFRENZY)
        earnTrophy(kTrophyBonusFrenzy);
    scoreClock.start(1);
    confettiClock.start(1);
    state = FrenzyActive;
    announceStarted = false;
    playLevelMusic("MUSIC_FRENZY");
}

void FrenzyTask::end()
{
    BonusMeter* meter = view->getMeter();
    meter->subtract(meter->getFill());
    view->endFrenzyVisuals();
    ticker->setTarget(0);
    ticker->skipToTarget(false);
    meter->setFrenzy(false);
    state = MeterFilling;
    announceStarted = false;
    if (SceneGame* scene = SceneGame::getInstance())
        scene->playGameMusic();
}
