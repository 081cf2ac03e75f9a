#pragma once

#include <string>
#include <utility>
#include <vector>

#include "game/board/BonusSprite.h"

// A bonus that zaps cells: each target rises, grows, drops back, delivers its
// ingredients and vanishes behind a burst. The bare class zaps nothing.
class ZapBonus : public BonusSprite {
    TT_CLASS_RECORD(ZapBonus)
public:
    using BonusSprite::BonusSprite;

    void onMatched(const GuiMethod& callback, BaseObject* keepAlive, Modifier* parent) override;
    // Starts the zap of every target cell.
    virtual void zapTargets() {}
    // The one-cell zap after `delayMs`; a missing or busy cell is skipped.
    // The cell is claimed at once, so that other zaps pass it by.
    void zapCell(int column, int row, const std::string& soundName, int delayMs);

protected:
    // The bonus's own row (Across) or column (Down).
    enum class Line { Across, Down };
    // Marks every other cell of the line.
    void highlightLine(Line line);
    // Zaps its own cell at once, then the line outwards, both sides in step.
    void zapLine(Line line);

    GuiMethod callback;
    RefPointer<BaseObject> keepAlive;
};

// Its own cell and the eight around it, clockwise from the upper left.
class BlockZapBonus : public ZapBonus {
    TT_CLASS_RECORD(BlockZapBonus)
public:
    using ZapBonus::ZapBonus;
    void highlightTargets() override;
    void zapTargets() override;
};

// Its whole row, outwards from its own cell.
class RowZapBonus : public ZapBonus {
    TT_CLASS_RECORD(RowZapBonus)
public:
    using ZapBonus::ZapBonus;
    void highlightTargets() override;
    void zapTargets() override;
};

// Its whole column, outwards from its own cell.
class ColumnZapBonus : public ZapBonus {
    TT_CLASS_RECORD(ColumnZapBonus)
public:
    using ZapBonus::ZapBonus;
    void highlightTargets() override;
    void zapTargets() override;
};

// Eight cells of a list shuffled when the bonus is made, then itself.
class RandomZapBonus : public ZapBonus {
    TT_CLASS_RECORD(RandomZapBonus)
public:
    RandomZapBonus(int column, int row, const std::string& name);
    explicit RandomZapBonus(AbstractProperty* configuration);
    void highlightTargets() override;
    void zapTargets() override;
    const std::vector<std::pair<int, int>>& getTargets() const { return targets; }

private:
    void shuffleTargets();
    std::vector<std::pair<int, int>> targets;
};

// Every fruit on the board; itself the ordinary way after showing its name.
class FruitPickerBonus : public ZapBonus {
    TT_CLASS_RECORD(FruitPickerBonus)
public:
    using ZapBonus::ZapBonus;
    void highlightTargets() override;
    void zapTargets() override;

protected:
    virtual bool isTarget(const CellSprite& tile) const;
    void zapEvery(const std::string& soundName);
};

// Every unripe tile on the board, the fruit picker's way.
class UnripeZapBonus : public FruitPickerBonus {
    TT_CLASS_RECORD(UnripeZapBonus)
public:
    using FruitPickerBonus::FruitPickerBonus;
    void zapTargets() override;

protected:
    bool isTarget(const CellSprite& tile) const override;
};
