// Feeds arbitrary bytes to the reader of the saved board: tag names, cell
// coordinates, counters and truncated lists. A file that does not parse loads
// nothing; whatever parses must give a board of tiles inside its rectangle
// that saves and reads back to the same board.
#include <cstddef>
#include <cstdint>
#include <string>

#include "framework/core/BasicProperties.h"
#include "framework/core/Log.h"
#include "framework/core/PropertyNode.h"
#include "framework/core/PropertyStore.h"
#include "game/board/BoardKeys.h"
#include "game/board/BonusSprite.h"
#include "game/board/GridWrapper.h"
#include "game/data/TuningTable.h"

namespace {

void setUp()
{
    static const bool done = [] {
        setLogLevel(LogLevel::Error);
        setLogEcho(false);
        BasicProperties::createInstance();
        BasicProperties::instance->setInt("GRID_WIDTH", 8);
        BasicProperties::instance->setInt("GRID_HEIGHT", 8);
        BasicProperties::instance->setInt("CELL_WIDTH", 50);
        BasicProperties::instance->setInt("CELL_HEIGHT", 50);
        BasicProperties::instance->setInt("REPLENISH_DELAY", 60);
        loadTuning(*BasicProperties::instance);
        return true;
    }();
    (void)done;
}

// Every tile stands inside the board at its own cell, stands for one to five
// ingredients, and a bonus name is always a bonus.
int checkBoard(const GridWrapper& cells)
{
    const BoardKeys& keys = boardKeys();
    int count = 0;
    cells.forEach([&](int c, int r, CellSprite* tile) {
        if (c < 0 || c >= keys.gridWidth || r < 0 || r >= keys.gridHeight)
            __builtin_trap();
        if (tile->getColumn() != c || tile->getRow() != r)
            __builtin_trap();
        if (tile->getMultiplier() < 1 || tile->getMultiplier() > 5)
            __builtin_trap();
        if (isBonusName(tile->getIngredient()) != tile->isBonus())
            __builtin_trap();
        ++count;
    });
    return count;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    setUp();
    RefPointer<PropertyStore> store(new PropertyStore());
    if (!store->loadFromBuffer(reinterpret_cast<const char*>(data), size, "fuzz input"))
        return 0;
    AbstractProperty* node = store->getChild("gridwrapper");
    GridWrapper cells;
    cells.load(node ? node : store.get());
    const int loaded = checkBoard(cells);

    RefPointer<PropertyStore> saved(new PropertyStore());
    RefPointer<PropertyNode> section(new PropertyNode("gridwrapper", "GridWrapper"));
    cells.save(section.get());
    saved->addChild(section.get());
    const std::string text = saved->toXmlText();

    RefPointer<PropertyStore> reread(new PropertyStore());
    if (!reread->loadFromBuffer(text.data(), text.size(), "saved board"))
        __builtin_trap();
    GridWrapper again;
    again.load(reread->getChild("gridwrapper"));
    if (checkBoard(again) != loaded)
        __builtin_trap();
    RefPointer<PropertyNode> second(new PropertyNode("gridwrapper", "GridWrapper"));
    again.save(second.get());
    RefPointer<PropertyStore> secondStore(new PropertyStore());
    secondStore->addChild(second.get());
    if (secondStore->toXmlText() != text)
        __builtin_trap();
    return 0;
}
