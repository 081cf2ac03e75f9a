#pragma once

#include <cstdint>
#include <string>

#include "framework/core/BaseObject.h"
#include "framework/core/RefPointer.h"
#include "framework/scenegraph/GameNode.h"

class AbstractProperty;

// One step of an animation acting on a target node, advanced every frame with
// the elapsed milliseconds until it declares itself finished. Modifiers live in
// a node's own list or in an intrusive tree under a scene's AnimTree, where a
// child starts in the frame its parent finishes.
class Modifier : public BaseObject {
    TT_CLASS_RECORD(Modifier)
public:
    // What happens around a modifier's end (see GameNode::updateModifiers and
    // Modifier::purgeFinished for where each one acts).
    enum EndFlag : uint32_t {
        EndWait = 0x1,                  // holds back the node's later own modifiers
        EndRemoveTarget = 0x2,          // marks the target removed when finished
        EndSupersede = 0x4,             // kills the earlier modifiers of the same target
        EndGroup = 0x8,                 // kills the enclosing container (never the AnimTree)
        EndRemoveTargetOnDestroy = 0x10 // marks the target removed when destroyed in a tree
    };
    static constexpr uint32_t StateFinished = 0x1;

    Modifier() = default;
    ~Modifier() override;

    virtual void step(int deltaMs) = 0;
    // Stores the target; it is not linked into the node's tree-modifier list.
    virtual void setTarget(GameNode* node);
    virtual void finish() { state |= StateFinished; }

    // The target, or null when none was set or the node has been destroyed.
    GameNode* getTarget() const;

    bool isFinished() const { return (state & StateFinished) != 0; }
    uint32_t getState() const { return state; }
    uint32_t getEndFlags() const { return endFlags; }
    void setEndFlags(uint32_t flags) { endFlags = flags; }
    void addEndFlags(uint32_t flags) { endFlags |= flags; }
    bool isDead() const { return dead; }
    void kill() { dead = true; }
    bool isPaused() const { return paused; }
    void setPaused(bool value) { paused = value; }
    bool isInTree() const { return inTree; }
    void setInTree(bool value) { inTree = value; }
    const std::string& getName() const { return name; }
    void setName(const std::string& value) { name = value; }

    Modifier* getParent() const { return parent; }
    Modifier* getFirstChild() const { return firstChild; }
    Modifier* getNextSibling() const { return nextSibling; }

    // Detaches `m` from its tree parent, keeping its children; the tree's
    // reference passes to the caller. Without a parent it takes a new
    // reference, so the caller always ends up owning exactly one.
    static void removeFromParent(Modifier* m);
    // Appends `child` to `parent`'s children; the tree takes its reference.
    // Returns `child`. Refuses (and returns child untouched) when parent is
    // null or the link would make a cycle.
    static Modifier* addChild(Modifier* parent, Modifier* child);
    // Moves `m` directly before `sibling`, which must be in a tree.
    static Modifier* insertBefore(Modifier* m, Modifier* sibling);
    // The nearest ancestor (from m's parent up) that is a `record`, or null.
    static Modifier* findEnclosing(Modifier* m, const ClassRecord* record);
    // Replaces `m` by its children in its parent's chain and releases it.
    // Returns m's first child, else m's former next sibling.
    static Modifier* removeKeepChildren(Modifier* m);
    // One frame of the tree under `root`: a pre-order walk that steps every
    // live, unpaused, unfinished modifier and descends only below finished ones.
    static void updateTree(Modifier* root, int deltaMs);
    // Retires finished and dead modifiers under `m`, children first.
    static void purgeFinished(Modifier* m);

protected:
    uint32_t state = 0;

private:
    friend class GameNode;

    template <class>
    friend struct ChildChain;
    void unlinkFromTarget();
    void releaseChildren();
    static void linkBefore(Modifier* m, Modifier* parent, Modifier* before);
    // Moves m to the next modifier of a pre-order walk that skips m's
    // subtree; false when the walk under root is over.
    static bool climbToNext(Modifier*& m, Modifier* root);
    static bool isInSubtree(const Modifier* m, const Modifier* root);

    RefPointer<NodeLink> target;
    uint32_t endFlags = 0;
    bool dead = false;
    bool paused = false;
    Modifier* parent = nullptr;
    Modifier* nextSibling = nullptr;
    Modifier* firstChild = nullptr;
    std::string name;
    bool inTree = false;
};

// A group whose children run side by side. It is finished from the start, so
// the tree walk always descends into it; it leaves the tree only when killed.
class ModifierContainer : public Modifier {
    TT_CLASS_RECORD(ModifierContainer)
public:
    ModifierContainer() { state |= StateFinished; }
    explicit ModifierContainer(AbstractProperty*) : ModifierContainer() {}
    void step(int) override {}
};

// The root of a scene's modifier tree; end flag 0x8 never kills it.
class AnimTree : public ModifierContainer {
    TT_CLASS_RECORD(AnimTree)
public:
    AnimTree() { setName("AnimationTree"); }
    explicit AnimTree(AbstractProperty*) : AnimTree() {}
};
