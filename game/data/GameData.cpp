#include "game/data/GameData.h"

#include "framework/core/Log.h"
#include "framework/core/PropertyNode.h"
#include "framework/core/Random.h"
#include "framework/players/PropertyAccess.h"

GameData* GameData::instance = nullptr;

namespace {
constexpr int64_t kMaxOrderedPastries = 10000;
}

GameData* GameData::create()
{
    if (instance)
        return instance;
    GameData* data = new GameData();
    data->addRef();
    instance = data;
    data->loadMedia();
    return instance;
}

void GameData::destroyInstance()
{
    releaseGlobalInstance(instance);
}

GameData::GameData() : state(new GameDataState()) {}

GameData::~GameData()
{
    if (instance == this)
        instance = nullptr;
    delete state;
}

void GameData::loadMedia(const std::string& mediaFolder)
{
    const std::string levels = mediaFolder + "/media/levels/";
    state->cookbook.load(levels + "cookbook.xml");
    state->customerBook.load(levels + "customerbook.xml");
    state->ingredientBook.load(levels + "ingredientbook.xml");
    state->levelManager.loadList(levels + "levels.xml", &state->cookbook, &state->ingredientBook,
                                 &state->customerBook);
    state->arcadeManager.loadList(levels + "arcade_levels.xml", &state->cookbook, &state->ingredientBook,
                                  &state->customerBook);
    state->mode = 0;
}

Level& GameData::getCurrentLevel()
{
    return state->mode == 1 ? state->arcadeManager.getLevel() : state->levelManager.getLevel();
}

bool GameData::isExamLevel() const
{
    if (state->mode != 0)
        return false;
    const std::string& theme = state->levelManager.getLevel().themeName;
    return theme == "exam1" || theme == "exam2" || theme == "exam3";
}

void GameData::startLevel(int index)
{
    if (state->mode == 1)
        state->arcadeManager.selectLevel(index);
    else if (state->mode == 0)
        state->levelManager.selectLevel(index);
    resetLevel();
}

void GameData::resetLevel()
{
    state->playSessionInfo.reset();
    state->pastryWrapper.clear();
    state->bonusMeter.reset();
    state->conveyorBelt.reset();
    if (state->mode == 1 || isExamLevel()) {
        fillExamOrders();
    } else if (state->mode == 0) {
        state->order.clear();
        state->order.addPastries(getCurrentLevel().recipes);
        shuffleOrder();
    }
    if (state->mode == 1)
        state->playSessionInfo.starCount = static_cast<int32_t>(state->order.size());
    state->gridWrapper.fill();
    state->levelOver = false;
}

void GameData::fillExamOrders()
{
    state->order.clear();
    const Level& level = getCurrentLevel();
    const int64_t recipeCount = static_cast<int64_t>(level.recipes.size());
    // A level without recipes has nothing to serve.
    if (recipeCount == 0)
        return;
    int64_t count = static_cast<int64_t>(level.pastriesStart) +
                    static_cast<int64_t>(state->playSessionInfo.arcadeLevel) * level.pastriesDelta;
    // A damaged saved wave counter must not order millions of pastries.
    if (count > kMaxOrderedPastries) {
        LOG_WARNING("Wave of " + std::to_string(count) + " pastries capped");
        count = kMaxOrderedPastries;
    }
    // Whole rounds of every recipe, then the first `count` of one more round.
    for (int64_t rounds = count > 0 ? count / recipeCount : 0; rounds > 0; --rounds)
        state->order.addPastries(level.recipes);
    count = count > 0 ? count % recipeCount : 0;
    for (int64_t i = 0; i < count; ++i)
        state->order.addPastry(level.recipes[static_cast<size_t>(i)]);
    shuffleOrder();
}

CRuntimeRandom& GameData::shuffler()
{
    return shuffleGenerator ? *shuffleGenerator : CRuntimeRandom::global();
}

void GameData::shuffleOrder()
{
    if (!state->order.isEmpty())
        state->order.shuffle(shuffler());
}

namespace {

PropertyNode* addSection(PropertyNode* node, const char* key, const char* typeName)
{
    RefPointer<PropertyNode> section(new PropertyNode(key, typeName));
    node->addChild(section.get());
    return section.get();
}

} // namespace

void GameData::saveGame(PropertyNode* node)
{
    if (state->levelOver)
        return;
    node = nodeOrDummy(node);
    state->conveyorBelt.save(addSection(node, "conveyorbelt", "ConveyorBelt"));
    state->gridWrapper.save(addSection(node, "gridwrapper", "GridWrapper"));
    state->levelManager.save(addSection(node, "levelmanager", "LevelManager"));
    state->arcadeManager.save(addSection(node, "arcadelevelmanager", "ArcadeManager"));
    state->order.save(addSection(node, "order", "Order"));
    state->playSessionInfo.save(addSection(node, "playsessioninfo", "PlaySessionInfo"));
    state->pastryWrapper.save(addSection(node, "pastrywrapper", "PastryWrapper"));
    state->bonusMeter.save(addSection(node, "bonusmeter", "BonusMeter"));
}

void GameData::loadGame(AbstractProperty* node)
{
    state->conveyorBelt.load(childNode(node, "conveyorbelt"), state->cookbook);
    state->gridWrapper.load(childNode(node, "gridwrapper"));
    state->levelManager.restore(childNode(node, "levelmanager"));
    state->arcadeManager.restore(childNode(node, "arcadelevelmanager"));
    state->order.load(childNode(node, "order"), state->cookbook);
    state->playSessionInfo.load(childNode(node, "playsessioninfo"));
    // The countertop of another player's or level's game must not show
    // through the places this saved game leaves free.
    state->pastryWrapper.clear();
    state->pastryWrapper.load(childNode(node, "pastrywrapper"), state->cookbook);
    state->bonusMeter.load(childNode(node, "bonusmeter"));
    state->levelOver = false;
}

bool hasChild(AbstractProperty* node, const std::string& name)
{
    return hasChildNamed(node, name);
}
