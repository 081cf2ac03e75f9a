#include "framework/core/ObjectFactoryContainer.h"
#include "game/scenes/SceneGame.h"

#include "game/data/GameData.h"
#include "game/dialogs/DialogTortelune.h"

TT_DEFINE_RECORD(SceneGame, &SceneTortelune::classRecord);
TT_REGISTER_CLASS(SceneGame);

SceneGame::SceneGame(AbstractProperty* configuration) : SceneTortelune(configuration) {}

void SceneGame::saveRunningGame() {}

void SceneGame::leavePhase() {}

int SceneGame::resumeAfterQuitQuestion(void* context, BaseObject* /*button*/)
{
    auto* scene = static_cast<SceneGame*>(context);
    if (auto* question = objectCast<DialogTortelune>(scene->getDialog("CTEXT_QUESTION_QUIT")))
        question->close();
    ++scene->quitDeclined;
    return 0;
}

void SceneGame::leaveGame()
{
    saveOnLeave = false;
    if (GameData::instance && GameData::instance->state && GameData::instance->state->mode == 1)
        switchTo({"scenearcade"}, "TRANSITION_DEFAULT", "SCENE_ARCADE");
    else
        switchTo({"scenemap"}, "TRANSITION_DEFAULT", "SCENE_MAP");
}

int SceneGame::leaveFromMenu(void* context, BaseObject* /*button*/)
{
    auto* scene = static_cast<SceneGame*>(context);
    if (scene->saveOnLeave)
        scene->saveRunningGame();
    scene->leaveGame();
    return 0;
}

int SceneGame::requestResume(void* context, BaseObject* /*dialog*/)
{
    static_cast<SceneGame*>(context)->resumeRequested = true;
    return 0;
}
