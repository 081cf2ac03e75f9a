#include "game/board/Grid.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "framework/core/BasicProperties.h"
#include "framework/core/Log.h"
#include "framework/core/Random.h"
#include "framework/graphics/Image.h"
#include "framework/platform/TaskManager.h"
#include "framework/platform/iInputListenerContainer.h"
#include "framework/resources/ResourceLookup.h"
#include "framework/graphics/BitmapFont.h"
#include "framework/scenegraph/Label.h"
#include "framework/scenegraph/ModifierAlpha.h"
#include "framework/scenegraph/ModifierDelay.h"
#include "framework/scenegraph/ModifierVisible.h"
#include "framework/scenegraph/ModifierFrame.h"
#include "framework/scenegraph/ModifierScale.h"
#include "game/board/BoardKeys.h"
#include "game/board/BonusSprite.h"
#include "game/board/GridController.h"
#include "game/board/GridWrapper.h"
#include "game/data/GameData.h"
#include "game/data/TortelunePlayer.h"
#include "game/data/TuningTable.h"
#include "game/effects/ModifierCallback.h"
#include "game/effects/ModifierShake.h"
#include "game/production/GameScreen.h"
#include "game/production/PastryStation.h"
#include "game/scenes/HintManager.h"

namespace {

constexpr int kTrophyBothTools = 0;
constexpr int kTrophyComboQueen = 10;

bool holdsTool(int toolId)
{
    GameDataState* state = boardState();
    return state && (state->playSessionInfo.toolIds[0] == toolId || state->playSessionInfo.toolIds[1] == toolId);
}

// Trophy 0: a tile is matched while both of the player's tool slots hold a tool.
void raiseBothToolsTrophy()
{
    TortelunePlayer* player = boardPlayer();
    if (player && player->toolSlots.size() >= 2 && player->toolSlots[0] != -1 && player->toolSlots[1] != -1)
        gamescreen::earnTrophy(kTrophyBothTools);
}

// Trophy 10: the move's chain of cascade runs has grown long enough.
void raiseComboTrophy(int comboCount)
{
    if (comboCount >= tuning().TROPHYVALUE_COMBOQUEEN)
        gamescreen::earnTrophy(kTrophyComboQueen);
}

} // namespace

Grid::Grid(GameNode* gridNode, BoardHost* host, GridWrapper* cells)
    : gridNode(gridNode), host(host), cells(cells), link(new GridLink(this))
{
    const BoardKeys& keys = boardKeys();
    width = keys.gridWidth;
    height = keys.gridHeight;
    if (GameNode* first = gridNode->getFirstChild()) {
        GameNode::releaseSiblings(first);
    }
    cellNodes.reserve(static_cast<size_t>(width) * static_cast<size_t>(height + 1));
    for (int r = -1; r < height; ++r) {
        for (int c = 0; c < width; ++c) {
            RefPointer<GameNode> node(new GameNode());
            GameNode::addChild(gridNode, node.get());
            node->setRemoved(false);
            node->setVisible(true);
            cellNodes.push_back(node.get());
        }
    }
    controller = new GridController(link.get());
    if (host) {
        BoardHost::setCurrent(host);
        // In front, as the scene's components are: the scene's own
        // listener behind them would take the press first.
        if (iInputListenerContainer* listeners = host->getInputListeners())
            listeners->addListener(controller.get(), true);
        if (TaskManager* tasks = host->getTaskManager())
            tasks->addTask(controller.get());
    }
    columns.assign(static_cast<size_t>(width), ColumnRecord {keys.replenishDelay, keys.replenishDelay, false});
}

Grid::~Grid()
{
    link->grid = nullptr;
    if (host) {
        if (iInputListenerContainer* listeners = host->getInputListeners())
            listeners->removeListener(controller.get());
        if (BoardHost::current() == host.get())
            BoardHost::setCurrent(nullptr);
    }
    controller->setFinished(true);
    hintCells[0].reset();
    hintCells[1].reset();
}

GameNode* Grid::getCellNode(int column, int row) const
{
    if (column < 0 || column >= width || row < -1 || row >= height)
        return nullptr;
    return cellNodes[static_cast<size_t>((row + 1) * width + column)];
}

void Grid::setPastryStation(PastryStation* station)
{
    if (host)
        host->setPastryStation(station);
}

GuiMethod Grid::removalCallback() const
{
    return GuiMethod(link.get(), &Grid::cellRemovedCallback);
}

bool Grid::screenToCell(int x, int y, int& column, int& row) const
{
    const BoardKeys& keys = boardKeys();
    const int gx = gridNode->getX();
    const int gy = gridNode->getY();
    column = static_cast<int>(std::floor(static_cast<double>(x - gx) / keys.cellWidth));
    row = static_cast<int>(std::floor(static_cast<double>(y - gy + keys.cellHeight) / keys.cellHeight));
    return column >= 0 && column < width && row >= 0 && row < height;
}

bool Grid::isBonusAt(int column, int row) const
{
    const RefPointer<CellSprite>& tile = cells->cellAt(column, row);
    return tile && tile->isBonus();
}

bool Grid::allCellsIdle() const
{
    for (int c = 0; c < width; ++c) {
        for (int r = 0; r < height; ++r) {
            const RefPointer<CellSprite>& tile = cells->cellAt(c, r);
            if (tile && tile->getState() != CellSprite::Idle)
                return false;
        }
    }
    return true;
}

bool Grid::isFull() const
{
    for (int c = 0; c < width; ++c) {
        for (int r = 0; r < height; ++r) {
            if (cells->isEmpty(c, r))
                return false;
        }
    }
    return true;
}

bool Grid::anyCellAnimating() const
{
    for (int c = 0; c < width; ++c) {
        for (int r = 0; r < height; ++r) {
            const RefPointer<CellSprite>& tile = cells->cellAt(c, r);
            if (tile && tile->hasTreeModifiers())
                return true;
        }
    }
    return false;
}

bool Grid::hasFallingGap() const
{
    for (int c = 0; c < width; ++c) {
        for (int r = -1; r < height - 1; ++r) {
            const RefPointer<CellSprite>& tile = cells->cellAt(c, r);
            if (tile && tile->getState() == CellSprite::Idle && cells->isEmpty(c, r + 1))
                return true;
        }
    }
    return false;
}

bool Grid::isMatchableAt(int column, int row) const
{
    const RefPointer<CellSprite>& tile = cells->cellAt(column, row);
    return tile && tile->getState() == CellSprite::Idle && !tile->isBonus();
}

bool Grid::isMatchableAs(int column, int row, const std::string& name) const
{
    return isMatchableAt(column, row) && cells->cellAt(column, row)->getIngredient() == name;
}

void Grid::takeSnapshot() const
{
    // One model lookup per place, rows -1 to height - 1; the searches then
    // read the array.
    snapshot.assign(static_cast<size_t>(width * (height + 1)), nullptr);
    for (int r = -1; r < height; ++r)
        for (int c = 0; c < width; ++c)
            snapshot[static_cast<size_t>((r + 1) * width + c)] = cells->cellAt(c, r).get();
}

const CellSprite* Grid::snapshotAt(int column, int row) const
{
    if (column < 0 || column >= width || row < -1 || row >= height)
        return nullptr;
    return snapshot[static_cast<size_t>((row + 1) * width + column)];
}

bool Grid::hasMatch() const
{
    takeSnapshot();
    auto matchable = [&](int c, int r, const std::string& name) {
        const CellSprite* tile = snapshotAt(c, r);
        return tile && tile->getState() == CellSprite::Idle && !tile->isBonus() && tile->getIngredient() == name;
    };
    for (int r = 0; r < height; ++r) {
        for (int c = 0; c < width; ++c) {
            const CellSprite* tile = snapshotAt(c, r);
            if (!tile || tile->getState() != CellSprite::Idle || tile->isBonus())
                continue;
            const std::string& name = tile->getIngredient();
            if (matchable(c + 1, r, name) && matchable(c + 2, r, name))
                return true;
            if (matchable(c, r + 1, name) && matchable(c, r + 2, name))
                return true;
        }
    }
    return false;
}

std::vector<MatchGroup> Grid::findMatches() const
{
    // Labels per board position (0: none); runs that touch share one label.
    std::vector<int> labels(static_cast<size_t>(width * height), 0);
    auto labelAt = [&](int c, int r) -> int {
        return c < 0 || c >= width || r < 0 || r >= height ? 0 : labels[static_cast<size_t>(r * width + c)];
    };
    auto setLabel = [&](int c, int r, int label) { labels[static_cast<size_t>(r * width + c)] = label; };
    takeSnapshot();
    auto nameAt = [&](int c, int r) -> const std::string& { return snapshotAt(c, r)->getIngredient(); };
    auto idleAt = [&](int c, int r) {
        const CellSprite* tile = snapshotAt(c, r);
        return tile && tile->getState() == CellSprite::Idle;
    };
    auto isMatchableAs = [&](int c, int r, const std::string& name) {
        const CellSprite* tile = snapshotAt(c, r);
        return tile && tile->getState() == CellSprite::Idle && !tile->isBonus() && tile->getIngredient() == name;
    };
    // A labelled neighbour always holds a tile, so its name can be read.
    auto sameLabelled = [&](int c, int r, const std::string& name) {
        return labelAt(c, r) > 0 && nameAt(c, r) == name;
    };
    int nextLabel = 1;
    for (int r = 0; r < height; ++r) {
        for (int c = 0; c < width; ++c) {
            if (!idleAt(c, r))
                continue;
            const std::string& name = nameAt(c, r);
            if (sameLabelled(c - 1, r, name))
                setLabel(c, r, labelAt(c - 1, r));
            else if (isMatchableAs(c + 1, r, name) && isMatchableAs(c + 2, r, name))
                setLabel(c, r, nextLabel++);
        }
    }
    for (int c = 0; c < width; ++c) {
        for (int r = 0; r < height; ++r) {
            if (!idleAt(c, r))
                continue;
            const std::string& name = nameAt(c, r);
            const int own = labelAt(c, r);
            if (own > 0) {
                const int above = labelAt(c, r - 1);
                if (above > 0 && above != own && nameAt(c, r - 1) == name)
                    std::replace(labels.begin(), labels.end(), own, above);
                continue;
            }
            if (sameLabelled(c, r - 1, name) &&
                (isMatchableAs(c, r - 2, name) || isMatchableAs(c, r + 1, name))) {
                setLabel(c, r, labelAt(c, r - 1));
                continue;
            }
            if (isMatchableAs(c, r + 1, name) && isMatchableAs(c, r + 2, name))
                setLabel(c, r, nextLabel++);
        }
    }
    // Groups in label order, each listing its cells in row, then column order.
    std::vector<int> groupOfLabel(static_cast<size_t>(nextLabel), -1);
    std::vector<std::pair<int, MatchGroup>> found;
    for (int r = 0; r < height; ++r) {
        for (int c = 0; c < width; ++c) {
            const int label = labelAt(c, r);
            if (label <= 0)
                continue;
            if (groupOfLabel[static_cast<size_t>(label)] < 0) {
                groupOfLabel[static_cast<size_t>(label)] = static_cast<int>(found.size());
                found.push_back({label, MatchGroup()});
            }
            found[static_cast<size_t>(groupOfLabel[static_cast<size_t>(label)])].second.cells.push_back(
                MatchedCell {nameAt(c, r), c, r});
        }
    }
    std::stable_sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<MatchGroup> groups;
    groups.reserve(found.size());
    for (auto& entry : found)
        groups.push_back(std::move(entry.second));
    return groups;
}

bool Grid::isValidSwap(int c1, int r1, int c2, int r2) const
{
    if (cells->isEmpty(c1, r1) || cells->isEmpty(c2, r2))
        return false;
    const bool neighbours = (c1 == c2 && std::abs(r1 - r2) == 1) || (r1 == r2 && std::abs(c1 - c2) == 1);
    if (!neighbours)
        return false;
    cells->exchangeCells(c1, r1, c2, r2);
    const bool runs = cells->formsRun(c1, r1) || cells->formsRun(c2, r2);
    cells->exchangeCells(c1, r1, c2, r2);
    return runs;
}

void Grid::clearMatchHint()
{
    for (RefPointer<CellSprite>& hinted : hintCells) {
        if (hinted) {
            hinted->clearOverlays();
            hinted.reset();
        }
    }
}

bool Grid::showMatchHint(int c1, int r1, int c2, int r2, bool particles)
{
    if (cells->isEmpty(c1, r1) || cells->isEmpty(c2, r2)) {
        clearMatchHint();
        return false;
    }
    RefPointer<CellSprite> a = cells->getCell(c1, r1);
    RefPointer<CellSprite> b = cells->getCell(c2, r2);
    if (hintCells[0] == a && hintCells[1] == b) {
        bool shown = false;
        for (RefPointer<CellSprite>& hinted : hintCells) {
            if (!hinted->isHighlighted()) {
                hinted->setHighlighted();
                shown = true;
            }
        }
        return shown;
    }
    const bool holds = hintCells[0] && hintCells[1] &&
                       cells->swapMakesRun(hintCells[0]->getColumn(), hintCells[0]->getRow(),
                                           hintCells[1]->getColumn(), hintCells[1]->getRow());
    if (holds)
        return false;
    if (host)
        host->playSound("SOUND_SHOWMATCHHINT");
    clearMatchHint();
    a->setHighlighted();
    b->setHighlighted();
    hintCells[0] = a;
    hintCells[1] = b;
    if (particles && host) {
        for (const RefPointer<CellSprite>& hinted : hintCells)
            host->emitToolParticles(12, hinted.get(), 100, true);
    }
    return true;
}

bool Grid::isHintStale()
{
    if (!hintCells[0] || !hintCells[1])
        return true;
    if (!cells->swapMakesRun(hintCells[0]->getColumn(), hintCells[0]->getRow(), hintCells[1]->getColumn(),
                             hintCells[1]->getRow()) &&
        !hintCells[0]->isBonus()) {
        clearMatchHint();
        return true;
    }
    return false;
}

bool Grid::isLongHintStale()
{
    if (!hintCells[0] || !hintCells[1])
        return true;
    if (!cells->swapMakesLongRun(hintCells[0]->getColumn(), hintCells[0]->getRow(), hintCells[1]->getColumn(),
                                 hintCells[1]->getRow())) {
        clearMatchHint();
        return true;
    }
    return false;
}

bool Grid::offerMatchHint()
{
    int c1, r1, c2, r2;
    if (cells->findSwap(c1, r1, c2, r2))
        return showMatchHint(c1, r1, c2, r2, false);
    int column, row;
    if (cells->pickBonusCell(column, row))
        return showMatchHint(column, row, column, row, false);
    return false;
}

bool Grid::offerLongRunHint()
{
    int c1, r1, c2, r2;
    if (!isLongHintStale() || !cells->findLongRunSwap(c1, r1, c2, r2) || !showMatchHint(c1, r1, c2, r2, true))
        return false;
    if (host)
        host->pulseTool(12);
    return true;
}

bool Grid::isBoardStuck() const
{
    return cells->isBoardStuck();
}

void Grid::showNoMoreMatches()
{
    RefPointer<BitmapFont> font = ResourceLookup::findAs<BitmapFont>("FONT_GAMEEND_3", "default");
    if (!font)
        LOG_WARNING("FONT_GAMEEND_3 is missing; the no-more-moves text is drawn without a font");
    RefPointer<Label> label(new Label(font.get(), 0, 0, 0, 0));
    label->setAlpha(0);
    label->setAnchorStyle(Sprite::Center);
    label->setPosition(400, 245);
    label->setText(BasicProperties::instance ? BasicProperties::instance->getText("TEXT_NOMOREMATCHES") : WString());
    label->updateLayout();
    const TuningTable& t = tuning();
    GameNode* layer = host ? host->getAnnouncementLayer() : nullptr;
    if (Modifier* root = BoardHost::animationRoot(); root && layer) {
        auto* visible = new ModifierVisible(true);
        visible->setTarget(label.get());
        Modifier* step = Modifier::addChild(root, visible);
        auto* fadeIn = new ModifierAlpha(t.NOMOREMATCHES_DURATION, 0, 255);
        fadeIn->setTarget(label.get());
        step = Modifier::addChild(step, fadeIn);
        step = Modifier::addChild(step, new ModifierDelay(t.NOMOREMATCHES_DELAY));
        auto* fadeOut = new ModifierAlpha(t.NOMOREMATCHES_DURATION, 255, 0);
        fadeOut->setTarget(label.get());
        fadeOut->setEndFlags(Modifier::EndRemoveTarget);
        Modifier::addChild(step, fadeOut);
        GameNode::addChild(layer, label.get());
        label->setRemoved(false);
    }
    clearMatchHint();
    for (int r = -1; r < height; ++r) {
        for (int c = 0; c < width; ++c) {
            if (const RefPointer<CellSprite>& tile = cells->cellAt(c, r))
                tile->shakeAndFinish(removalCallback(), link.get());
        }
    }
}

bool Grid::clearHintIfHighlighted(CellSprite* tile)
{
    if (!tile || !tile->isHighlighted())
        return false;
    clearMatchHint();
    return true;
}

void Grid::hoverCell(int column, int row)
{
    if (const RefPointer<CellSprite>& tile = cells->cellAt(column, row))
        tile->showHover();
}

void Grid::deselectCell(int column, int row)
{
    if (const RefPointer<CellSprite>& tile = cells->cellAt(column, row))
        tile->clearSelected();
}

void Grid::selectCell(int column, int row)
{
    if (const RefPointer<CellSprite>& tile = cells->cellAt(column, row))
        tile->setSelected();
}

void Grid::dropCells()
{
    for (int c = 0; c < width; ++c) {
        for (int r = height - 1; r >= 0; --r) {
            if (!cells->isEmpty(c, r))
                continue;
            int s = r - 1;
            while (s >= -1 && cells->isEmpty(c, s))
                --s;
            if (s < -1)
                continue;
            RefPointer<CellSprite> tile = cells->getCell(c, s);
            if (tile->getState() != CellSprite::Idle && tile->getState() != CellSprite::Falling) {
                // A busy tile blocks the column for this frame.
                r = s;
                continue;
            }
            if (tile->isSelected())
                tile->clearSelected();
            tile->fallTo(r);
            cells->eraseCell(c, s);
            cells->putCell(tile.get(), c, r);
            GameNode::addChild(getCellNode(c, r), tile.get());
            if (tile->isHighlighted())
                clearMatchHint();
        }
    }
}

void Grid::swapCells(int c1, int r1, int c2, int r2)
{
    RefPointer<CellSprite> a = cells->getCell(c1, r1);
    RefPointer<CellSprite> b = cells->getCell(c2, r2);
    if (!a || !b)
        return;
    cells->eraseCell(c1, r1);
    cells->eraseCell(c2, r2);
    cells->putCell(b.get(), c1, r1);
    cells->putCell(a.get(), c2, r2);
    if (a->isBonus())
        a->hideHover();
    if (b->isBonus())
        b->hideHover();
    int directionA;
    if (c1 < c2)
        directionA = CellSprite::Right;
    else if (c1 > c2)
        directionA = CellSprite::Left;
    else if (r1 < r2)
        directionA = CellSprite::Down;
    else
        directionA = CellSprite::Up;
    static const int kOpposite[4] = {CellSprite::Right, CellSprite::Left, CellSprite::Down, CellSprite::Up};
    // The raised tile must hang under the later cell node the whole time:
    // moving right or down both change parent at once, otherwise at the end.
    const bool forward = directionA == CellSprite::Right || directionA == CellSprite::Down;
    if (forward) {
        a->moveUnder(getCellNode(c2, r2));
        b->moveUnder(getCellNode(c1, r1));
    }
    a->swapTo(directionA, true);
    b->swapTo(kOpposite[directionA], false);
    if (!forward) {
        a->moveUnder(getCellNode(c2, r2));
        b->moveUnder(getCellNode(c1, r1));
    }
    const bool aRuns = cells->formsRun(c2, r2);
    a->swapped = aRuns;
    b->swapped = !aRuns;
    if (holdsTool(12)) {
        clearHintIfHighlighted(a.get());
        clearHintIfHighlighted(b.get());
    } else {
        clearMatchHint();
    }
    if (host)
        host->playSound("SOUND_SWAP");
    if (TortelunePlayer* player = boardPlayer())
        player->setHintSeen("HINT_SWAP");
}

void Grid::invalidSwap(int c1, int r1, int c2, int r2)
{
    RefPointer<CellSprite> first = cells->getCell(c1, r1);
    RefPointer<CellSprite> second = cells->getCell(c2, r2);
    if (!first || !second)
        return;
    int direction;
    if (c1 < c2)
        direction = CellSprite::Right;
    else if (c1 > c2)
        direction = CellSprite::Left;
    else if (r1 < r2)
        direction = CellSprite::Down;
    else
        direction = CellSprite::Up;
    static const int kOpposite[4] = {CellSprite::Right, CellSprite::Left, CellSprite::Down, CellSprite::Up};
    if (first->getState() == CellSprite::Idle)
        first->invalidSwap(direction, true, getCellNode(c1, r1), getCellNode(c2, r2));
    if (second->getState() == CellSprite::Idle)
        second->invalidSwap(kOpposite[direction], false, getCellNode(c2, r2), getCellNode(c1, r1));
    if (host)
        host->playSound("SOUND_INVALIDSWAP");
}

int Grid::cellRemovedCallback(void* context, BaseObject* argument)
{
    Grid* grid = static_cast<GridLink*>(context)->grid;
    if (grid)
        grid->onCellRemoved(argument);
    return 0;
}

void Grid::onCellRemoved(BaseObject* finishedStep)
{
    Modifier* step = objectCast<Modifier>(finishedStep);
    CellSprite* tile = step ? objectCast<CellSprite>(step->getTarget()) : nullptr;
    if (!tile)
        return;
    RefPointer<CellSprite> hold(tile);
    tile->setRemoved(true);
    cells->removeCell(tile);
}

void Grid::startRemoveEffect(CellSprite* tile, const std::string& key)
{
    RefPointer<Image> picture = ResourceLookup::findAs<Image>(key, "scenegame");
    RefPointer<Sprite> effect(new Sprite(tile->getX(), tile->getY(), picture.get()));
    effect->setFrameCount(8, false);
    effect->setAnchorPoint(Sprite::BottomLeft);
    effect->setPivotPointKind(Sprite::Center);
    if (tile->getParent())
        GameNode::insertAfter(effect.get(), tile);
    Modifier* root = BoardHost::animationRoot();
    if (!root || !tile->getParent()) {
        effect->setRemoved(true);
        return;
    }
    const TuningTable& t = tuning();
    RefPointer<Modifier> frames(new ModifierFrame(t.REMOVE_LOOP_COUNT, scaledDuration(t.REMOVE_FRAME_TIME)));
    frames->setTarget(effect.get());
    Modifier::addChild(root, frames.get());
    RefPointer<Modifier> shrink(new ModifierScale(scaledDuration(t.REMOVE_SCALE_DURATION), 1.0f, 0.0f));
    shrink->setTarget(effect.get());
    shrink->setEndFlags(Modifier::EndRemoveTarget);
    Modifier::addChild(frames.get(), shrink.get());
}

void Grid::removeMatches()
{
    std::vector<MatchGroup> groups = findMatches();
    GameDataState* state = boardState();
    const BoardKeys& keys = boardKeys();
    const TuningTable& t = tuning();
    PastryStation* station = host ? host->getPastryStation() : nullptr;
    int longest = 0;
    bool anyUnripe = false;
    bool x3 = false;
    bool x5 = false;
    bool comboShown = false;
    const bool career = isCareerPlay();
    for (MatchGroup& group : groups) {
        const int length = static_cast<int>(group.cells.size());
        if (state) {
            PlaySessionInfo& session = state->playSessionInfo;
            const int points = state->scoreTable.pointsMatch[static_cast<size_t>(std::min(length, 7))];
            session.addScore(static_cast<float>(points) * session.getScoreMultiplier());
            ++session.matches[length];
        }
        longest = std::max(longest, length);
        bool runUnripe = false;
        bool direct = false;
        int minColumn = INT32_MAX, maxColumn = INT32_MIN, minRow = INT32_MAX, maxRow = INT32_MIN;
        for (const MatchedCell& cell : group.cells) {
            const RefPointer<CellSprite>& tile = cells->cellAt(cell.column, cell.row);
            runUnripe = runUnripe || (tile && tile->isUnripe());
            direct = direct || (tile && tile->swapped);
            minColumn = std::min(minColumn, cell.column);
            maxColumn = std::max(maxColumn, cell.column);
            minRow = std::min(minRow, cell.row);
            maxRow = std::max(maxRow, cell.row);
        }
        anyUnripe = anyUnripe || runUnripe;
        int deliveryIndex = 0;
        for (const MatchedCell& cell : group.cells) {
            RefPointer<CellSprite> tile = cells->getCell(cell.column, cell.row);
            if (!tile)
                continue;
            if (controller->getSelectedColumn() == cell.column && controller->getSelectedRow() == cell.row) {
                tile->clearSelected();
                controller->dropSelection();
            }
            if (tile->isHighlighted())
                clearMatchHint();
            tile->swapped = false;
            raiseBothToolsTrophy();
            tile->onMatched(removalCallback(), link.get(), nullptr);
            const int x = gridNode->getX() + cell.column * keys.cellWidth;
            const int y = gridNode->getY() + cell.row * keys.cellHeight;
            // Without a station nothing is delivered; the removal still plays.
            bool taken = true;
            if (station) {
                taken = station->deliverIngredients(cell, runUnripe, x, y, deliveryIndex++, length);
                for (int extra = 1; extra < tile->getMultiplier(); ++extra)
                    station->deliverIngredients(cell, runUnripe, x, y, deliveryIndex++, length);
            }
            if (tile->getMultiplier() == 3)
                x3 = true;
            if (tile->getMultiplier() == 5)
                x5 = true;
            std::string key = "REMOVE_MATCH";
            if (!taken) {
                key = "REMOVE_MATCH_SUPERFLUOUS";
            } else if (runUnripe) {
                key = "REMOVE_MATCH_UNRIPE";
            } else if (career && state) {
                if (holdsTool(4)) {
                    if (state->ingredientBook.find(cell.ingredient) &&
                        state->ingredientBook.find(cell.ingredient)->isFruit)
                        key = "REMOVE_MATCH_QUALITYTOOL";
                } else if (holdsTool(5)) {
                    if (state->ingredientBook.find(cell.ingredient) &&
                        state->ingredientBook.find(cell.ingredient)->isChocolate)
                        key = "REMOVE_MATCH_QUALITYTOOL";
                }
            }
            startRemoveEffect(tile.get(), key);
        }
        if (direct) {
            if (TortelunePlayer* player = boardPlayer())
                ++player->numMatches;
            group.combo = 0;
        } else {
            group.combo = ++comboCount;
            raiseComboTrophy(comboCount);
        }
        if (runUnripe && state) {
            const float fill = state->bonusMeter.getFill() - static_cast<float>(std::abs(t.BONUS_MATCHUNRIPE));
            state->bonusMeter.setFill(
                std::min(static_cast<float>(t.BONUS_MAX), std::max(static_cast<float>(t.BONUS_MIN), fill)));
        }
        const int centreX = gridNode->getX() + (minColumn + maxColumn) * keys.cellWidth / 2 + keys.cellWidth / 2;
        const int centreY = gridNode->getY() + (minRow + maxRow) * keys.cellHeight / 2 - keys.cellHeight / 2;
        const bool frenzy = state && state->bonusMeter.isFrenzy();
        if (!frenzy && length > 3)
            showMatchFloater(group, centreX, centreY);
        if (group.combo > 0) {
            // Only the first combo run of a removal sounds and grows.
            int strength = 0;
            if (!comboShown) {
                comboShown = true;
                strength = ++comboFloaterCount;
            }
            showComboFloater(group, strength);
        }
        if (frenzy && direct)
            showFrenzyFloater(centreX, centreY);
        if (career && host && length > 4 && holdsTool(13)) {
            host->pulseTool(13);
            host->flyStarToTools(centreX, centreY);
        }
        if (career && state && direct) {
            PlaySessionInfo& session = state->playSessionInfo;
            if (holdsTool(3))
                session.bonusPlusCounter = std::min(std::max(session.bonusPlusCounter - 1, 0), t.TOOL_BONUSPLUS_COUNTER);
            if (holdsTool(8))
                zapIngredient(minColumn, maxColumn, minRow, maxRow);
        }
    }
    if (!host)
        return;
    static const char* const kMatchSounds[] = {"SOUND_MATCH3", "SOUND_MATCH4", "SOUND_MATCH5", "SOUND_MATCH6",
                                               "SOUND_MATCH7"};
    if (longest >= 3)
        host->playSound(kMatchSounds[std::min(longest, 7) - 3]);
    if (x3)
        host->playSound("SOUND_MATCH_X3");
    if (x5)
        host->playSound("SOUND_MATCH_X5");
    if (anyUnripe)
        host->playSound("SOUND_MATCH_UNRIPE");
    if (career && holdsTool(2)) {
        host->pulseTool(2);
        host->emitToolParticles(2, host->getScoreLabel(), 75, false);
    }
}

void Grid::zapIngredient(int minColumn, int maxColumn, int minRow, int maxRow)
{
    // The zone around the run is kept free; a random idle ingredient elsewhere pops.
    const int zoneLeft = std::max(0, minColumn - 1), zoneRight = std::min(width, maxColumn + 1);
    const int zoneTop = std::max(0, minRow - 1), zoneBottom = std::min(height, maxRow + 1);
    Random& random = cells->random();
    for (int attempt = 0; attempt < width * height; ++attempt) {
        const int c = random.nextInt(0, width);
        const int r = random.nextInt(0, height);
        const RefPointer<CellSprite>& tile = cells->cellAt(c, r);
        const bool inZone = c >= zoneLeft && c < zoneRight && r >= zoneTop && r < zoneBottom;
        if (!tile || tile->isSelected() || tile->getState() != CellSprite::Idle || tile->isBonus() || inZone)
            continue;
        if (host) {
            host->pulseTool(8);
            host->emitToolParticles(8, tile.get(), 70, false);
            host->playSound("SOUND_ZAPINGREDIENT");
        }
        // The tile shakes, then pops to nothing.
        Modifier* root = BoardHost::animationRoot();
        Modifier* shake = nullptr;
        if (root) {
            RefPointer<Modifier> step(
                new ModifierShake(tuning().REMOVE_SHAKE_OFFSET, tuning().REMOVE_SHAKE_OFFSET,
                                  tuning().TOOL_INGREDIENTZAP_SHAKE_DURATION));
            step->setTarget(tile.get());
            shake = Modifier::addChild(root, step.get());
        }
        tile->popOut(removalCallback(), link.get(), shake);
        return;
    }
}

void Grid::activateBonusAt(int column, int row)
{
    RefPointer<CellSprite> tile = cells->getCell(column, row);
    BonusSprite* bonus = objectCast<BonusSprite>(tile.get());
    if (!bonus || bonus->getState() != CellSprite::Idle)
        return;
    // The bonus's own hint has done its work once the bonus fires.
    if (HintManager::instance)
        HintManager::instance->closeShownHint("HINT_" + ingredientWord(bonus->getIngredient()));
    bonus->activate(this, removalCallback(), link.get());
    controller->restartHintTimer();
}

void Grid::updateReplenishTimers(int elapsedMs)
{
    for (ColumnRecord& record : columns) {
        if (record.countdown < 1 || !record.pending) {
            record.reload -= elapsedMs;
            record.pending = record.reload < 1;
        }
    }
}

void Grid::replenishColumns()
{
    for (int c = 0; c < width; ++c) {
        ColumnRecord& record = columns[static_cast<size_t>(c)];
        if (!cells->isEmpty(c, 0) || !cells->isEmpty(c, -1) || record.countdown <= 0 || !record.pending)
            continue;
        if (CellSprite* tile = cells->createCell(c, -1, std::string(), true))
            GameNode::addChild(getCellNode(c, -1), tile);
        record.pending = false;
        record.countdown = record.reload = boardKeys().replenishDelay;
    }
}

void Grid::showCells()
{
    for (int r = 0; r < height; ++r) {
        for (int c = 0; c < width; ++c) {
            const RefPointer<CellSprite>& tile = cells->cellAt(c, r);
            if (!tile)
                continue;
            tile->fallIn();
            GameNode::addChild(getCellNode(c, r), tile.get());
        }
    }
    if (host)
        host->playSound("SOUND_FILLGRID");
}

void Grid::attachCells()
{
    for (int r = 0; r < height; ++r) {
        for (int c = 0; c < width; ++c) {
            const RefPointer<CellSprite>& tile = cells->cellAt(c, r);
            if (!tile)
                continue;
            if (tile->getState() == CellSprite::FallingIn)
                tile->onLanded();
            GameNode::addChild(getCellNode(c, r), tile.get());
        }
    }
}

void Grid::runPlacementPass()
{
    // The tiles the level start staged ask for their first-time hints; the
    // hint system shows one at a time and each only once per player.
    for (int r = 0; r < height; ++r) {
        for (int c = 0; c < width; ++c) {
            if (const RefPointer<CellSprite>& tile = cells->cellAt(c, r))
                tile->showFirstTimeHint();
        }
    }
}

void Grid::dropAllCells()
{
    clearMatchHint();
    cells->forEach([&](int, int r, CellSprite* tile) {
        if (r >= 0)
            tile->dropOut();
    });
}

void Grid::playLevelUp()
{
    busy = true;
    if (controller->hasSelection())
        controller->clearSelection(controller->getSelectedColumn(), controller->getSelectedRow());
    controller->clearHover();
    clearMatchHint();
    Modifier* last = nullptr;
    for (int r = -1; r < height; ++r) {
        for (int c = 0; c < width; ++c) {
            if (const RefPointer<CellSprite>& tile = cells->cellAt(c, r)) {
                if (Modifier* end = tile->playLevelUp())
                    last = end;
            }
        }
    }
    // Nothing to wait for (an empty board, no animation tree): the board is free at once.
    if (!last) {
        busy = false;
        return;
    }
    Modifier::addChild(last, new ModifierCallback(this, &Grid::setBusy, false));
}
