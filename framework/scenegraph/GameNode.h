#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "framework/core/BaseObject.h"
#include "framework/core/RefPointer.h"

class AbstractProperty;
class GameNode;
class Modifier;

// A record that outlives its node: borrowers of a node pointer (modifiers'
// targets) keep one and find the node gone instead of dangling.
class NodeLink : public BaseObject {
    TT_CLASS_RECORD(NodeLink)
public:
    explicit NodeLink(GameNode* node) : node(node) {}
    GameNode* node;
};

// The element of every scene's node tree: a positioned, named, tagged object
// with visible and suspended flags, a removal mark, an ordered chain of
// children and two lists of modifiers (its own, and the tree modifiers that
// currently act on it). Removal is deferred to the scene's purge task.
class GameNode : public BaseObject {
    TT_CLASS_RECORD(GameNode)
public:
    using Visitor = void (*)(GameNode* node, void* context);

    explicit GameNode(const std::string& name = std::string());
    // An empty unnamed node at the other node's position; nothing else is copied.
    GameNode(const GameNode& other);
    // Reads "name", "tag", "x", "y", "suspended", "visible", "children" and
    // "modifiers"; null or a non-node gives the defaults.
    explicit GameNode(AbstractProperty* configuration);
    ~GameNode() override;

    virtual int getX() const { return x; }
    virtual void setX(int value) { x = value; }
    virtual int getY() const { return y; }
    virtual void setY(int value) { y = value; }
    virtual void setPosition(int newX, int newY)
    {
        setX(newX);
        setY(newY);
    }
    virtual int getTag() const { return tag; }
    virtual void setTag(int value) { tag = value; }
    virtual void setRemoved(bool value) { removed = value; }
    virtual void setVisible(bool value) { visible = value; }
    // Per-frame hook, run before the node's own modifiers.
    virtual void update(int /*deltaMs*/) {}

    bool isRemoved() const { return removed; }
    bool isVisible() const { return visible; }
    bool isSuspended() const { return suspended; }
    void setSuspended(bool value) { suspended = value; }
    const std::string& getName() const { return name; }
    void setName(const std::string& value) { name = value; }

    GameNode* getParent() const { return parent; }
    GameNode* getFirstChild() const { return firstChild; }
    GameNode* getNextSibling() const { return nextSibling; }
    int getChildCount() const;

    // Sum of the ancestors' positions (not the node's own).
    int getOriginX() const;
    int getOriginY() const;
    // The origin plus the node's own position.
    int getAbsoluteX() const { return getOriginX() + getX(); }
    int getAbsoluteY() const { return getOriginY() + getY(); }

    // The first node named `childName` in the subtree below this node, or null.
    GameNode* findNode(const std::string& childName) const;

    // The node's alive record, created on first use.
    NodeLink* getLink();

    // Tree operations; each clears the moved node's removal mark.
    // Detaches `node`; the tree's reference passes to the caller. Without a
    // parent it takes a new reference, so the caller always owns exactly one.
    static void removeFromParent(GameNode* node);
    // Appends `child` as the last child of `parent` (moving it when it has a
    // parent already). False when either is null or a cycle would form.
    static bool addChild(GameNode* parent, GameNode* child);
    static bool insertAfter(GameNode* node, GameNode* sibling);
    // `sibling` must have a parent.
    static bool insertBefore(GameNode* node, GameNode* sibling);
    // Pre-order walk of `root` and its descendants; never visits root's
    // siblings. Context defaults to the root.
    static void forEachInSubtree(GameNode* root, Visitor visitor, void* context = nullptr);
    // The same walk with any callable taking the node.
    template <class Function>
    static void visitSubtree(GameNode* root, Function&& function)
    {
        forEachInSubtree(
            root, [](GameNode* node, void* context) { (*static_cast<Function*>(context))(node); }, &function);
    }
    // Releases `node` and every sibling after it, clearing their links.
    static void releaseSiblings(GameNode* node);

    // Own modifiers: the list holds a reference to each. Returns `modifier`.
    static Modifier* addModifier(GameNode* node, Modifier* modifier, bool atEnd = true);
    // Tree modifiers acting on the node (not counted). False when listed already.
    static bool linkModifier(GameNode* node, Modifier* modifier);
    static void unlinkModifier(GameNode* node, Modifier* modifier);
    // Kills every listed tree modifier up to and including `modifier` and
    // drops them from the list; nothing when `modifier` is not listed.
    static void supersedeModifiers(GameNode* node, Modifier* modifier);
    // Ends every tree modifier acting on the node, keeping their children in the tree.
    static void cancelModifiers(GameNode* node);
    static void clearModifiers(GameNode* node);
    // The per-frame node step: update(), then the own modifiers in order.
    static void updateModifiers(GameNode* node, int deltaMs);

    const std::vector<RefPointer<Modifier>>& getOwnModifiers() const { return ownModifiers; }
    const std::vector<Modifier*>& getTreeModifiers() const { return treeModifiers; }
    bool hasTreeModifiers() const { return !treeModifiers.empty(); }

protected:
    // Subclasses' setters compare against these before marking themselves dirty.
    int x = 0;
    int y = 0;
    int tag = 0;
    bool removed = false;
    bool suspended = false;
    bool visible = true;

private:
    void configure(AbstractProperty* configuration);
    template <class>
    friend struct ChildChain;
    static void linkAfter(GameNode* node, GameNode* parent, GameNode* previous);

    GameNode* parent = nullptr;
    GameNode* nextSibling = nullptr;
    GameNode* firstChild = nullptr;
    std::vector<RefPointer<Modifier>> ownModifiers;
    std::vector<Modifier*> treeModifiers;
    std::string name;
    RefPointer<NodeLink> link;
};

// The root node of a scene's tree: a GameNode with an empty name.
class GameTree : public GameNode {
    TT_CLASS_RECORD(GameTree)
public:
    GameTree() = default;
    explicit GameTree(AbstractProperty* configuration) : GameNode(configuration) {}
};
