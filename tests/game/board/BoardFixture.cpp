#include "BoardFixture.h"

#include <cstring>

#include "framework/core/BasicProperties.h"
#include "framework/core/SetupStore.h"
#include "framework/scenegraph/PurgeTask.h"
#include "game/data/TuningTable.h"
#include "support/GameProperties.h"

namespace {
const char* const kLetters = "abcdefgh";
const char* const kNames[] = {"egg", "cream", "strawberry", "biscuit", "chocolate", "cherry", "lemon", "banana"};
} // namespace

void BoardTest::SetUp()
{
    previousFolder = std::filesystem::current_path();
    std::filesystem::current_path(TORTELUNE_SOURCE_DIR);
    ASSERT_TRUE(loadGameProperties(TORTELUNE_SOURCE_DIR));
    data = new GameData();
    data->loadMedia(".");
    GameData::instance = data.get();
    data->state->mode = 0;
    data->state->levelManager.selectLevel(0);
    session().reset();
    session().bonusPlusCounter = 99;
    cells().setRandom(&random);
    host = new FakeBoardHost();
    station = new RecordingStation();
    host->setPastryStation(station.get());
    root = new GameTree();
    setContents({{"egg", 10}, {"cream", 10}, {"strawberry", 10}, {"biscuit", 10}, {"chocolate", 10}});
}

void BoardTest::TearDown()
{
    grid.reset();
    if (data)
        cells().clear();
    root.reset();
    gridNode.reset();
    host.reset();
    GameData::instance = nullptr;
    data.reset();
    SetupStore::destroyInstance();
    BasicProperties::destroyInstance();
    resetTuning();
    std::filesystem::current_path(previousFolder);
}

void BoardTest::buildGrid(int gridX, int gridY)
{
    gridNode = new GameNode("NODE_GRID");
    gridNode->setPosition(gridX, gridY);
    GameNode::addChild(root.get(), gridNode.get());
    grid = new Grid(gridNode.get(), host.get(), &cells());
    grid->attachCells();
}

void BoardTest::setContents(const std::vector<std::pair<std::string, int>>& contents)
{
    Level& level = data->getCurrentLevel();
    level.ingredients.clear();
    for (const auto& [name, weight] : contents) {
        LevelIngredient entry;
        entry.name = name;
        entry.distribution = weight;
        level.ingredients.push_back(entry);
    }
    level.percentX3 = 0.0f;
    level.percentX5 = 0.0f;
}

std::string BoardTest::nameOf(char letter)
{
    if (letter == '*')
        return "row zap bonus";
    const char* found = std::strchr(kLetters, letter);
    return found && letter ? kNames[found - kLetters] : std::string();
}

void BoardTest::setBoard(const std::vector<std::string>& rows)
{
    cells().clear();
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        for (int c = 0; c < static_cast<int>(rows[r].size()); ++c) {
            const std::string name = nameOf(rows[r][c]);
            if (name.empty())
                continue;
            if (rows[r][c] == '*')
                cells().createCell(c, r, name, true);
            else
                cells().putCell(new CellSprite(c, r, name, false, 1), c, r);
        }
    }
    if (grid)
        grid->attachCells();
}

::testing::AssertionResult BoardTest::tilesAt(std::initializer_list<std::pair<int, int>> places)
{
    std::string missing;
    for (const auto& [column, row] : places) {
        if (!cells().cellAt(column, row))
            missing += " (" + std::to_string(column) + ", " + std::to_string(row) + ")";
    }
    if (missing.empty())
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "no tile at" << missing;
}

std::vector<std::string> BoardTest::boardRows() const
{
    std::vector<std::string> rows;
    GridWrapper& model = const_cast<BoardTest*>(this)->cells();
    for (int r = 0; r < boardKeys().gridHeight; ++r) {
        std::string line;
        for (int c = 0; c < boardKeys().gridWidth; ++c) {
            const RefPointer<CellSprite>& tile = model.cellAt(c, r);
            char letter = '.';
            if (tile) {
                letter = tile->isBonus() ? '*' : '?';
                for (int i = 0; i < 8; ++i)
                    if (tile->getIngredient() == kNames[i])
                        letter = kLetters[i];
            }
            line += letter;
        }
        rows.push_back(line);
    }
    return rows;
}

void BoardTest::frame(int ms)
{
    Modifier::updateTree(host->animTree.get(), ms);
    PurgeTask purge(root.get(), host->animTree.get());
    purge.run(ms);
    if (grid)
        grid->getController()->run(ms);
}

bool BoardTest::runToRest(int limit, int frameMs)
{
    for (int i = 0; i < limit; ++i) {
        frame(frameMs);
        if (grid->isFull() && grid->allCellsIdle() && !grid->hasMatch() && !grid->hasFallingGap() &&
            spawnRowEmpty() && !grid->anyCellAnimating())
            return true;
    }
    return false;
}

bool BoardTest::spawnRowEmpty()
{
    for (int c = 0; c < boardKeys().gridWidth; ++c)
        if (!cells().isEmpty(c, -1))
            return false;
    return true;
}

int BoardTest::cellWidth() const
{
    return boardKeys().cellWidth;
}

int BoardTest::cellHeight() const
{
    return boardKeys().cellHeight;
}

int BoardTest::screenX(int column) const
{
    return gridNode->getX() + column * cellWidth() + cellWidth() / 2;
}

int BoardTest::screenY(int row) const
{
    // A tile hangs upward from its anchor at the bottom of its place.
    return gridNode->getY() + row * cellHeight() - cellHeight() / 2;
}
