#include "game/board/ZapBonus.h"

#include <cstdlib>

#include "framework/core/ObjectFactoryContainer.h"
#include "framework/graphics/Image.h"
#include "framework/resources/ResourceLookup.h"
#include "framework/scenegraph/ModifierDelay.h"
#include "framework/scenegraph/ModifierFrame.h"
#include "framework/scenegraph/ModifierLocationLine.h"
#include "framework/scenegraph/ModifierScale.h"
#include "framework/scenegraph/ModifierVisible.h"
#include "game/board/BoardHost.h"
#include "game/board/BoardKeys.h"
#include "game/board/GridWrapper.h"
#include "game/data/GameData.h"
#include "game/data/TuningTable.h"
#include "game/effects/OneShotModifiers.h"
#include "game/production/PastryStation.h"

TT_DEFINE_RECORD(ZapBonus, &BonusSprite::classRecord);
TT_DEFINE_RECORD(BlockZapBonus, &ZapBonus::classRecord);
TT_DEFINE_RECORD(RowZapBonus, &ZapBonus::classRecord);
TT_DEFINE_RECORD(ColumnZapBonus, &ZapBonus::classRecord);
TT_DEFINE_RECORD(RandomZapBonus, &ZapBonus::classRecord);
TT_DEFINE_RECORD(FruitPickerBonus, &ZapBonus::classRecord);
TT_DEFINE_RECORD(UnripeZapBonus, &FruitPickerBonus::classRecord);
TT_REGISTER_CLASS(ZapBonus);
TT_REGISTER_CLASS(BlockZapBonus);
TT_REGISTER_CLASS(RowZapBonus);
TT_REGISTER_CLASS(ColumnZapBonus);
TT_REGISTER_CLASS(RandomZapBonus);
TT_REGISTER_CLASS(FruitPickerBonus);
TT_REGISTER_CLASS(UnripeZapBonus);

namespace {

// Plays a board sound when its turn comes.
class SoundStep : public Modifier {
public:
    explicit SoundStep(const std::string& name) : name(name) {}
    void step(int) override
    {
        finish();
        if (BoardHost* host = BoardHost::current())
            host->playSound(name);
    }

private:
    std::string name;
};

int rippleStep()
{
    return scaledDuration(tuning().ZAP_RIPPLE_DELAY);
}

bool ingredientIsFruit(const std::string& name)
{
    if (!GameData::instance || !GameData::instance->state)
        return false;
    const IngredientBook::Entry* entry = GameData::instance->state->ingredientBook.find(name);
    return entry && entry->isFruit;
}

} // namespace

void ZapBonus::onMatched(const GuiMethod& done, BaseObject* alive, Modifier* /*parent*/)
{
    callback = done;
    keepAlive = alive;
    // Above every other tile while it zaps; its own zap reads its new place.
    moveToLayer(sceneLayer("NODE_GRIDZAP"));
    zapTargets();
    setState(Leaving);
}

void ZapBonus::zapCell(int column, int row, const std::string& soundName, int delayMs)
{
    GridWrapper* model = cellModel();
    RefPointer<CellSprite> tile = model ? model->getCell(column, row) : RefPointer<CellSprite>();
    if (!tile || tile->getState() != Idle)
        return;
    const TuningTable& t = tuning();
    const BoardKeys& keys = boardKeys();
    const int x = tile->getX();
    const int y = tile->getY();
    tile->setState(Leaving);
    tile->clearOverlays();

    RefPointer<Sprite> mark(new Sprite(x, y, ResourceLookup::findAs<Image>("GRID_BONUS_HOVER", "scenegame").get()));
    mark->setAnchorPoint(Sprite::BottomLeft);
    RefPointer<Sprite> burst(new Sprite(x + t.BONUS_STARS_OFFSET_X, y + t.BONUS_STARS_OFFSET_Y,
                                        ResourceLookup::findAs<Image>("REMOVE_BONUS_MATCH", "scenegame").get()));
    burst->setFrameCount(9, false);
    burst->setAnchorPoint(Sprite::BottomLeft);
    burst->setPivotFollowsAnchor(false);
    burst->setPivotPoint(static_cast<float>(burst->getWidth()) * 0.5f, static_cast<float>(burst->getHeight()) * 0.5f);
    burst->setVisible(false);
    if (tile->getParent()) {
        GameNode::insertBefore(mark.get(), tile.get());
        GameNode::insertBefore(burst.get(), tile.get());
    }

    // Each unit of the tile's ingredient, at its cell on the screen; a bonus
    // and an unripe tile deliver nothing.
    auto deliver = [&](auto&& send) {
        if (tile->isBonus() || tile->isUnripe())
            return;
        PastryStation* station = BoardHost::current() ? BoardHost::current()->getPastryStation() : nullptr;
        if (!station)
            return;
        const MatchedCell cell {tile->getIngredient(), column, row};
        const int sx = tile->getOriginX() + column * keys.cellWidth;
        const int sy = tile->getOriginY() + row * keys.cellHeight;
        for (int unit = 0; unit < tile->getMultiplier(); ++unit)
            send(station, cell, sx, sy, unit);
    };

    Modifier* wait = chain(nullptr, new ModifierDelay(delayMs), tile.get());
    if (!wait) {
        // Without an animation tree the zap ends at once.
        mark->setRemoved(true);
        burst->setRemoved(true);
        tile->setVisible(false);
        deliver([](PastryStation* station, const MatchedCell& cell, int sx, int sy, int unit) {
            station->deliverIngredients(cell, false, sx, sy, unit, 3);
        });
        tile->finishWith(callback, keepAlive.get(), nullptr);
        return;
    }
    if (!soundName.empty())
        chain(wait, new SoundStep(soundName), tile.get());
    const int up = scaledDuration(t.ZAP_SCALE_UP_DURATION);
    const int down = scaledDuration(t.ZAP_SCALE_DOWN_DURATION);
    chain(wait, new ModifierLocationLine(up, x, y, x, y - t.ZAP_TRAVEL, &boardSmoothstep), tile.get());
    Modifier* grow = chain(wait, new ModifierScale(up, 1.0f, t.ZAP_SCALE_UP), tile.get());
    Modifier* hold = chain(grow, new ModifierDelay(t.ZAP_DELAY), tile.get());
    chain(hold, new ModifierLocationLine(down, x, y - t.ZAP_TRAVEL, x, y, &boardSmoothstep), tile.get());
    Modifier* shrink = chain(hold, new ModifierScale(down, t.ZAP_SCALE_UP, t.ZAP_SCALE_DOWN), tile.get());

    deliver([&](PastryStation* station, const MatchedCell& cell, int sx, int sy, int unit) {
        chain(shrink, new ModifierInvoke(station, cell, sx, sy, unit, 3), tile.get());
    });
    Modifier* after = chain(shrink, new ModifierDelay(scaledDuration(t.ZAP_DELAY_AFTER)), tile.get());
    Modifier* hide = chain(after, new ModifierVisible(ModifierVisible::Hide), tile.get());
    Modifier* afterAfter = chain(hide, new ModifierDelay(scaledDuration(t.ZAP_DELAY_AFTER_AFTER)), tile.get());
    Modifier* markGone = chain(afterAfter, new ModifierVisible(ModifierVisible::Hide), mark.get());
    markGone->addEndFlags(Modifier::EndRemoveTarget);

    chain(shrink, new ModifierVisible(ModifierVisible::Show), burst.get());
    Modifier* frames =
        chain(shrink, new ModifierFrame(t.REMOVE_LOOP_COUNT, scaledDuration(t.REMOVE_FRAME_TIME)), burst.get());
    Modifier* vanish = chain(frames, new ModifierScale(scaledDuration(t.REMOVE_SCALE_DURATION), 1.0f, 0.0f), burst.get());
    vanish->addEndFlags(Modifier::EndRemoveTarget);
    tile->finishWith(callback, keepAlive.get(), vanish);
}

void BlockZapBonus::highlightTargets()
{
    const int c = getColumn();
    const int r = getRow();
    const int around[8][2] = {{-1, -1}, {0, -1}, {1, -1}, {1, 0}, {1, 1}, {0, 1}, {-1, 1}, {-1, 0}};
    for (const auto& step : around)
        markCell(c + step[0], r + step[1]);
}

void BlockZapBonus::zapTargets()
{
    playSound("SOUND_BONUS_ZAP");
    const int c = getColumn();
    const int r = getRow();
    const int d = rippleStep();
    zapCell(c, r, "SOUND_ZAPINGREDIENT", 0);
    const int around[8][2] = {{-1, -1}, {0, -1}, {1, -1}, {1, 0}, {1, 1}, {0, 1}, {-1, 1}, {-1, 0}};
    for (int k = 0; k < 8; ++k)
        zapCell(c + around[k][0], r + around[k][1], "SOUND_ZAPINGREDIENT", (k + 1) * d);
}

void ZapBonus::highlightLine(Line line)
{
    const bool across = line == Line::Across;
    const int own = across ? getColumn() : getRow();
    const int length = across ? boardKeys().gridWidth : boardKeys().gridHeight;
    for (int i = 0; i < length; ++i) {
        if (i != own)
            markCell(across ? i : getColumn(), across ? getRow() : i);
    }
}

void ZapBonus::zapLine(Line line)
{
    playSound("SOUND_BONUS_ZAP");
    const bool across = line == Line::Across;
    const int own = across ? getColumn() : getRow();
    const int length = across ? boardKeys().gridWidth : boardKeys().gridHeight;
    const int d = rippleStep();
    auto zapAt = [&](int i, int delayMs) {
        zapCell(across ? i : getColumn(), across ? getRow() : i, "SOUND_ZAPINGREDIENT", delayMs);
    };
    zapAt(own, 0);
    for (int k = 0, i = own - 1; i >= 0; ++k, --i)
        zapAt(i, k * d);
    for (int k = 0, i = own + 1; i < length; ++k, ++i)
        zapAt(i, k * d);
}

void RowZapBonus::highlightTargets()
{
    highlightLine(Line::Across);
}

void RowZapBonus::zapTargets()
{
    zapLine(Line::Across);
}

void ColumnZapBonus::highlightTargets()
{
    highlightLine(Line::Down);
}

void ColumnZapBonus::zapTargets()
{
    zapLine(Line::Down);
}

RandomZapBonus::RandomZapBonus(int column, int row, const std::string& name) : ZapBonus(column, row, name)
{
    shuffleTargets();
}

RandomZapBonus::RandomZapBonus(AbstractProperty* configuration) : ZapBonus(configuration)
{
    shuffleTargets();
}

void RandomZapBonus::shuffleTargets()
{
    const BoardKeys& keys = boardKeys();
    targets.clear();
    for (int r = 0; r < keys.gridHeight; ++r) {
        for (int c = 0; c < keys.gridWidth; ++c)
            targets.emplace_back(c, r);
    }
    for (size_t i = 1; i < targets.size(); ++i)
        std::swap(targets[i], targets[static_cast<size_t>(std::rand()) % (i + 1)]);
}

void RandomZapBonus::highlightTargets()
{
    for (size_t k = 0; k < targets.size() && k < 8; ++k)
        markCell(targets[k].first, targets[k].second);
}

void RandomZapBonus::zapTargets()
{
    playSound("SOUND_BONUS_ZAP");
    const int d = rippleStep();
    for (size_t k = 0; k < targets.size() && k < 8; ++k)
        zapCell(targets[k].first, targets[k].second, "SOUND_ZAPINGREDIENT", static_cast<int>(k + 1) * d);
    zapCell(getColumn(), getRow(), "SOUND_ZAPINGREDIENT", 0);
}

bool FruitPickerBonus::isTarget(const CellSprite& tile) const
{
    return ingredientIsFruit(tile.getIngredient());
}

void FruitPickerBonus::highlightTargets()
{
    GridWrapper* model = cellModel();
    if (!model)
        return;
    const BoardKeys& keys = boardKeys();
    for (int r = 0; r < keys.gridHeight; ++r) {
        for (int c = 0; c < keys.gridWidth; ++c) {
            const RefPointer<CellSprite>& tile = model->cellAt(c, r);
            if (tile && tile->getState() == Idle && isTarget(*tile))
                markCell(c, r);
        }
    }
}

void FruitPickerBonus::zapEvery(const std::string& soundName)
{
    showBonusName();
    // The own cell leaves the ordinary way; the zaps below pass it by.
    removeAfter(tuning().BONUSNAME_DELAY, callback, keepAlive.get());
    GridWrapper* model = cellModel();
    if (!model)
        return;
    const BoardKeys& keys = boardKeys();
    const int d = rippleStep();
    int k = 0;
    for (int r = 0; r < keys.gridHeight; ++r) {
        for (int c = 0; c < keys.gridWidth; ++c) {
            const RefPointer<CellSprite>& tile = model->cellAt(c, r);
            if (tile && tile.get() != this && isTarget(*tile))
                zapCell(c, r, soundName, k++ * d);
        }
    }
}

void FruitPickerBonus::zapTargets()
{
    playSound("SOUND_BONUS_FRUITPICKER");
    zapEvery("SOUND_ZAPFRUIT");
}

bool UnripeZapBonus::isTarget(const CellSprite& tile) const
{
    return tile.isUnripe();
}

void UnripeZapBonus::zapTargets()
{
    playSound("SOUND_BONUS_UNRIPEZAP");
    zapEvery("SOUND_ZAPUNRIPE");
}
