#include "game/board/BoardKeys.h"

#include "framework/core/Log.h"
#include "framework/players/PlayerManager.h"
#include "game/data/GameData.h"
#include "game/data/TortelunePlayer.h"
#include "game/data/TuningTable.h"

namespace {

struct RawKeys {
    int gridWidth, gridHeight, cellWidth, cellHeight, replenishDelay;
    bool operator==(const RawKeys& o) const
    {
        return gridWidth == o.gridWidth && gridHeight == o.gridHeight && cellWidth == o.cellWidth &&
               cellHeight == o.cellHeight && replenishDelay == o.replenishDelay;
    }
};

int checked(const char* key, int value, int fallback)
{
    if (value > 0)
        return value;
    LOG_ERROR(std::string("board key ") + key + " is " + std::to_string(value) + "; using " +
              std::to_string(fallback));
    return fallback;
}

} // namespace

const BoardKeys& boardKeys()
{
    static BoardKeys keys;
    static RawKeys last {-1, -1, -1, -1, -1};
    const TuningTable& t = tuning();
    const RawKeys raw {t.GRID_WIDTH, t.GRID_HEIGHT, t.CELL_WIDTH, t.CELL_HEIGHT, t.REPLENISH_DELAY};
    if (!(raw == last)) {
        last = raw;
        keys.gridWidth = checked("GRID_WIDTH", raw.gridWidth, 8);
        keys.gridHeight = checked("GRID_HEIGHT", raw.gridHeight, 8);
        keys.cellWidth = checked("CELL_WIDTH", raw.cellWidth, 50);
        keys.cellHeight = checked("CELL_HEIGHT", raw.cellHeight, 50);
        keys.replenishDelay = checked("REPLENISH_DELAY", raw.replenishDelay, 60);
    }
    return keys;
}

GameDataState* boardState()
{
    return GameData::instance ? GameData::instance->state : nullptr;
}

float boardSpeed()
{
    GameDataState* state = boardState();
    return state ? state->playSessionInfo.getAnimationSpeedMultiplier() : 1.0f;
}

int scaledDuration(int ms)
{
    float factor = 2.0f - boardSpeed();
    if (factor < 0.0f)
        factor = 0.0f;
    return static_cast<int>(static_cast<float>(ms) * factor);
}

bool isCareerPlay()
{
    GameDataState* state = boardState();
    return state && state->mode == 0 && !GameData::instance->isExamLevel();
}

bool isArcadeLook()
{
    GameDataState* state = boardState();
    return state && (state->mode == 1 || GameData::instance->isExamLevel());
}

TortelunePlayer* boardPlayer()
{
    PlayerManager* players = PlayerManager::getInstance();
    return players ? objectCast<TortelunePlayer>(players->getCurrentPlayer()) : nullptr;
}

std::string ingredientWord(const std::string& name)
{
    GameDataState* state = boardState();
    if (!state)
        return name;
    const IngredientBook::Entry* entry = state->ingredientBook.find(name);
    return entry && !entry->id.empty() ? entry->id : name;
}
