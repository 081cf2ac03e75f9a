// The cell model's move search: which swap to hint, and whether any move is left.

#include <algorithm>
#include <cstdlib>
#include <string>

#include "framework/core/Random.h"
#include "game/board/BoardKeys.h"
#include "game/board/GridWrapper.h"

namespace {

// Maps a window's (along, across) places to board cells: rows run along the
// columns, columns along the rows.
struct Orientation {
    bool rows;
    int column(int along, int across) const { return rows ? along : across; }
    int row(int along, int across) const { return rows ? across : along; }
};

bool pickOne(const std::vector<SwapMove>& found, Random& random, int& c1, int& r1, int& c2, int& r2)
{
    if (found.empty())
        return false;
    const int n = static_cast<int>(found.size());
    int index = random.next() % n;
    if (index < 0)
        index += n;
    const SwapMove& move = found[static_cast<size_t>(index)];
    c1 = move.c1;
    r1 = move.r1;
    c2 = move.c2;
    r2 = move.r2;
    return true;
}

} // namespace

std::vector<SwapMove> GridWrapper::collectSwaps() const
{
    const BoardKeys& keys = boardKeys();
    std::vector<SwapMove> found;
    // A window of three whose places all count, and the one place in it
    // that needs the odd tile; every neighbour holding the name is a candidate.
    auto window = [&](Orientation o, int along, int across) {
        const CellSprite* t[3];
        for (int i = 0; i < 3; ++i) {
            const RefPointer<CellSprite>& tile = cellAt(o.column(along + i, across), o.row(along + i, across));
            if (!tile || tile->getState() != CellSprite::Idle || tile->isBonus())
                return;
            t[i] = tile.get();
        }
        const std::string& a = t[0]->getIngredient();
        const std::string& b = t[1]->getIngredient();
        const std::string& c = t[2]->getIngredient();
        auto holds = [&](int al, int ac, const std::string& name) {
            return holdsPlainIngredient(o.column(al, ac), o.row(al, ac), name);
        };
        auto add = [&](int fromAlong, int fromAcross, int toAlong, int toAcross) {
            found.push_back({o.column(fromAlong, fromAcross), o.row(fromAlong, fromAcross), o.column(toAlong, toAcross),
                             o.row(toAlong, toAcross)});
        };
        if (a == b) {
            const int need = along + 2;
            if (holds(need, across - 1, a))
                add(need, across - 1, need, across);
            if (holds(need, across + 1, a))
                add(need, across + 1, need, across);
            if (holds(along + 3, across, a))
                add(along + 3, across, need, across);
        } else if (a == c) {
            const int need = along + 1;
            if (holds(need, across - 1, a))
                add(need, across - 1, need, across);
            if (holds(need, across + 1, a))
                add(need, across + 1, need, across);
            if (holds(along + 3, across, a))
                add(along, across, need, across);
        } else if (b == c) {
            if (holds(along, across - 1, b))
                add(along, across - 1, along, across);
            if (holds(along, across + 1, b))
                add(along, across + 1, along, across);
        }
    };
    const Orientation rows {true};
    const Orientation columns {false};
    for (int r = 0; r < keys.gridHeight; ++r)
        for (int c = 0; c + 2 < keys.gridWidth; ++c)
            window(rows, c, r);
    for (int r = 0; r + 2 < keys.gridHeight; ++r)
        for (int c = 0; c < keys.gridWidth; ++c)
            window(columns, r, c);
    return found;
}

bool GridWrapper::findSwap(int& c1, int& r1, int& c2, int& r2) const
{
    return pickOne(collectSwaps(), random(), c1, r1, c2, r2);
}

std::vector<SwapMove> GridWrapper::collectLongRunSwaps() const
{
    const BoardKeys& keys = boardKeys();
    std::vector<SwapMove> found;
    // A window of four with equal ends and one odd tile inside: the gap. A
    // tile of the name beside the gap fills it (a run of four); with a
    // second one beyond, the end tile moves in and makes a cross instead.
    // Along rows the upper side is tested first and a fifth tile beyond the
    // window's end is looked for; along columns the right side comes first.
    auto window = [&](Orientation o, int along, int across) {
        const CellSprite* t[4];
        for (int i = 0; i < 4; ++i) {
            const RefPointer<CellSprite>& tile = cellAt(o.column(along + i, across), o.row(along + i, across));
            if (!tile || tile->getState() != CellSprite::Idle || tile->isBonus())
                return;
            t[i] = tile.get();
        }
        const std::string& a = t[0]->getIngredient();
        if (t[3]->getIngredient() != a)
            return;
        const bool bSame = t[1]->getIngredient() == a;
        const bool cSame = t[2]->getIngredient() == a;
        if (bSame == cSame)
            return;
        auto holds = [&](int al, int ac) { return holdsPlainIngredient(o.column(al, ac), o.row(al, ac), a); };
        auto add = [&](int fromAlong, int fromAcross, int toAlong, int toAcross) {
            found.push_back({o.column(fromAlong, fromAcross), o.row(fromAlong, fromAcross), o.column(toAlong, toAcross),
                             o.row(toAlong, toAcross)});
        };
        const int sides[2] = {o.rows ? -1 : 1, o.rows ? 1 : -1};
        const int gap = cSame ? along + 1 : along + 2;
        // The end tile next to the gap is the one that moves in for a cross.
        const int end = cSame ? along : along + 3;
        for (int i = 0; i < 2; ++i) {
            const int s = sides[i];
            if (!holds(gap, across + s))
                continue;
            if (!holds(gap, across + 2 * s)) {
                add(gap, across + s, gap, across);
            } else if (!cSame && o.rows && i == 0 && holds(along + 4, across)) {
                add(gap, across + s, gap, across);
            } else {
                add(end, across, gap, across);
            }
        }
    };
    const Orientation rows {true};
    const Orientation columns {false};
    for (int r = 0; r < keys.gridHeight; ++r)
        for (int c = 0; c + 3 < keys.gridWidth; ++c)
            window(rows, c, r);
    for (int r = 0; r + 3 < keys.gridHeight; ++r)
        for (int c = 0; c < keys.gridWidth; ++c)
            window(columns, r, c);
    return found;
}

bool GridWrapper::findLongRunSwap(int& c1, int& r1, int& c2, int& r2) const
{
    return pickOne(collectLongRunSwaps(), random(), c1, r1, c2, r2);
}

bool GridWrapper::pickBonusCell(int& column, int& row) const
{
    const BoardKeys& keys = boardKeys();
    std::vector<std::pair<int, int>> places;
    for (int r = 0; r < keys.gridHeight; ++r) {
        for (int c = 0; c < keys.gridWidth; ++c) {
            const RefPointer<CellSprite>& tile = cellAt(c, r);
            if (tile && tile->isBonus())
                places.push_back({c, r});
        }
    }
    if (places.empty())
        return false;
    for (size_t i = 1; i < places.size(); ++i)
        std::swap(places[i], places[static_cast<size_t>(std::rand()) % (i + 1)]);
    column = places.front().first;
    row = places.front().second;
    return true;
}

bool GridWrapper::isBoardStuck() const
{
    const BoardKeys& keys = boardKeys();
    const int width = keys.gridWidth;
    const int height = keys.gridHeight;
    std::vector<const std::string*> names(static_cast<size_t>(width * height), nullptr);
    for (int r = 0; r < height; ++r) {
        for (int c = 0; c < width; ++c) {
            const RefPointer<CellSprite>& tile = cellAt(c, r);
            // A board still waiting for tiles, or one with a bonus to play, has a move.
            if (!tile || tile->getIngredient().find("bonus") != std::string::npos)
                return false;
            names[static_cast<size_t>(r * width + c)] = &tile->getIngredient();
        }
    }
    // Only names count from here on; places outside the board hold none.
    auto is = [&](int c, int r, const std::string& name) {
        return c >= 0 && c < width && r >= 0 && r < height && *names[static_cast<size_t>(r * width + c)] == name;
    };
    auto windowHasMove = [&](Orientation o, int along, int across) {
        auto at = [&](int al, int ac) -> const std::string& {
            return *names[static_cast<size_t>(o.row(al, ac) * width + o.column(al, ac))];
        };
        auto holds = [&](int al, int ac, const std::string& name) { return is(o.column(al, ac), o.row(al, ac), name); };
        const std::string& a = at(along, across);
        const std::string& b = at(along + 1, across);
        const std::string& c = at(along + 2, across);
        if (a == b && b == c)
            return true;
        if (b == c && (holds(along - 1, across, b) || holds(along, across - 1, b) || holds(along, across + 1, b)))
            return true;
        if (a == c && (holds(along + 1, across - 1, a) || holds(along + 1, across + 1, a)))
            return true;
        return a == b &&
               (holds(along + 3, across, a) || holds(along + 2, across - 1, a) || holds(along + 2, across + 1, a));
    };
    const Orientation rows {true};
    const Orientation columns {false};
    for (int r = 0; r < height; ++r)
        for (int c = 0; c + 2 < width; ++c)
            if (windowHasMove(rows, c, r))
                return false;
    for (int c = 0; c < width; ++c)
        for (int r = 0; r + 2 < height; ++r)
            if (windowHasMove(columns, r, c))
                return false;
    return true;
}
