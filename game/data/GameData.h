#pragma once

#include <string>

#include "framework/core/BaseObject.h"
#include "game/board/GridWrapper.h"
#include "game/data/Cookbook.h"
#include "game/data/CustomerBook.h"
#include "game/data/IngredientBook.h"
#include "game/data/LevelManager.h"
#include "game/data/ScoreTable.h"
#include "game/production/BonusMeter.h"
#include "game/production/ConveyorBelt.h"
#include "game/production/Order.h"
#include "game/production/PastryWrapper.h"
#include "game/production/PlaySessionInfo.h"

class AbstractProperty;
class CRuntimeRandom;
class PropertyNode;

// Everything the game knows about its levels and the state of the level
// being played, held by value in construction order.
struct GameDataState {
    Cookbook cookbook;
    CustomerBook customerBook;
    IngredientBook ingredientBook;
    ScoreTable scoreTable;
    LevelManager arcadeManager;
    ConveyorBelt conveyorBelt;
    GridWrapper gridWrapper;
    LevelManager levelManager;
    Order order;
    PastryWrapper pastryWrapper;
    PlaySessionInfo playSessionInfo;
    BonusMeter bonusMeter;
    // 0 career (exam levels included), 1 arcade.
    int32_t mode = 0;
    // Set by the play session when the level has ended; nothing is saved then.
    bool levelOver = false;
};

// The game-data singleton: owns the books, the two level lists and the
// per-game state, and saves and restores a level in progress.
class GameData : public BaseObject {
public:
    static GameData* instance;

    // Loads the books and lists from the game's media files and keeps the
    // instance with one reference. Call after the tuning table is filled.
    static GameData* create();
    // Releases the instance.
    static void destroyInstance();

    // Empty books and lists; loadMedia fills them.
    GameData();
    ~GameData() override;

    // Books first: a level list parses its first level against them.
    void loadMedia(const std::string& mediaFolder = ".");

    Level& getCurrentLevel();
    bool isExamLevel() const;
    void startLevel(int index);
    void resetLevel();
    void fillExamOrders();
    // The running level is over (the play phase ends it).
    void setLevelOver() { state->levelOver = true; }
    // Writes the eight child nodes of a level in progress; nothing once the
    // level is over.
    void saveGame(PropertyNode* node);
    void loadGame(AbstractProperty* node);

    // The generator the order shuffles draw from (the process-wide one by default).
    void setShuffleGenerator(CRuntimeRandom* generator) { shuffleGenerator = generator; }

    GameDataState* state = nullptr;

private:
    CRuntimeRandom& shuffler();
    void shuffleOrder();

    CRuntimeRandom* shuffleGenerator = nullptr;
};

// True when `node` is a node with a direct child of that name.
bool hasChild(AbstractProperty* node, const std::string& name);
