// Feeds arbitrary bytes to the readers of a saved level in progress and of the
// players file. The first byte picks the reader (bit 0: players file) and
// whether the rest is enciphered as on disk (bit 1). A file that does not
// parse is corrupt and loads nothing; whatever parses must load, save and
// print again without a fault.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "framework/core/BasicProperties.h"
#include "framework/core/Log.h"
#include "framework/core/PropertyStore.h"
#include "framework/players/PlayerManager.h"
#include "framework/resources/FileCipher.h"
#include "game/data/GameData.h"
#include "game/data/TuningTable.h"

namespace {

const char* const kCookbook = R"(<root><Vector id="recipes">
    <Recipe id="TART"><Vector id="ingredients"><Entry name="APPLE" amount="3"/><Entry name="FLOUR" amount="2"/>
    </Vector><Quality id="quality" value="0.5"/></Recipe>
    <Recipe id="PIE"><Vector id="ingredients"><Entry name="CHERRY" amount="2"/></Vector></Recipe>
</Vector></root>)";

GameData& gameData()
{
    static GameData* data = [] {
        setLogLevel(LogLevel::Error);
        setLogEcho(false);
        BasicProperties::createInstance();
        BasicProperties::instance->setInt("COUNTERTOP_SIZE", 5);
        BasicProperties::instance->setInt("MAX_INGREDIENT_COUNT", 4);
        BasicProperties::instance->setInt("BONUS_MAX", 100);
        loadTuning(*BasicProperties::instance);
        GameData* created = new GameData();
        created->addRef();
        RefPointer<PropertyStore> cookbook(new PropertyStore());
        cookbook->loadFromBuffer(kCookbook, std::char_traits<char>::length(kCookbook));
        created->state->cookbook.parse(cookbook.get());
        GameData::instance = created;
        return created;
    }();
    return *data;
}

void fuzzSavedGame(PropertyStore& store)
{
    GameData& data = gameData();
    data.loadGame(store.getChild("savegame"));
    RefPointer<PropertyStore> again(new PropertyStore());
    RefPointer<PropertyNode> node(new PropertyNode("savegame", "SaveGame"));
    data.saveGame(node.get());
    again->addChild(node.get());
    (void)again->toXmlText();
    data.resetLevel();
}

void fuzzPlayersFile(PropertyStore& store)
{
    gameData(); // the profiles read tuning values and the global properties
    RefPointer<PlayerManager> manager(new PlayerManager(false, "1.0"));
    manager->loadFromNode(store.getNode("players"));
    for (const RefPointer<AbstractPlayer>& player : manager->getPlayers())
        (void)manager->playerExists(player->getName());
    RefPointer<PropertyStore> again(new PropertyStore());
    RefPointer<PropertyNode> node(new PropertyNode("players", "Players"));
    manager->saveToNode(node.get());
    again->addChild(node.get());
    (void)again->toXmlText();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    const uint8_t selector = data[0];
    std::vector<char> bytes(data + 1, data + size);
    if (selector & 2)
        applyFileCipher(bytes.data(), bytes.size());
    RefPointer<PropertyStore> store(new PropertyStore());
    if (!store->loadFromBuffer(bytes.data(), bytes.size(), "fuzz input"))
        return 0; // corrupt: nothing is loaded
    if (selector & 1)
        fuzzPlayersFile(*store);
    else
        fuzzSavedGame(*store);
    return 0;
}
