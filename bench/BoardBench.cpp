// The match-three board on its real 8 x 8 size and keys: the match search and
// the move search (hint swap, long-run swap, stuck test) on a full board, and one whole move (a swap that makes a run, the removal, the
// falls and refills, cascades included) played to rest with 20 ms frames.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

#include "framework/core/BasicProperties.h"
#include "framework/core/Random.h"
#include "framework/core/SetupStore.h"
#include "framework/platform/iInputListenerContainer.h"
#include "framework/scenegraph/PurgeTask.h"
#include "game/board/BoardHost.h"
#include "game/board/BoardKeys.h"
#include "game/board/Grid.h"
#include "game/board/GridController.h"
#include "game/board/GridWrapper.h"
#include "game/data/GameData.h"
#include "game/data/TuningTable.h"

namespace {

class BenchHost : public BoardHost {
public:
    Modifier* getAnimationRoot() override { return animTree.get(); }
    bool isInputBlocked() const override { return false; }
    bool isPlaying() const override { return true; }
    PastryStation* getPastryStation() override { return nullptr; }
    iInputListenerContainer* getInputListeners() override { return &listeners; }
    TaskManager* getTaskManager() override { return nullptr; }
    void playSound(const std::string&) override {}
    RefPointer<AnimTree> animTree {new AnimTree()};
    iInputListenerContainer listeners;
};

// The game's data and a board on a scene tree, built once.
struct Board {
    Board()
    {
        std::filesystem::current_path(TORTELUNE_SOURCE_DIR);
        BasicProperties::createInstance();
        SetupStore::createInstance();
        SetupStore::instance->setLoadListener(new TuningLoader());
        for (const char* file : kGamePropertyFiles)
            SetupStore::instance->addFileName(std::string(TORTELUNE_SOURCE_DIR) + "/" + file);
        SetupStore::instance->load();
        data = new GameData();
        data->loadMedia(".");
        GameData::instance = data.get();
        data->state->levelManager.selectLevel(0);
        data->state->playSessionInfo.bonusPlusCounter = 1 << 30;
        data->state->gridWrapper.setRandom(&random);
        Level& level = data->getCurrentLevel();
        level.ingredients.clear();
        for (const char* name : {"egg", "cream", "strawberry", "biscuit", "chocolate", "lemon"}) {
            LevelIngredient entry;
            entry.name = name;
            entry.distribution = 10;
            level.ingredients.push_back(entry);
        }
        host = new BenchHost();
        root = new GameTree();
        gridNode = new GameNode("NODE_GRID");
        gridNode->setPosition(200, 150);
        GameNode::addChild(root.get(), gridNode.get());
        cells().fill();
        grid = new Grid(gridNode.get(), host.get(), &cells());
        grid->attachCells();
    }
    GridWrapper& cells() { return data->state->gridWrapper; }
    void frame(int ms)
    {
        Modifier::updateTree(host->animTree.get(), ms);
        PurgeTask purge(root.get(), host->animTree.get());
        purge.run(ms);
        grid->getController()->run(ms);
    }
    bool atRest()
    {
        for (int c = 0; c < boardKeys().gridWidth; ++c)
            if (!cells().isEmpty(c, -1))
                return false;
        return grid->isFull() && grid->allCellsIdle() && !grid->hasMatch() && !grid->anyCellAnimating();
    }
    // A swap that makes a run, or false on a stuck board.
    bool findSwap(int& c1, int& r1, int& c2, int& r2)
    {
        for (int c = 0; c < boardKeys().gridWidth; ++c) {
            for (int r = 0; r < boardKeys().gridHeight; ++r) {
                if (c + 1 < boardKeys().gridWidth && grid->isValidSwap(c, r, c + 1, r)) {
                    c1 = c, r1 = r, c2 = c + 1, r2 = r;
                    return true;
                }
                if (r + 1 < boardKeys().gridHeight && grid->isValidSwap(c, r, c, r + 1)) {
                    c1 = c, r1 = r, c2 = c, r2 = r + 1;
                    return true;
                }
            }
        }
        return false;
    }

    Random random {2024};
    RefPointer<GameData> data;
    RefPointer<BenchHost> host;
    RefPointer<GameTree> root;
    RefPointer<GameNode> gridNode;
    RefPointer<Grid> grid;
};

Board& board()
{
    static Board* instance = new Board();
    return *instance;
}

void BM_HasMatch(benchmark::State& state)
{
    Board& b = board();
    for (auto _ : state)
        benchmark::DoNotOptimize(b.grid->hasMatch());
}
BENCHMARK(BM_HasMatch)->Unit(benchmark::kMicrosecond);

void BM_FindMatches(benchmark::State& state)
{
    Board& b = board();
    for (auto _ : state)
        benchmark::DoNotOptimize(b.grid->findMatches());
}
BENCHMARK(BM_FindMatches)->Unit(benchmark::kMicrosecond);

// The same search on a board with a T of five and two runs of three.
void BM_FindMatchesWithRuns(benchmark::State& state)
{
    Board& b = board();
    std::vector<RefPointer<CellSprite>> kept;
    const char* rows[] = {"aaab", "cadc", "bacd"};
    const char* names[] = {"egg", "cream", "strawberry", "biscuit"};
    GridWrapper& cells = b.cells();
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 4; ++c) {
            kept.push_back(cells.getCell(c, r));
            cells.eraseCell(c, r);
            cells.putCell(new CellSprite(c, r, names[rows[r][c] - 'a'], false, 1), c, r);
        }
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(b.grid->findMatches());
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 4; ++c) {
            cells.eraseCell(c, r);
            cells.insertCell(c, r, kept[static_cast<size_t>(r * 4 + c)]);
        }
    }
}
BENCHMARK(BM_FindMatchesWithRuns)->Unit(benchmark::kMicrosecond);

void BM_FindSwap(benchmark::State& state)
{
    Board& b = board();
    int c1, r1, c2, r2;
    for (auto _ : state)
        benchmark::DoNotOptimize(b.cells().findSwap(c1, r1, c2, r2));
}
BENCHMARK(BM_FindSwap)->Unit(benchmark::kMicrosecond);

void BM_FindLongRunSwap(benchmark::State& state)
{
    Board& b = board();
    int c1, r1, c2, r2;
    for (auto _ : state)
        benchmark::DoNotOptimize(b.cells().findLongRunSwap(c1, r1, c2, r2));
}
BENCHMARK(BM_FindLongRunSwap)->Unit(benchmark::kMicrosecond);

// The stuck test on the full board, and on a stuck one (it reads every window).
void BM_IsBoardStuck(benchmark::State& state)
{
    Board& b = board();
    GridWrapper& cells = b.cells();
    std::vector<RefPointer<CellSprite>> kept;
    const bool stuck = state.range(0) != 0;
    if (stuck) {
        const char* names[] = {"egg", "cream", "strawberry", "biscuit"};
        for (int r = 0; r < boardKeys().gridHeight; ++r) {
            for (int c = 0; c < boardKeys().gridWidth; ++c) {
                kept.push_back(cells.getCell(c, r));
                cells.eraseCell(c, r);
                cells.putCell(new CellSprite(c, r, names[(r % 2) * 2 + c % 2], false, 1), c, r);
            }
        }
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(cells.isBoardStuck());
    state.counters["stuck"] = cells.isBoardStuck() ? 1 : 0;
    for (size_t i = 0; i < kept.size(); ++i) {
        const int r = static_cast<int>(i) / boardKeys().gridWidth;
        const int c = static_cast<int>(i) % boardKeys().gridWidth;
        cells.eraseCell(c, r);
        cells.insertCell(c, r, kept[i]);
    }
}
BENCHMARK(BM_IsBoardStuck)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_WholeMove(benchmark::State& state)
{
    Board& b = board();
    int frames = 0;
    for (auto _ : state) {
        int c1, r1, c2, r2;
        if (!b.findSwap(c1, r1, c2, r2)) {
            state.PauseTiming();
            b.cells().fill();
            b.grid->attachCells();
            state.ResumeTiming();
            continue;
        }
        const BoardKeys& keys = boardKeys();
        GridController& controller = *b.grid->getController();
        controller.onLeftDown(200 + c1 * keys.cellWidth + 5, 150 + r1 * keys.cellHeight - 5, 1, false);
        controller.onLeftDown(200 + c2 * keys.cellWidth + 5, 150 + r2 * keys.cellHeight - 5, 1, false);
        for (int i = 0; i < 1000; ++i) {
            b.frame(20);
            ++frames;
            if (b.atRest())
                break;
        }
    }
    state.counters["frames/move"] = benchmark::Counter(frames, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_WholeMove)->Unit(benchmark::kMicrosecond);

} // namespace
