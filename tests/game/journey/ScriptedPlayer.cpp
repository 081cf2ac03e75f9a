#include "ScriptedPlayer.h"

#include "framework/gui/Dialog.h"
#include "framework/platform/InputHandler.h"
#include "game/board/BoardKeys.h"
#include "game/board/Grid.h"
#include "game/board/GridController.h"
#include "game/board/GridWrapper.h"
#include "game/data/GameData.h"
#include "game/data/TuningTable.h"
#include "game/production/ConveyorView.h"
#include "game/production/Countertop.h"
#include "game/production/Phase.h"
#include "game/scenes/SceneGame.h"

namespace {

constexpr int kFrameMs = 20;
// A player's pause between two actions.
constexpr int kReactionMs = 300;

} // namespace

ScriptedPlayer::ScriptedPlayer(SceneGame* scene) : scene(scene) {}

void ScriptedPlayer::startLevel()
{
    reactionMs = 0;
    stuckMs = 0;
}

void ScriptedPlayer::answerCustomer()
{
    // The customer's hint bubble takes a click once its OK button shows.
    Dialog* hint = scene->getDialog("DIALOG_CUSTOMERHINT");
    GameNode* ok = hint && scene->isDialogShown("DIALOG_CUSTOMERHINT") ? hint->getComponent("BUTTON_OK") : nullptr;
    if (ok && ok->isVisible())
        click(hint->getX() + hint->getWidth() / 2, hint->getY() + hint->getHeight() / 2);
}

void ScriptedPlayer::click(int x, int y)
{
    // The scene's input handler is where the window's clicks arrive.
    scene->getInputHandler()->onLeftDown(x, y, 1, false);
    scene->getInputHandler()->onLeftUp(x, y, 0);
}

void ScriptedPlayer::pressCell(Grid* grid, int column, int row)
{
    const BoardKeys& keys = boardKeys();
    // The middle of the cell as the board maps points to cells (tiles stand
    // on the bottom of their cell, one row above the node's top).
    const int x = grid->getGridNode()->getX() + column * keys.cellWidth + keys.cellWidth / 2;
    const int y = grid->getGridNode()->getY() + (row - 1) * keys.cellHeight + keys.cellHeight / 2;
    click(x, y);
}

bool ScriptedPlayer::packageIfReady(Countertop* countertop, ConveyorView* belt)
{
    if (countertop && countertop->hasFinishedPastry()) {
        const TuningTable& t = tuning();
        click((t.COUNTERTOP_LEFT + t.COUNTERTOP_RIGHT) / 2, (t.COUNTERTOP_TOP + t.COUNTERTOP_BOTTOM) / 2);
        return true;
    }
    if (!belt)
        return false;
    bool ready = false;
    for (const RefPointer<Spot>& spot : GameData::instance->state->conveyorBelt.spots)
        ready = ready || spot->state == Spot::Ready;
    if (!ready)
        return false;
    // Below the belt's line, clear of the menu button.
    click(400, (tuning().CONVEYOR_LINE + 600) / 2);
    return true;
}

std::map<std::string, int> ScriptedPlayer::neededIngredients() const
{
    std::map<std::string, int> needed;
    auto add = [&needed](Pastry* pastry) {
        if (!pastry || pastry->isFinished())
            return;
        for (const Pastry::Ingredient& ingredient : pastry->ingredients)
            needed[ingredient.name] += ingredient.amount;
    };
    if (auto* countertop = dynamic_cast<Countertop*>(scene->getPastryStation())) {
        for (int spot = 0; spot < countertop->getSize(); ++spot)
            add(countertop->getPastry(spot).get());
    } else {
        for (const RefPointer<Spot>& spot : GameData::instance->state->conveyorBelt.spots)
            add(spot->getPastry());
    }
    return needed;
}

void ScriptedPlayer::trySwaps(Grid* grid, const SwapVisitor& visit)
{
    const BoardKeys& keys = boardKeys();
    GridWrapper* cells = grid->getCells();
    for (int column = 0; column < keys.gridWidth; ++column) {
        for (int row = 0; row < keys.gridHeight; ++row) {
            const int from[2] = {column, row};
            const int neighbours[2][2] = {{column + 1, row}, {column, row + 1}};
            for (const auto& to : neighbours) {
                if (!grid->isValidSwap(column, row, to[0], to[1]))
                    continue;
                cells->exchangeCells(column, row, to[0], to[1]);
                const std::vector<MatchGroup> groups = grid->findMatches();
                cells->exchangeCells(column, row, to[0], to[1]);
                if (!visit(from, to, groups))
                    return;
            }
        }
    }
}

bool ScriptedPlayer::swapBestPair(Grid* grid)
{
    const std::map<std::string, int> needed = neededIngredients();
    int bestValue = -1;
    int best[4] = {};
    trySwaps(grid, [&](const int (&from)[2], const int (&to)[2], const std::vector<MatchGroup>& groups) {
        std::map<std::string, int> stillNeeded = needed;
        int value = 0;
        for (const MatchGroup& group : groups) {
            for (const MatchedCell& cell : group.cells) {
                int& need = stillNeeded[cell.ingredient];
                value += need > 0 ? 10 : 1;
                need = need > 0 ? need - 1 : 0;
            }
            if (group.cells.size() > 3)
                value += 5 * static_cast<int>(group.cells.size() - 3);
        }
        if (value > bestValue) {
            bestValue = value;
            best[0] = from[0];
            best[1] = from[1];
            best[2] = to[0];
            best[3] = to[1];
        }
        return true;
    });
    if (bestValue < 0)
        return false;
    pressCell(grid, best[0], best[1]);
    pressCell(grid, best[2], best[3]);
    return true;
}

bool ScriptedPlayer::fireABonus(Grid* grid)
{
    const BoardKeys& keys = boardKeys();
    for (int column = 0; column < keys.gridWidth; ++column) {
        for (int row = 0; row < keys.gridHeight; ++row) {
            if (grid->isBonusAt(column, row)) {
                pressCell(grid, column, row);
                return true;
            }
        }
    }
    return false;
}

void ScriptedPlayer::act(LevelOutcome& outcome)
{
    reactionMs -= kFrameMs;
    if (reactionMs > 0 || scene->isPaused())
        return;
    GamePieces* pieces = scene->getPhase() ? scene->getPhase()->getPieces() : nullptr;
    auto* countertop = dynamic_cast<Countertop*>(scene->getPastryStation());
    auto* belt = dynamic_cast<ConveyorView*>(scene->getPastryStation());
    if (packageIfReady(countertop, belt)) {
        ++outcome.packagings;
        reactionMs = kReactionMs;
        return;
    }
    auto* grid = pieces ? dynamic_cast<Grid*>(pieces->board.get()) : nullptr;
    if (!grid || !grid->getController() || !grid->getController()->acceptsInput() || !grid->allCellsIdle() ||
        grid->hasMatch() || grid->hasFallingGap())
        return;
    if (swapBestPair(grid) || fireABonus(grid)) {
        ++outcome.moves;
        reactionMs = kReactionMs;
        stuckMs = 0;
    } else {
        stuckMs += kFrameMs;
        outcome.boardOutOfMoves = stuckMs >= kMaxStuckMs;
        outcome.boardKnewItWasStuck = grid->isBoardStuck();
    }
}

