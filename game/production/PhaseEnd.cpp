#include "game/production/PhaseEnd.h"

#include "game/dialogs/DialogArcadeEnd.h"

#include "framework/core/Log.h"
#include "framework/players/PlayerManager.h"
#include "framework/resources/ResourceManager.h"
#include "framework/scenegraph/ModifierFunction.h"
#include "framework/scenegraph/ModifierSound.h"
#include "framework/sound/SoundManager.h"
#include "framework/sound/SoundStream.h"
#include "game/data/GameData.h"
#include "game/data/RankTable.h"
#include "game/data/TortelunePlayer.h"
#include "game/data/TuningTable.h"
#include "game/dialogs/DialogArcadeEnd.h"
#include "game/dialogs/DialogLevelEnd.h"
#include "game/dialogs/DialogTortelune.h"
#include "game/dialogs/Trophies.h"
#include "game/production/GameScreen.h"
#include "game/production/ModifierLogic.h"
#include "game/production/PhaseIntro.h"
#include "game/scenes/SceneGame.h"

using namespace gamescreen;

namespace {

bool customerHintConfirmed()
{
    SceneGame* scene = SceneGame::getInstance();
    Dialog* hint = scene ? scene->getDialog("DIALOG_CUSTOMERHINT") : nullptr;
    if (!hint)
        return true;
    GameNode* ok = hint->getComponent("BUTTON_OK");
    return !ok || ok->getTag() > 0;
}

void earnTrophy(TortelunePlayer& player, int index)
{
    Trophies* trophies = player.getTrophies();
    if (trophies && index < trophies->getCount() && trophies->getState(index) == 0)
        trophies->setState(index, 1);
}

void giveRankReward(TortelunePlayer& player, int step)
{
    const TuningTable& t = tuning();
    switch (step) {
    case 0:
        if (!player.hasToolLevel(0)) {
            player.addToolLevel(0);
            player.toolLevel0Notice = true;
        }
        earnTrophy(player, 5);
        break;
    case 1:
        player.starsOffset += t.UNLOCK_STARBONUS0;
        player.starBonus0Notice = true;
        break;
    case 2:
        player.arcadeState[1] = 1;
        player.arcadeSet1Notice = true;
        break;
    case 3:
        player.starsOffset += t.UNLOCK_STARBONUS1;
        player.starBonus1Notice = true;
        break;
    case 4:
        player.arcadeState[2] = 1;
        player.arcadeState[3] = 1;
        player.arcadeSets2And3Notice = true;
        break;
    case 5:
        player.starsOffset += t.UNLOCK_STARBONUS2;
        player.starBonus2Notice = true;
        break;
    case 6:
        if (!player.hasToolLevel(1))
            player.addToolLevel(1);
        player.toolLevel1Notice = true;
        earnTrophy(player, 1);
        break;
    case 7:
        player.starsOffset += t.UNLOCK_STARBONUS3;
        player.starBonus3Notice = true;
        break;
    case 8:
        player.arcadeState[4] = 1;
        player.arcadeState[5] = 1;
        player.arcadeSets4And5Notice = true;
        earnTrophy(player, 6);
        break;
    default:
        break;
    }
}

void savePlayers()
{
    PlayerManager* players = PlayerManager::getInstance();
    if (!players)
        return;
    players->savePlayerList();
    if (AbstractPlayer* player = players->getCurrentPlayer())
        players->savePlayer(player);
}

} // namespace

PhaseEnd::PhaseEnd(const GamePieces& handedOver)
    : endInitial(tuning().END_DELAY), endRemaining(tuning().END_DELAY), pieces(handedOver)
{
}

bool PhaseEnd::isLevelWon()
{
    GameDataState* s = state();
    if (!s || !GameData::instance || isArcade())
        return false;
    return s->playSessionInfo.starCount >= GameData::instance->getCurrentLevel().starsGoal;
}

void PhaseEnd::enter()
{
    SceneGame* scene = SceneGame::getInstance();
    GameDataState* s = state();
    if (!scene || !s)
        return;
    // The level's music fades out under the sting.
    if (SoundManager::isSoundOn() && SoundManager::instance->getCurrentMusic())
        SoundManager::instance->pauseMusic(300);
    const bool won = isLevelWon();
    Modifier* container = scene->getPhaseContainer();
    playSound(container, won ? "STING_LEVEL_FINISH" : "STING_LEVEL_LOSE");
    scene->saveOnLeave = false;
    scene->deleteSavedGames(!isArcade(), isArcade());
    if (Dialog* hint = scene->getDialog("DIALOG_HINT"))
        scene->forgetDialog(hint);
    s->playSessionInfo.endTime = PlaySessionInfo::currentCalendarTime();
    if (!container)
        return;
    Modifier* step = Modifier::addChild(container, new ModifierLogic(&PhaseEnd::boardIdle, this, this));
    step = Modifier::addChild(step, new ModifierSound(won ? "SOUND_CLEARGRID_WON" : "SOUND_CLEARGRID_LOST", "sounds", true));
    step = Modifier::addChild(step, new ModifierFunction(GuiMethod(this, &PhaseEnd::clearBoard), this));
    step = Modifier::addChild(step, new ModifierLogic(&PhaseEnd::boardSettled, this, this));
    if (pieces.customerView)
        step = pieces.customerView->openHint(step);
    step = Modifier::addChild(step, new ModifierLogic(&PhaseEnd::customerDone, this, this));
    if (pieces.customerView)
        step = pieces.customerView->closeHint(step);
    step = Modifier::addChild(step, new ModifierLogic(&PhaseEnd::hintGone, this, this));
    Modifier::addChild(step, new ModifierFunction(GuiMethod(this, &PhaseEnd::showResults), this));
}

bool PhaseEnd::boardIdle(void* context, int, int, int, int)
{
    GameBoard* board = static_cast<PhaseEnd*>(context)->pieces.board.get();
    return !board || board->allCellsIdle();
}

int PhaseEnd::clearBoard(void* context, BaseObject* /*argument*/)
{
    if (GameBoard* board = static_cast<PhaseEnd*>(context)->pieces.board.get()) {
        board->finishCombo();
        board->clearMatchHint();
        board->dropAllCells();
    }
    return 0;
}

bool PhaseEnd::boardSettled(void* context, int, int, int, int)
{
    GameBoard* board = static_cast<PhaseEnd*>(context)->pieces.board.get();
    return !board || !board->anyCellAnimating();
}

bool PhaseEnd::customerDone(void* context, int, int, int, int ms)
{
    auto* end = static_cast<PhaseEnd*>(context);
    end->endRemaining -= ms;
    if (end->endRemaining < 1)
        end->endRung = true;
    if (end->endInitial > 0 && end->endRung)
        return true;
    return customerHintConfirmed();
}

bool PhaseEnd::hintGone(void* /*context*/, int, int, int, int)
{
    SceneGame* scene = SceneGame::getInstance();
    return !scene || !scene->isDialogShown("DIALOG_CUSTOMERHINT");
}

int PhaseEnd::showResults(void* /*context*/, BaseObject* /*argument*/)
{
    if (SceneGame* scene = SceneGame::getInstance())
        scene->setPhase(RefPointer<Phase>(new PhaseResults()), true);
    return 0;
}

void PhaseEnd::leave()
{
    if (SceneGame* scene = SceneGame::getInstance())
        scene->createLayers();
}

void PhaseResults::enter()
{
    SceneGame* scene = SceneGame::getInstance();
    GameDataState* s = state();
    if (!scene || !s || !GameData::instance)
        return;
    const bool arcade = isArcade();
    Dialog* shown = scene->getOrCreateDialog(std::string(), arcade ? "DIALOG_ARCADE_END" : "DIALOG_LEVEL_END");
    // The results are filled from the profile as it was before this attempt;
    // only then does the profile record it.
    if (auto* levelEnd = objectCast<DialogLevelEnd>(shown))
        levelEnd->showResults(GameData::instance->getCurrentLevel(), s->playSessionInfo, PhaseEnd::isLevelWon());
    if (auto* results = objectCast<DialogTortelune>(shown))
        results->closeCallback = GuiMethod(this, &PhaseResults::onDialogClosed);
    dialog = shown;
    // The arcade results compare against the bests as they were before this run.
    if (auto* arcadeEnd = objectCast<DialogArcadeEnd>(shown))
        DialogArcadeEnd::showResults(arcadeEnd, s->playSessionInfo);
    if (arcade) {
        if (TortelunePlayer* player = currentPlayer()) {
            const int key = s->arcadeManager.getCurrentIndex();
            player->updateArcadeLevel(key, s->playSessionInfo.arcadeLevel);
            player->updateArcadeScore(key, s->playSessionInfo.score);
        }
    } else {
        recordLevel(PhaseEnd::isLevelWon());
    }
    savePlayers();
    if (shown) {
        scene->showDialog(shown);
        return;
    }
    // Without its dialog the level would wait for good: it goes on as if
    // the player had chosen to carry on.
    LOG_WARNING("results: no results dialog; leaving the level");
    restartOrLeave(1);
}

void PhaseResults::recordLevel(bool won)
{
    GameDataState* s = state();
    TortelunePlayer* player = currentPlayer();
    if (!s || !player || !GameData::instance)
        return;
    Level& level = GameData::instance->getCurrentLevel();
    const int index = level.levelIndex;
    const bool exam = GameData::instance->isExamLevel();
    if (won && index > player->highestLevelReached) {
        player->highestLevelReached = index;
        player->newLevelNotice = true;
    } else {
        player->newLevelNotice = false;
    }
    int stars = exam ? 0 : s->playSessionInfo.starCount;
    if (player->levelScore[index] == 0) {
        player->levelTries[index] += 1;
        if (won) {
            if (exam)
                stars = level.starsReward;
            if (index == 0) {
                player->arcadeState[0] = 1;
                player->arcadeSet0Notice = true;
            }
        }
    }
    if (!won)
        return;
    player->updateLevelStars(index, stars);
    player->updateLevelScore(index, s->playSessionInfo.score);
    player->score += s->playSessionInfo.score;
    const int oldRank = player->rank;
    const int newRank = RankTable::getInstance() ? RankTable::getInstance()->getRankForScore(player->score) : oldRank;
    player->rank = newRank;
    for (int step = oldRank; step < newRank; ++step)
        giveRankReward(*player, step);
}

int PhaseResults::onDialogClosed(void* context, BaseObject* argument)
{
    if (auto* levelEnd = argument ? objectCast<DialogLevelEnd>(argument) : nullptr) {
        static_cast<PhaseResults*>(context)->restartOrLeave(levelEnd->result);
        return 0;
    }
    if (auto* arcadeEnd = argument ? objectCast<DialogArcadeEnd>(argument) : nullptr) {
        static_cast<PhaseResults*>(context)->restartOrLeave(arcadeEnd->getResult());
        return 0;
    }
    auto* dialogNode = argument ? objectCast<GameNode>(argument) : nullptr;
    static_cast<PhaseResults*>(context)->restartOrLeave(dialogNode ? dialogNode->getTag() : 1);
    return 0;
}

void PhaseResults::restartOrLeave(int result)
{
    // The new phase replaces this one; it stays alive until the call returns.
    RefPointer<Phase> self(this);
    SceneGame* scene = SceneGame::getInstance();
    GameDataState* s = state();
    if (!scene || !s || !GameData::instance)
        return;
    if (result == 0 && (s->mode == 0 || s->mode == 1)) {
        // Resetting the level also refills the board's cells, once.
        GameData::instance->resetLevel();
        const bool career = isCareerLevel();
        scene->setPhase(RefPointer<Phase>(new PhaseIntro(PhaseIntro::restartFlags(career))), true);
        scene->playGameMusic();
        return;
    }
    scene->leaveGame();
}

void PhaseResults::leave()
{
    SceneGame* scene = SceneGame::getInstance();
    if (!scene)
        return;
    // The arcade results forget themselves when they close.
    for (const char* name : {"DIALOG_RANKUP", "DIALOG_LEVEL_END"})
        if (Dialog* shown = scene->getDialog(name))
            scene->forgetDialog(shown);
}
