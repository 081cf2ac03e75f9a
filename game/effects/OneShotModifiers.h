#pragma once

#include <functional>
#include <utility>

#include "framework/core/RefPointer.h"
#include "framework/core/StringUtils.h"
#include "framework/scenegraph/GameNode.h"
#include "framework/scenegraph/Modifier.h"
#include "game/board/MatchedCell.h"

class PastryStation;

// Game steps that do their work in their first step and finish: each one
// sets or moves something at its point of a chain.

// Sets the target sprite's current frame.
class ModifierCurrentFrame : public Modifier {
    TT_CLASS_RECORD(ModifierCurrentFrame)
public:
    explicit ModifierCurrentFrame(int frame) : frame(frame) {}
    // Reads "frame".
    explicit ModifierCurrentFrame(AbstractProperty* configuration);
    void step(int deltaMs) override;

private:
    int frame;
};

// Sets the target sprite's "reverseframes" flag.
class ModifierFrameDirection : public Modifier {
    TT_CLASS_RECORD(ModifierFrameDirection)
public:
    explicit ModifierFrameDirection(bool reverse) : reverse(reverse) {}
    // Reads "reverse".
    explicit ModifierFrameDirection(AbstractProperty* configuration);
    void step(int deltaMs) override;

private:
    bool reverse;
};

// Enables (action 5), toggles (6, buttons and switches only) or disables
// (anything else) a button, switch or slider; other nodes are left alone.
class ModifierEnabled : public Modifier {
    TT_CLASS_RECORD(ModifierEnabled)
public:
    static constexpr int Enable = 5;
    static constexpr int Toggle = 6;

    explicit ModifierEnabled(int action) : action(action) {}
    // Reads "action".
    explicit ModifierEnabled(AbstractProperty* configuration);
    void step(int deltaMs) override;

private:
    int action;
};

// Gives the target sprite a named pivot (Sprite::AnchorKind); other nodes are left alone.
class ModifierPivotPoint : public Modifier {
    TT_CLASS_RECORD(ModifierPivotPoint)
public:
    explicit ModifierPivotPoint(int pivotKind) : pivotKind(pivotKind) {}
    // Reads "pivot".
    explicit ModifierPivotPoint(AbstractProperty* configuration);
    void step(int deltaMs) override;

private:
    int pivotKind;
};

// Shows the target when a counter is above 0 and hides it otherwise. The
// counter is read through its owner, which the modifier holds, never
// through a pointer into storage that may move.
class ModifierVisibleIfPositive : public Modifier {
    TT_CLASS_RECORD(ModifierVisibleIfPositive)
public:
    // The counter is `(owner->*read)(index)`.
    template <class Owner, class Result>
    ModifierVisibleIfPositive(Owner* owner, Result (Owner::*read)(int) const, int index)
        : owner(owner), counter([owner, read, index] { return static_cast<int>((owner->*read)(index)); })
    {
    }
    // Any other read of a counter that `owner` (held) keeps.
    ModifierVisibleIfPositive(BaseObject* owner, std::function<int()> read) : owner(owner), counter(std::move(read)) {}
    void step(int deltaMs) override;

private:
    RefPointer<BaseObject> owner;
    std::function<int()> counter;
};

// Moves the target into a sibling's parent directly after (or before) the
// sibling; nothing when it is there already. Either way the target's pending
// removal is cleared. A sibling that is gone or has no parent: nothing.
class ModifierMoveAfter : public Modifier {
    TT_CLASS_RECORD(ModifierMoveAfter)
public:
    explicit ModifierMoveAfter(GameNode* sibling) : other(sibling ? sibling->getLink() : nullptr) {}
    void step(int deltaMs) override;

private:
    RefPointer<NodeLink> other;
};

class ModifierMoveBefore : public Modifier {
    TT_CLASS_RECORD(ModifierMoveBefore)
public:
    explicit ModifierMoveBefore(GameNode* sibling) : other(sibling ? sibling->getLink() : nullptr) {}
    void step(int deltaMs) override;

private:
    RefPointer<NodeLink> other;
};

// Moves the target under a new parent as its last child and clears its removal mark.
class ModifierReparent : public Modifier {
    TT_CLASS_RECORD(ModifierReparent)
public:
    explicit ModifierReparent(GameNode* newParent) : other(newParent ? newParent->getLink() : nullptr) {}
    void step(int deltaMs) override;

private:
    RefPointer<NodeLink> other;
};

// Sets the target label's text.
class ModifierSetText : public Modifier {
    TT_CLASS_RECORD(ModifierSetText)
public:
    explicit ModifierSetText(const WString& text) : text(text) {}
    void step(int deltaMs) override;

private:
    WString text;
};

// Hands one zapped cell to the pastry station at its point of an animation:
// deliverIngredients(cell, no unripe, a, b, c, d). The station is held.
class ModifierInvoke : public Modifier {
    TT_CLASS_RECORD(ModifierInvoke)
public:
    ModifierInvoke(PastryStation* station, const MatchedCell& cell, int a, int b, int c, int d);
    ~ModifierInvoke() override;
    void step(int deltaMs) override;

private:
    RefPointer<PastryStation> station;
    MatchedCell cell;
    int a;
    int b;
    int c;
    int d;
};
