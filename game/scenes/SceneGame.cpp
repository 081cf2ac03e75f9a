#include "framework/core/ObjectFactoryContainer.h"
#include "game/scenes/SceneGame.h"

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
