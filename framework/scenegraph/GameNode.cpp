#include "framework/scenegraph/GameNode.h"

#include <algorithm>

#include "framework/core/Log.h"
#include "framework/core/ObjectFactoryContainer.h"
#include "framework/core/PropertyNode.h"
#include "framework/scenegraph/ChildChain.h"
#include "framework/scenegraph/Modifier.h"

TT_DEFINE_RECORD(NodeLink, &BaseObject::classRecord);
TT_DEFINE_RECORD(GameNode, &BaseObject::classRecord);
TT_DEFINE_RECORD(GameTree, &GameNode::classRecord);

TT_REGISTER_CLASS(GameNode);
TT_REGISTER_CLASS(GameTree);

GameNode::GameNode(const std::string& name) : name(name) {}

GameNode::GameNode(const GameNode& other) : BaseObject(), x(other.getX()), y(other.getY()) {}

GameNode::GameNode(AbstractProperty* configuration)
{
    configure(configuration);
}

GameNode::~GameNode()
{
    ChildChain<GameNode>::unlink(this);
    GameNode* child = firstChild;
    firstChild = nullptr;
    if (child)
        releaseSiblings(child);
    clearModifiers(this);
    cancelModifiers(this);
    // Modifiers still holding this node as their target now see null.
    if (link)
        link->node = nullptr;
}

int GameNode::getChildCount() const
{
    int count = 0;
    for (GameNode* child = firstChild; child; child = child->nextSibling)
        ++count;
    return count;
}

int GameNode::getOriginX() const
{
    int sum = 0;
    for (const GameNode* ancestor = parent; ancestor; ancestor = ancestor->parent)
        sum += ancestor->getX();
    return sum;
}

int GameNode::getOriginY() const
{
    int sum = 0;
    for (const GameNode* ancestor = parent; ancestor; ancestor = ancestor->parent)
        sum += ancestor->getY();
    return sum;
}

GameNode* GameNode::findNode(const std::string& childName) const
{
    GameNode* found = nullptr;
    for (GameNode* child = firstChild; child && !found; child = child->nextSibling) {
        visitSubtree(child, [&](GameNode* node) {
            if (!found && node->name == childName)
                found = node;
        });
    }
    return found;
}

NodeLink* GameNode::getLink()
{
    if (!link)
        link = new NodeLink(this);
    return link.get();
}

void GameNode::linkAfter(GameNode* node, GameNode* newParent, GameNode* previous)
{
    node->parent = newParent;
    if (!previous) {
        node->nextSibling = newParent->firstChild;
        newParent->firstChild = node;
    } else {
        node->nextSibling = previous->nextSibling;
        previous->nextSibling = node;
    }
}

void GameNode::removeFromParent(GameNode* node)
{
    node->removed = false;
    if (!node->parent) {
        node->addRef();
        return;
    }
    ChildChain<GameNode>::unlink(node);
}

bool GameNode::addChild(GameNode* newParent, GameNode* child)
{
    // A node below itself would make every walk loop forever.
    if (!newParent || !child || ChildChain<GameNode>::isAncestorOrSelf(child, newParent))
        return false;
    removeFromParent(child);
    GameNode* last = newParent->firstChild;
    while (last && last->nextSibling)
        last = last->nextSibling;
    linkAfter(child, newParent, last);
    return true;
}

bool GameNode::insertAfter(GameNode* node, GameNode* sibling)
{
    if (!node || !sibling || node == sibling || !sibling->parent)
        return false;
    if (node->parent == sibling->parent && sibling->nextSibling == node) {
        node->removed = false;
        return true;
    }
    if (ChildChain<GameNode>::isAncestorOrSelf(node, sibling->parent))
        return false;
    removeFromParent(node);
    linkAfter(node, sibling->parent, sibling);
    return true;
}

bool GameNode::insertBefore(GameNode* node, GameNode* sibling)
{
    if (!node || !sibling || node == sibling || !sibling->parent)
        return false;
    if (node->parent == sibling->parent && node->nextSibling == sibling) {
        node->removed = false;
        return true;
    }
    if (ChildChain<GameNode>::isAncestorOrSelf(node, sibling->parent))
        return false;
    removeFromParent(node);
    node->parent = sibling->parent;
    node->nextSibling = sibling;
    ChildChain<GameNode>::relink(sibling->parent, sibling, node);
    return true;
}

void GameNode::forEachInSubtree(GameNode* root, Visitor visitor, void* context)
{
    if (!root || !visitor)
        return;
    if (!context)
        context = root;
    GameNode* node = root;
    while (node) {
        visitor(node, context);
        if (node->firstChild) {
            node = node->firstChild;
            continue;
        }
        // Climb until a next sibling is found, never past the root.
        while (node != root && !node->nextSibling)
            node = node->parent;
        if (node == root)
            return;
        node = node->nextSibling;
    }
}

void GameNode::releaseSiblings(GameNode* node)
{
    while (node) {
        GameNode* next = node->nextSibling;
        if (node->parent && node->parent->firstChild == node)
            node->parent->firstChild = nullptr;
        node->parent = nullptr;
        node->nextSibling = nullptr;
        node->release();
        node = next;
    }
}

Modifier* GameNode::addModifier(GameNode* node, Modifier* modifier, bool atEnd)
{
    if (!node || !modifier)
        return modifier;
    for (const RefPointer<Modifier>& own : node->ownModifiers) {
        if (own == modifier) {
            modifier->setInTree(false);
            return modifier;
        }
    }
    RefPointer<Modifier> hold(modifier);
    // A modifier still linked in a tree would be destroyed without leaving it.
    if (modifier->getParent()) {
        Modifier::removeFromParent(modifier);
        modifier->release();
    }
    modifier->setInTree(false);
    if (atEnd)
        node->ownModifiers.push_back(hold);
    else
        node->ownModifiers.insert(node->ownModifiers.begin(), hold);
    modifier->setTarget(node);
    return modifier;
}

bool GameNode::linkModifier(GameNode* node, Modifier* modifier)
{
    if (std::find(node->treeModifiers.begin(), node->treeModifiers.end(), modifier) != node->treeModifiers.end())
        return false;
    node->treeModifiers.push_back(modifier);
    return true;
}

void GameNode::unlinkModifier(GameNode* node, Modifier* modifier)
{
    auto found = std::find(node->treeModifiers.begin(), node->treeModifiers.end(), modifier);
    if (found != node->treeModifiers.end())
        node->treeModifiers.erase(found);
}

void GameNode::supersedeModifiers(GameNode* node, Modifier* modifier)
{
    auto& list = node->treeModifiers;
    auto found = std::find(list.begin(), list.end(), modifier);
    if (found == list.end())
        return;
    ++found;
    for (auto it = list.begin(); it != found; ++it)
        (*it)->kill();
    list.erase(list.begin(), found);
}

void GameNode::cancelModifiers(GameNode* node)
{
    std::vector<Modifier*> acting;
    acting.swap(node->treeModifiers);
    for (Modifier* modifier : acting) {
        modifier->setTarget(nullptr);
        if (modifier->getParent()) {
            Modifier::removeKeepChildren(modifier);
        }
    }
}

void GameNode::clearModifiers(GameNode* node)
{
    std::vector<RefPointer<Modifier>> released;
    released.swap(node->ownModifiers);
}

void GameNode::updateModifiers(GameNode* node, int deltaMs)
{
    RefPointer<GameNode> hold(node);
    node->update(deltaMs);
    auto& list = node->ownModifiers;
    size_t index = 0;
    while (index < list.size()) {
        RefPointer<Modifier> modifier = list[index];
        modifier->step(deltaMs);
        // The step may have edited the list (callbacks into game code).
        if (index >= list.size() || list[index] != modifier) {
            auto found = std::find(list.begin(), list.end(), modifier);
            if (found == list.end())
                continue;
            index = static_cast<size_t>(found - list.begin());
        }
        if (modifier->isFinished()) {
            const uint32_t flags = modifier->getEndFlags();
            if (flags & Modifier::EndRemoveTarget)
                node->setRemoved(true);
            if (flags & Modifier::EndSupersede) {
                list.erase(list.begin(), list.begin() + static_cast<std::ptrdiff_t>(index) + 1);
                index = 0;
            } else {
                list.erase(list.begin() + static_cast<std::ptrdiff_t>(index));
            }
            continue;
        }
        if (modifier->getEndFlags() & Modifier::EndWait)
            return;
        ++index;
    }
}

void GameNode::configure(AbstractProperty* configuration)
{
    const PropertyNode* props = configuration ? configuration->asNode() : DUMMY_NODE;
    name = props->getString("name", name);
    tag = props->getInt("tag", tag);
    x = props->getInt("x", x);
    y = props->getInt("y", y);
    suspended = props->getBool("suspended", suspended);
    visible = props->getBool("visible", visible);

    ObjectFactoryContainer* factory = &ObjectFactoryContainer::shared();

    const PropertyVector* children = props->getVector("children");
    for (int i = 0; i < children->getCount(); ++i) {
        PropertyNode* element = children->getAt(i)->asNode();
        RefPointer<GameNode> child = factory->create<GameNode>(element->getTypeName(), element);
        if (!child) {
            logLine(LogLevel::Warning, "Node \"" + name + "\": no node class \"" + element->getTypeName() + "\"");
            continue;
        }
        addChild(this, child.get());
    }

    const PropertyVector* modifiers = props->getVector("modifiers");
    for (int i = 0; i < modifiers->getCount(); ++i) {
        PropertyNode* element = modifiers->getAt(i)->asNode();
        RefPointer<Modifier> modifier = factory->create<Modifier>(element->getTypeName(), element);
        if (!modifier) {
            logLine(LogLevel::Warning,
                    "Node \"" + name + "\": no modifier class \"" + element->getTypeName() + "\"");
            continue;
        }
        addModifier(this, modifier.get());
    }
}
