#include "game/board/GameBoard.h"

#include "framework/core/Log.h"

// Until the grid lands there is no real board to build.
RefPointer<GameBoard> GameBoard::create(GameNode* /*gridNode*/)
{
    LOG_ERROR("the match-three board is not built yet");
    return {};
}
