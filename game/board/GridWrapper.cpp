#include "game/board/GridWrapper.h"

#include "framework/core/BasicProperties.h"
#include "framework/core/Log.h"
#include "framework/core/ObjectFactoryContainer.h"
#include "framework/core/PropertyNode.h"
#include "framework/core/PropertyVector.h"
#include "framework/core/Random.h"
#include "framework/players/PropertyAccess.h"
#include "game/board/BoardHost.h"
#include "game/board/BoardKeys.h"
#include "game/board/BonusSprite.h"
#include "game/data/GameData.h"
#include "game/data/TortelunePlayer.h"
#include "game/data/TuningTable.h"

namespace {

bool isStarBonus(const std::string& name)
{
    return name == "star +1 bonus" || name == "star +5 bonus";
}

bool slotsHoldTool(const PlaySessionInfo& session, int toolId)
{
    return session.toolIds[0] == toolId || session.toolIds[1] == toolId;
}

// A value in [0, n) from the generator's next value, as the content choice draws it.
int drawBelow(Random& random, int n)
{
    int value = random.next() % n;
    return value < 0 ? value + n : value;
}

} // namespace

void GridWrapper::layout() const
{
    const BoardKeys& keys = boardKeys();
    if (keys.gridWidth == width && keys.gridHeight == height)
        return;
    // The board's size changed (a new tuning table): move the cells over.
    std::vector<RefPointer<CellSprite>> old;
    old.swap(flat);
    const int oldWidth = width;
    const int oldHeight = height;
    width = keys.gridWidth;
    height = keys.gridHeight;
    flat.assign(static_cast<size_t>(width) * static_cast<size_t>(height + 1), RefPointer<CellSprite>());
    auto& overflow = others;
    for (int c = 0; c < oldWidth; ++c) {
        for (int r = -1; r < oldHeight; ++r) {
            RefPointer<CellSprite>& tile = old[static_cast<size_t>(c * (oldHeight + 1) + r + 1)];
            if (tile)
                overflow[{c, r}] = tile;
        }
    }
    for (auto it = overflow.begin(); it != overflow.end();) {
        const int s = slot(it->first.first, it->first.second);
        if (s >= 0) {
            flat[static_cast<size_t>(s)] = it->second;
            it = overflow.erase(it);
        } else {
            ++it;
        }
    }
}

int GridWrapper::slot(int column, int row) const
{
    if (column < 0 || column >= width || row < -1 || row >= height)
        return -1;
    return column * (height + 1) + row + 1;
}

RefPointer<CellSprite>* GridWrapper::find(int column, int row)
{
    layout();
    const int s = slot(column, row);
    if (s >= 0)
        return flat[static_cast<size_t>(s)] ? &flat[static_cast<size_t>(s)] : nullptr;
    auto it = others.find({column, row});
    return it == others.end() ? nullptr : &it->second;
}

const RefPointer<CellSprite>* GridWrapper::find(int column, int row) const
{
    return const_cast<GridWrapper*>(this)->find(column, row);
}

void GridWrapper::clear()
{
    for (auto& tile : flat)
        tile.reset();
    others.clear();
}

bool GridWrapper::isEmpty(int column, int row) const
{
    return find(column, row) == nullptr;
}

const RefPointer<CellSprite>& GridWrapper::cellAt(int column, int row) const
{
    const RefPointer<CellSprite>* entry = find(column, row);
    return entry ? *entry : nullCell;
}

void GridWrapper::insertCell(int column, int row, const RefPointer<CellSprite>& tile)
{
    if (!tile || find(column, row))
        return;
    const int s = slot(column, row);
    if (s >= 0)
        flat[static_cast<size_t>(s)] = tile;
    else
        others[{column, row}] = tile;
}

void GridWrapper::eraseCell(int column, int row)
{
    if (RefPointer<CellSprite>* entry = find(column, row))
        entry->reset();
    if (slot(column, row) < 0)
        others.erase({column, row});
}

void GridWrapper::putCell(CellSprite* tile, int column, int row)
{
    if (!tile)
        return;
    tile->setCell(column, row);
    insertCell(column, row, RefPointer<CellSprite>(tile));
}

void GridWrapper::forEach(const std::function<void(int column, int row, CellSprite* tile)>& visit) const
{
    layout();
    auto other = others.begin();
    auto flushBefore = [&](const Key& key) {
        for (; other != others.end() && other->first < key; ++other)
            visit(other->first.first, other->first.second, other->second.get());
    };
    for (int c = 0; c < width; ++c) {
        for (int r = -1; r < height; ++r) {
            const RefPointer<CellSprite>& tile = flat[static_cast<size_t>(c * (height + 1) + r + 1)];
            if (!tile)
                continue;
            flushBefore({c, r});
            visit(c, r, tile.get());
        }
    }
    flushBefore({INT32_MAX, INT32_MAX});
    for (; other != others.end(); ++other)
        visit(other->first.first, other->first.second, other->second.get());
}

int GridWrapper::size() const
{
    int count = 0;
    forEach([&](int, int, CellSprite*) { ++count; });
    return count;
}

void GridWrapper::removeCell(CellSprite* tile)
{
    if (!tile)
        return;
    bool found = false;
    Key key;
    forEach([&](int c, int r, CellSprite* candidate) {
        if (!found && candidate == tile) {
            found = true;
            key = {c, r};
        }
    });
    if (found)
        eraseCell(key.first, key.second);
}

void GridWrapper::exchangeCells(int c1, int r1, int c2, int r2)
{
    RefPointer<CellSprite>* a = find(c1, r1);
    RefPointer<CellSprite>* b = find(c2, r2);
    if (!a || !b)
        return;
    (*a)->setCell(c2, r2);
    (*b)->setCell(c1, r1);
    std::swap(*a, *b);
}

bool GridWrapper::holdsPlainIngredient(int column, int row, const std::string& name) const
{
    const RefPointer<CellSprite>* entry = find(column, row);
    if (!entry)
        return false;
    const CellSprite* tile = entry->get();
    return tile->getState() == CellSprite::Idle && !tile->isBonus() && tile->getIngredient() == name;
}

bool GridWrapper::formsRun(int column, int row) const
{
    const RefPointer<CellSprite>* centre = find(column, row);
    if (!centre || (*centre)->isBonus())
        return false;
    const std::string& name = (*centre)->getIngredient();
    // A neighbour counts when present, plain and idle (or being sucked or
    // blown by a bonus); anything else can never equal the centre.
    auto same = [&](int c, int r) {
        const RefPointer<CellSprite>* entry = find(c, r);
        if (!entry)
            return false;
        const CellSprite* tile = entry->get();
        const int s = tile->getState();
        if (tile->isBonus() || (s != CellSprite::Idle && s != CellSprite::Sucked && s != CellSprite::Blown))
            return false;
        return tile->getIngredient() == name;
    };
    const bool left1 = same(column - 1, row), left2 = same(column - 2, row);
    const bool right1 = same(column + 1, row), right2 = same(column + 2, row);
    const bool up1 = same(column, row - 1), up2 = same(column, row - 2);
    const bool down1 = same(column, row + 1), down2 = same(column, row + 2);
    return (left2 && left1) || (left1 && right1) || (right1 && right2) || (up2 && up1) || (up1 && down1) ||
           (down1 && down2);
}

namespace {

int plusGroupAfterSwap(GridWrapper& cells, int c1, int r1, int c2, int r2)
{
    if (cells.isEmpty(c1, r1) || cells.isEmpty(c2, r2))
        return 0;
    const std::string name = cells.cellAt(c1, r1)->getIngredient();
    cells.exchangeCells(c1, r1, c2, r2);
    int count = 1;
    const int steps[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
    for (const auto& step : steps) {
        for (int c = c2 + step[0], r = r2 + step[1]; cells.holdsPlainIngredient(c, r, name);
             c += step[0], r += step[1])
            ++count;
    }
    cells.exchangeCells(c1, r1, c2, r2);
    return count;
}

} // namespace

bool GridWrapper::swapMakesRun(int c1, int r1, int c2, int r2)
{
    return plusGroupAfterSwap(*this, c1, r1, c2, r2) >= 3;
}

bool GridWrapper::swapMakesLongRun(int c1, int r1, int c2, int r2)
{
    return plusGroupAfterSwap(*this, c1, r1, c2, r2) > 3;
}

Random& GridWrapper::random() const
{
    if (randomOverride)
        return *randomOverride;
    if (Random::instance)
        return *Random::instance;
    static Random fallback;
    return fallback;
}

void GridWrapper::filterContentWeights(const std::vector<LevelIngredient>& entries, std::vector<int>& weights,
                                       bool bonusesAllowed)
{
    weights.resize(entries.size(), 0);
    GameDataState* state = boardState();
    if (!state)
        return;
    const PlaySessionInfo& session = state->playSessionInfo;
    const bool exam = GameData::instance->isExamLevel();
    if (state->mode == 0 && !exam) {
        int bonusCount = 0;
        for (const LevelIngredient& entry : entries)
            bonusCount += isBonusName(entry.name) ? 1 : 0;
        if (!slotsHoldTool(session, 6)) {
            for (size_t i = 0; i < entries.size(); ++i) {
                if (isStarBonus(entries[i].name)) {
                    weights[i] = 0;
                    --bonusCount;
                }
            }
        }
        if (slotsHoldTool(session, 3)) {
            for (size_t i = 0; i < entries.size(); ++i) {
                const std::string& name = entries[i].name;
                if (session.bonusPlusCounter == 0) {
                    if (!isBonusName(name)) {
                        weights[i] = 0;
                    } else if (name == "star +1 bonus" && bonusCount == 0) {
                        weights[i] = 10;
                        bonusCount = 1;
                    }
                } else if (name == "star +1 bonus") {
                    if (weights[i] == 0)
                        weights[i] = 10;
                } else if (isBonusName(name)) {
                    weights[i] = 0;
                }
            }
        }
    }
    if (state->mode == 1) {
        TortelunePlayer* player = boardPlayer();
        for (size_t i = 0; i < entries.size(); ++i) {
            if (isBonusName(entries[i].name) && (!player || !player->seenBonus.count(entries[i].name)))
                weights[i] = 0;
        }
    }
    if (!bonusesAllowed) {
        for (size_t i = 0; i < entries.size(); ++i) {
            if (isBonusName(entries[i].name))
                weights[i] = 0;
        }
    }
}

std::string GridWrapper::mostNeededIngredient() const
{
    // No multipliers before play starts (at level start in particular).
    BoardHost* host = BoardHost::current();
    GameDataState* state = boardState();
    if (!host || !host->isPlaying() || !state)
        return std::string();
    // The first two pastries of the station count: the belt's plates front
    // first on conveyor levels, else the countertop's spots in order.
    std::vector<const Pastry*> pastries;
    if (state->mode == 1 || GameData::instance->isExamLevel()) {
        for (const RefPointer<Spot>& spot : state->conveyorBelt.spots)
            pastries.push_back(spot ? spot->getPastry() : nullptr);
    } else {
        for (int spot = 0; spot < state->pastryWrapper.getSize(); ++spot)
            pastries.push_back(state->pastryWrapper.get(spot));
    }
    std::map<std::string, int> sums;
    int found = 0;
    for (const Pastry* pastry : pastries) {
        if (found == 2)
            break;
        if (!pastry || !pastry->recipe)
            continue;
        ++found;
        for (const RecipeIngredient& part : pastry->recipe->getIngredients())
            sums[part.name] += part.amount;
    }
    // The largest sum wins; among equal sums the name that comes first.
    std::string best;
    int bestSum = 0;
    for (const auto& [name, sum] : sums) {
        if (sum > bestSum) {
            best = name;
            bestSum = sum;
        }
    }
    return best;
}

CellSprite* GridWrapper::chooseCell(int column, int row, const std::string& requested, bool bonusesAllowed,
                                    int /*attempt*/)
{
    eraseCell(column, row);
    GameDataState* state = boardState();
    std::string name = requested;
    const Level* level = state ? &GameData::instance->getCurrentLevel() : nullptr;
    if (name.empty()) {
        if (!level || level->ingredients.empty()) {
            LOG_ERROR("the level has no contents to fill the board with");
            return nullptr;
        }
        std::vector<int> weights = level->getIngredientWeights();
        filterContentWeights(level->ingredients, weights, bonusesAllowed);
        TortelunePlayer* player = boardPlayer();
        for (size_t i = 0; i < level->ingredients.size(); ++i) {
            const std::string& entry = level->ingredients[i].name;
            if (isStarBonus(entry) && column < 6 && (!player || !player->seenBonus.count(entry)))
                weights[i] = 0;
        }
        int index = random().pickWeighted(weights);
        if (index < 0) {
            LOG_ERROR("no content of the level has a positive weight; using its first entry");
            index = 0;
        }
        name = level->ingredients[static_cast<size_t>(index)].name;
    }
    RefPointer<CellSprite> tile;
    if (isBonusName(name)) {
        tile = BonusSprite::create(column, row, name);
        tile->setToolTip(BasicProperties::instance ? BasicProperties::instance->getText("TEXT_" + ingredientWord(name))
                                                   : WString());
    } else {
        const int draw = drawBelow(random(), 100000);
        const std::string needed = mostNeededIngredient();
        int multiplier = 1;
        if (!needed.empty() && level) {
            // Percent chances, truncated before scaling: 2.9 % acts as 2 %.
            if (draw < static_cast<int>(level->percentX3) * 1000)
                multiplier = 3;
            else if (draw < static_cast<int>(level->percentX3 + level->percentX5) * 1000)
                multiplier = 5;
            if (multiplier > 1)
                name = needed;
        }
        bool unripe = false;
        const IngredientBook::Entry* book = state ? state->ingredientBook.find(name) : nullptr;
        if (multiplier == 1 && book && book->canBeUnripe) {
            int unripeCount = 0;
            for (int c = 0; c < boardKeys().gridWidth; ++c) {
                for (int r = 0; r < boardKeys().gridHeight; ++r) {
                    const RefPointer<CellSprite>* entry = find(c, r);
                    unripeCount += entry && (*entry)->isUnripe() ? 1 : 0;
                }
            }
            if (unripeCount < tuning().UNRIPE_MAX) {
                const LevelIngredient* chance = level ? level->findIngredient(name) : nullptr;
                unripe = drawBelow(random(), 100) < (chance ? chance->unripeChance : 0);
            }
        }
        tile = new CellSprite(column, row, name, unripe, multiplier);
    }
    if (state && state->playSessionInfo.bonusPlusCounter == 0) {
        tile->toolPlaced = true;
        state->playSessionInfo.bonusPlusCounter = tuning().TOOL_BONUSPLUS_COUNTER;
    }
    tile->showHints = !requested.empty() || isStarBonus(name);
    insertCell(column, row, tile);
    return tile.get();
}

CellSprite* GridWrapper::createCell(int column, int row, const std::string& requested, bool bonusesAllowed)
{
    CellSprite* tile = nullptr;
    for (int attempt = 0; attempt < kMaxChoiceAttempts; ++attempt) {
        tile = chooseCell(column, row, requested, bonusesAllowed, attempt);
        if (!tile || !formsRun(column, row))
            return tile;
    }
    // The choice keeps lining up runs (one ingredient left, or a board that
    // leaves no other): take the first ingredient of the level that forms
    // none here, else accept the run.
    GameDataState* state = boardState();
    if (!state)
        return tile;
    const Level& level = GameData::instance->getCurrentLevel();
    for (const LevelIngredient& entry : level.ingredients) {
        if (isBonusName(entry.name))
            continue;
        eraseCell(column, row);
        RefPointer<CellSprite> candidate(new CellSprite(column, row, entry.name, false, 1));
        insertCell(column, row, candidate);
        if (!formsRun(column, row))
            return candidate.get();
    }
    LOG_WARNING("no ingredient fits at (" + std::to_string(column) + ", " + std::to_string(row) +
                ") without a run; keeping one");
    return cellAt(column, row).get();
}

int GridWrapper::hintMargin() const
{
    GameDataState* state = boardState();
    if (!state)
        return 0;
    const std::string& customer = GameData::instance->getCurrentLevel().customerName;
    const int margin = customer == "CUSTOMER_HENRI" || customer == "CUSTOMER_HENRI_MARRIAGE" ||
                               customer == "CUSTOMER_HENRI_EXAM"
                           ? 6
                           : 5;
    // A staged tile needs at least one column to land in, however narrow the board.
    return std::max(0, std::min(margin, boardKeys().gridWidth - 1));
}

std::string GridWrapper::featuredBonus() const
{
    GameDataState* state = boardState();
    TortelunePlayer* player = boardPlayer();
    if (!state || state->mode != 0 || !player || !player->showHints)
        return std::string();
    const int levelIndex = state->levelManager.getCurrentIndex();
    auto isNew = [&](const std::string& name) {
        auto seen = player->seenBonus.find(name);
        return seen == player->seenBonus.end() || seen->second == levelIndex;
    };
    const Level& level = GameData::instance->getCurrentLevel();
    for (const LevelIngredient& entry : level.ingredients) {
        if (isBonusName(entry.name) && !isStarBonus(entry.name) && isNew(entry.name))
            return entry.name;
    }
    if (GameData::instance->isExamLevel() || !slotsHoldTool(state->playSessionInfo, 6))
        return std::string();
    for (const LevelIngredient& entry : level.ingredients) {
        if (isStarBonus(entry.name) && isNew(entry.name))
            return entry.name;
    }
    return std::string();
}

void GridWrapper::fill()
{
    clear();
    GameDataState* state = boardState();
    if (!state)
        return;
    const BoardKeys& keys = boardKeys();
    TortelunePlayer* player = boardPlayer();
    int margin = hintMargin();
    const std::string featured = featuredBonus();
    int featuredColumn = -1;
    int featuredRow = -1;
    if (!featured.empty()) {
        if (player->hasSeenHint("HINT_" + ingredientWord(featured)))
            margin = 0;
        featuredColumn = random().nextInt(margin, keys.gridWidth);
        featuredRow = random().nextInt(0, keys.gridHeight);
    }
    // The first board holds one bonus at most: the featured one, or the first drawn.
    bool bonusesAllowed = featured.empty();
    for (int r = 0; r < keys.gridHeight; ++r) {
        for (int c = 0; c < keys.gridWidth; ++c) {
            if (c == featuredColumn && r == featuredRow) {
                createCell(c, r, featured, true);
                continue;
            }
            CellSprite* tile = createCell(c, r, std::string(), bonusesAllowed);
            if (tile && tile->isBonus())
                bonusesAllowed = false;
        }
    }
    if (state->mode == 0 && player && player->showHints && featured.empty())
        stageUnripeFruit(margin);
}

void GridWrapper::stageUnripeFruit(int margin)
{
    TortelunePlayer* player = boardPlayer();
    const Level& level = GameData::instance->getCurrentLevel();
    const BoardKeys& keys = boardKeys();
    auto due = [&](const char* fruit, const char* hint) {
        const LevelIngredient* entry = level.findIngredient(fruit);
        return entry && entry->unripeChance > 0 && !player->hasSeenHint(hint);
    };
    struct Region {
        bool any = false;
        bool unripe = false;
    };
    Region cherries, bananas;
    for (int c = margin; c < keys.gridWidth; ++c) {
        for (int r = 0; r < keys.gridHeight; ++r) {
            const RefPointer<CellSprite>* tile = find(c, r);
            if (!tile)
                continue;
            Region* region = (*tile)->getIngredient() == "cherry"   ? &cherries
                             : (*tile)->getIngredient() == "banana" ? &bananas
                                                                    : nullptr;
            if (!region)
                continue;
            region->any = true;
            if ((*tile)->isUnripe()) {
                (*tile)->showHints = true;
                region->unripe = true;
            }
        }
    }
    auto stage = [&](const std::string& fruit, const Region& region) {
        if (region.any) {
            for (int c = margin; c < keys.gridWidth; ++c) {
                for (int r = 0; r < keys.gridHeight; ++r) {
                    const RefPointer<CellSprite>* tile = find(c, r);
                    if (tile && (*tile)->getIngredient() == fruit) {
                        (*tile)->makeUnripe();
                        (*tile)->showHints = true;
                    }
                }
            }
            return;
        }
        const int column = random().nextInt(margin, keys.gridWidth);
        const int row = random().nextInt(0, keys.gridHeight);
        eraseCell(column, row);
        RefPointer<CellSprite> tile(new CellSprite(column, row, fruit, true, 1));
        tile->showHints = true;
        insertCell(column, row, tile);
    };
    if (due("cherry", "HINT_UNRIPECHERRY") && !cherries.unripe)
        stage("cherry", cherries);
    else if (due("banana", "HINT_UNRIPEBANANA") && !bananas.unripe)
        stage("banana", bananas);
}

void GridWrapper::save(PropertyNode* node) const
{
    if (!node)
        return;
    RefPointer<PropertyVector> list(new PropertyVector("cells"));
    const BoardKeys& keys = boardKeys();
    // Row by row over the board only: the spawn row refills by itself.
    for (int r = 0; r < keys.gridHeight; ++r) {
        for (int c = 0; c < keys.gridWidth; ++c) {
            const RefPointer<CellSprite>* tile = find(c, r);
            if (!tile)
                continue;
            (*tile)->setCell(c, r);
            RefPointer<PropertyNode> entry(new PropertyNode(std::string(), "CellSprite"));
            (*tile)->saveState(entry.get());
            list->add(entry.get());
        }
    }
    node->addChild(list.get());
}

void GridWrapper::load(AbstractProperty* node)
{
    clear();
    const BoardKeys& keys = boardKeys();
    forEachElement(node, "cells", [&](AbstractProperty* entry) {
        // Only tiles are made from a saved board: a damaged or edited save
        // must not create whatever else the factory knows.
        const std::string& kind = entry ? entry->getTypeName() : std::string();
        if (kind != "CellSprite" && !BonusSprite::isBonusClassName(kind)) {
            LOG_WARNING("a saved cell of kind '" + kind + "' is not a tile; skipped");
            return;
        }
        RefPointer<CellSprite> tile(new CellSprite(entry));
        const int c = tile->getColumn();
        const int r = tile->getRow();
        if (c < 0 || c >= keys.gridWidth || r < 0 || r >= keys.gridHeight) {
            LOG_WARNING("a saved cell outside the board was skipped");
            return;
        }
        // The name decides what a tile is: every bonus is rebuilt through the
        // bonus table, whatever class its entry names (a plain "CellSprite"
        // too), so that reading a board and writing it again settles it; a
        // bonus class with an ingredient's name is neither.
        if (isBonusName(tile->getIngredient())) {
            tile = BonusSprite::create(c, r, tile->getIngredient());
            tile->markLanded();
        } else if (kind != "CellSprite") {
            LOG_WARNING("a saved bonus named '" + tile->getIngredient() + "' was skipped");
            return;
        }
        if (!isEmpty(c, r)) {
            LOG_WARNING("two saved tiles claim one cell; the first stays");
            return;
        }
        insertCell(c, r, tile);
    });
}
