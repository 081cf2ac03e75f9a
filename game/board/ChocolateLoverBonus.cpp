#include "game/board/ChocolateLoverBonus.h"

#include <algorithm>

#include "framework/core/ObjectFactoryContainer.h"
#include "framework/core/Random.h"
#include "framework/scenegraph/ModifierFunction.h"
#include "game/board/BoardHost.h"
#include "game/board/BoardKeys.h"
#include "game/board/Grid.h"
#include "game/board/GridWrapper.h"
#include "game/board/ModifierReplaceCellSprite.h"
#include "game/data/GameData.h"
#include "game/data/TuningTable.h"
#include "game/effects/ModifierShake.h"

TT_DEFINE_RECORD(ChocolateLoverBonus, &BonusSprite::classRecord);
TT_REGISTER_CLASS(ChocolateLoverBonus);

namespace {

// Draws before a cell settles for the first name that makes no run.
constexpr int kMaxDraws = 64;

} // namespace

std::vector<std::string> ChocolateLoverBonus::chocolateNames()
{
    std::vector<std::string> names;
    if (!GameData::instance || !GameData::instance->state)
        return names;
    for (const LevelIngredient& entry : GameData::instance->getCurrentLevel().ingredients) {
        const IngredientBook::Entry* flags = GameData::instance->state->ingredientBook.find(entry.name);
        if (!flags || !flags->isChocolate)
            continue;
        // A name listed twice would count as two chocolates and could leave
        // no name that breaks a run.
        if (std::find(names.begin(), names.end(), entry.name) == names.end())
            names.push_back(entry.name);
    }
    return names;
}

std::map<std::pair<int, int>, std::string> ChocolateLoverBonus::chooseContents(const std::vector<std::string>& names)
{
    std::map<std::pair<int, int>, std::string> contents;
    if (names.size() < 2)
        return contents;
    const BoardKeys& keys = boardKeys();
    GameDataState* state = boardState();
    Random fallback;
    Random& random = state ? state->gridWrapper.random() : fallback;
    const int count = static_cast<int>(names.size());
    auto at = [&](int c, int r) -> const std::string* {
        auto found = contents.find({c, r});
        return found == contents.end() ? nullptr : &found->second;
    };
    auto makesRun = [&](int c, int r, const std::string& name) {
        const std::string* l1 = at(c - 1, r);
        const std::string* l2 = at(c - 2, r);
        const std::string* u1 = at(c, r - 1);
        const std::string* u2 = at(c, r - 2);
        return (l1 && l2 && *l1 == name && *l2 == name) || (u1 && u2 && *u1 == name && *u2 == name);
    };
    for (int r = 0; r < keys.gridHeight; ++r) {
        for (int c = 0; c < keys.gridWidth; ++c) {
            if (count == 2) {
                contents[{c, r}] = names[static_cast<size_t>((r % 2 + c % 2) % 2)];
                continue;
            }
            int index = 0;
            int draws = 0;
            do {
                index = random.next() % count;
                if (index < 0)
                    index += count;
            } while (makesRun(c, r, names[static_cast<size_t>(index)]) && ++draws < kMaxDraws);
            if (draws >= kMaxDraws) {
                for (index = 0; index < count && makesRun(c, r, names[static_cast<size_t>(index)]); ++index) {
                }
            }
            contents[{c, r}] = names[static_cast<size_t>(index)];
        }
    }
    return contents;
}

void ChocolateLoverBonus::highlightTargets()
{
    const BoardKeys& keys = boardKeys();
    for (int r = 0; r < keys.gridHeight; ++r) {
        for (int c = 0; c < keys.gridWidth; ++c)
            markCell(c, r);
    }
}

int ChocolateLoverBonus::clearMarksCallback(void* context, BaseObject*)
{
    auto* bonus = static_cast<ChocolateLoverBonus*>(context);
    if (GameNode* marks = bonus->sceneLayer("NODE_HOVER")) {
        if (GameNode* first = marks->getFirstChild())
            GameNode::releaseSiblings(first);
    }
    return 0;
}

void ChocolateLoverBonus::onMatched(const GuiMethod& callback, BaseObject* keepAlive, Modifier*)
{
    Grid* board = grid();
    if (!board || fired || !board->allCellsIdle() || !board->isFull())
        return;
    playSound("SOUND_BONUS_CHOCOLATELOVER");
    const std::vector<std::string> names = chocolateNames();
    if (names.size() < 2) {
        // Nothing to rebuild with: the bonus leaves, or a board whose only
        // move is this bonus would never be mixed anew.
        popOut(callback, keepAlive, nullptr);
        return;
    }
    showBonusName();
    const std::map<std::pair<int, int>, std::string> contents = chooseContents(names);
    const TuningTable& t = tuning();
    GridWrapper* cells = board->getCells();
    Modifier* root = BoardHost::animationRoot();
    Modifier* lastShake = nullptr;
    const BoardKeys& keys = boardKeys();
    for (int r = 0; r < keys.gridHeight; ++r) {
        for (int c = 0; c < keys.gridWidth; ++c) {
            RefPointer<CellSprite> tile = cells->getCell(c, r);
            const std::string& name = contents.at({c, r});
            if (!root) {
                RefPointer<ModifierReplaceCellSprite> now(new ModifierReplaceCellSprite(board->getLink(), c, r, name));
                now->setTarget(tile.get());
                now->step(0);
                continue;
            }
            // Claimed: nothing swaps a tile that is about to be replaced.
            tile->setState(Leaving);
            tile->clearOverlays();
            Modifier* shake = chain(root,
                                    new ModifierShake(t.REMOVE_SHAKE_OFFSET, t.REMOVE_SHAKE_OFFSET,
                                                      scaledDuration(t.REMOVE_SHAKE_DURATION)),
                                    tile.get());
            chain(shake, new ModifierReplaceCellSprite(board->getLink(), c, r, name), tile.get());
            lastShake = shake;
        }
    }
    if (lastShake)
        chain(lastShake, new ModifierFunction(GuiMethod(this, &ChocolateLoverBonus::clearMarksCallback), this), nullptr);
    else
        clearMarksCallback(this, nullptr);
    fired = true;
}
