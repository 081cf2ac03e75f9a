#include "game/board/GameBoard.h"

#include "framework/core/Log.h"
#include "framework/gui/SceneManager.h"
#include "game/board/Grid.h"
#include "game/board/SceneBoardHost.h"
#include "game/data/GameData.h"
#include "game/scenes/SceneGame.h"

RefPointer<GameBoard> GameBoard::create(GameNode* gridNode)
{
    SceneGame* scene = SceneGame::getInstance();
    if (!scene && SceneManager::instance)
        scene = objectCast<SceneGame>(SceneManager::instance->getCurrentScene());
    if (!gridNode || !scene || !GameData::instance) {
        LOG_ERROR("the board needs the game scene, its grid node and the game data");
        return {};
    }
    RefPointer<BoardHost> host(new SceneBoardHost(scene));
    return RefPointer<GameBoard>(new Grid(gridNode, host.get(), &GameData::instance->state->gridWrapper));
}
