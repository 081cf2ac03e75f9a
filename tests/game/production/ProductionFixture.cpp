#include "ProductionFixture.h"

#include "framework/core/BasicProperties.h"
#include "framework/core/PropertyNode.h"
#include "framework/core/SetupStore.h"
#include <chrono>
#include <thread>

#include "framework/gui/Dialog.h"
#include "framework/players/PlayerManager.h"
#include "framework/resources/ResourceManager.h"
#include "framework/platform/TimedTaskManager.h"
#include "game/data/GameData.h"
#include "game/data/RankTable.h"
#include "game/data/ToolCatalog.h"
#include "game/data/TortelunePlayer.h"
#include "game/data/TuningTable.h"
#include "game/production/Countertop.h"
#include "game/production/Phase.h"
#include "game/production/PhasePlay.h"
#include "game/scenes/HintManager.h"
#include "support/GameProperties.h"

void ProductionTest::SetUp()
{
    previousFolder = std::filesystem::current_path();
    std::filesystem::current_path(TORTELUNE_SOURCE_DIR);
    previousObserver = setLogObserver([this](LogLevel level, const std::string& line) {
        if (level == LogLevel::Error || level == LogLevel::Warning)
            problems.push_back(line);
    });
    ASSERT_TRUE(loadGameProperties());
    GameData::create();
    RankTable::create();
    HintManager::create();
    PlayerManager::create(false, "1");
    player = new TortelunePlayer("Tester");
    PlayerManager::getInstance()->addPlayer(player);
    PlayerManager::getInstance()->selectPlayer("Tester");
    ToolCatalog::create();
    TimedTaskManager::create(&clock);
    if (withMedia) {
        ResourceManager::create();
        ResourceManager::instance->addResourceFile("media/properties/resources.xml");
        ASSERT_TRUE(ResourceManager::instance->loadResourceFiles());
        ResourceManager::instance->setLoadingEnabled(true);
        for (const char* section : {"default", "dialogs", "scenegame", "tools"})
            ResourceManager::instance->requestSection(section);
        for (int wait = 0; wait < 3000 && ResourceManager::instance->hasPendingRequests(); ++wait)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        ASSERT_FALSE(ResourceManager::instance->hasPendingRequests());
    }
    scene = new TestGameScene(SetupStore::instance->findScene("SCENE_GAME"));
    scene->loadContent();
    // As its first show would: a show that found it unloaded would lay a
    // second copy of the layout over the first.
    scene->setState(Scene::Loaded);
}

void ProductionTest::TearDown()
{
    if (scene)
        scene->leavePhase();
    scene = nullptr;
    TimedTaskManager::destroyInstance();
    ToolCatalog::destroyInstance();
    if (withMedia)
        ResourceManager::destroyInstance();
    PlayerManager::destroyInstance();
    HintManager::destroyInstance();
    RankTable::destroyInstance();
    GameData::destroyInstance();
    SetupStore::destroyInstance();
    BasicProperties::destroyInstance();
    resetTuning();
    setLogObserver(previousObserver);
    std::filesystem::current_path(previousFolder);
}

void ProductionTest::frame(int ms)
{
    if (answerCustomerHints) {
        if (Dialog* hint = scene->getDialog("DIALOG_CUSTOMERHINT"))
            hint->onLeftDown(hint->getX() + hint->getWidth() / 2, hint->getY() + hint->getHeight() / 2, 0, false);
    }
    clock.sleep(static_cast<uint32_t>(ms));
    scene->update(ms);
    scene->getMoveTask()->run(ms);
    scene->getPurgeTask()->run(ms);
    TimedTaskManager::instance->run(ms);
}

void ProductionTest::frames(int count, int ms)
{
    for (int i = 0; i < count; ++i)
        frame(ms);
}

void ProductionTest::startCareerLevel(int index)
{
    state().mode = 0;
    GameData::instance->startLevel(index);
    scene->startLevel();
    ASSERT_TRUE(runUntil([this] { return dynamic_cast<PhasePlay*>(phase()) != nullptr; }));
}

int ProductionTest::selectFirstExam()
{
    state().mode = 0;
    for (int index = 0; index < state().levelManager.getLevelCount(); ++index) {
        state().levelManager.selectLevel(index);
        if (GameData::instance->isExamLevel())
            return index;
    }
    return -1;
}

Countertop* ProductionTest::countertop() const
{
    return dynamic_cast<Countertop*>(scene->getPastryStation());
}

Phase* ProductionTest::phase() const
{
    return scene->getPhase().get();
}

GameDataState& ProductionTest::state() const
{
    return *GameData::instance->state;
}

GameNode* ProductionTest::node(const std::string& name) const
{
    return scene->getComponent(name);
}

GameNode* ProductionTest::spotChild(int spot, const std::string& name) const
{
    return countertop()->getSpotChild(spot, name);
}

void ProductionTest::placePastry(int spot, const std::string& recipe)
{
    Recipe* found = state().cookbook.findRecipe(recipe);
    ASSERT_NE(nullptr, found) << recipe;
    state().pastryWrapper.set(spot, RefPointer<Pastry>(new Pastry(found)));
}
