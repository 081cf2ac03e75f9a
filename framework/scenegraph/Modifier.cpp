#include "framework/scenegraph/Modifier.h"

#include "framework/core/ObjectFactoryContainer.h"
#include "framework/scenegraph/ChildChain.h"
#include "framework/scenegraph/GameNode.h"

TT_DEFINE_RECORD(Modifier, &BaseObject::classRecord);
TT_DEFINE_RECORD(ModifierContainer, &Modifier::classRecord);
TT_DEFINE_RECORD(AnimTree, &ModifierContainer::classRecord);

TT_REGISTER_CLASS(ModifierContainer);
TT_REGISTER_CLASS(AnimTree);

Modifier::~Modifier()
{
    if (inTree) {
        GameNode* node = getTarget();
        if ((endFlags & EndRemoveTargetOnDestroy) && node)
            node->setRemoved(true);
        ChildChain<Modifier>::unlink(this);
        unlinkFromTarget();
    }
    // Also for a tree's root, which was never put into a tree itself.
    releaseChildren();
}

void Modifier::setTarget(GameNode* node)
{
    if (node)
        target = node->getLink();
    else
        target.reset();
}

GameNode* Modifier::getTarget() const
{
    return target ? target->node : nullptr;
}

void Modifier::unlinkFromTarget()
{
    if (GameNode* node = getTarget())
        GameNode::unlinkModifier(node, this);
}

void Modifier::releaseChildren()
{
    Modifier* child = firstChild;
    firstChild = nullptr;
    while (child) {
        Modifier* next = child->nextSibling;
        child->parent = nullptr;
        child->nextSibling = nullptr;
        child->release();
        child = next;
    }
}

void Modifier::linkBefore(Modifier* m, Modifier* newParent, Modifier* before)
{
    m->parent = newParent;
    m->nextSibling = before;
    ChildChain<Modifier>::relink(newParent, before, m);
    if (GameNode* node = m->getTarget())
        GameNode::linkModifier(node, m);
}

void Modifier::removeFromParent(Modifier* m)
{
    m->inTree = true;
    if (!m->parent) {
        m->addRef();
        return;
    }
    ChildChain<Modifier>::unlink(m);
    m->unlinkFromTarget();
    m->target.reset();
}

Modifier* Modifier::addChild(Modifier* newParent, Modifier* child)
{
    // A modifier below itself would make the walks loop forever.
    if (!newParent || !child || ChildChain<Modifier>::isAncestorOrSelf(child, newParent))
        return child;
    removeFromParent(child);
    linkBefore(child, newParent, nullptr);
    return child;
}

Modifier* Modifier::insertBefore(Modifier* m, Modifier* sibling)
{
    if (!m || !sibling || !sibling->parent || m == sibling)
        return m;
    if (m->parent == sibling->parent && m->nextSibling == sibling)
        return m;
    if (ChildChain<Modifier>::isAncestorOrSelf(m, sibling->parent))
        return m;
    removeFromParent(m);
    linkBefore(m, sibling->parent, sibling);
    return m;
}

Modifier* Modifier::findEnclosing(Modifier* m, const ClassRecord* record)
{
    for (Modifier* ancestor = m ? m->parent : nullptr; ancestor; ancestor = ancestor->parent) {
        if (ancestor->isKindOf(record))
            return ancestor;
    }
    return nullptr;
}

Modifier* Modifier::removeKeepChildren(Modifier* m)
{
    Modifier* const oldParent = m->parent;
    Modifier* const oldNext = m->nextSibling;
    Modifier* const children = m->firstChild;
    Modifier* const visitNext = children ? children : oldNext;
    if (!oldParent)
        return visitNext;

    // The children take m's place in its parent's chain.
    Modifier* last = nullptr;
    for (Modifier* child = children; child; child = child->nextSibling) {
        child->parent = oldParent;
        last = child;
    }
    Modifier* const replacement = children ? children : oldNext;
    if (last)
        last->nextSibling = oldNext;
    ChildChain<Modifier>::relink(oldParent, m, replacement);
    m->firstChild = nullptr;
    m->parent = nullptr;
    m->nextSibling = nullptr;
    m->unlinkFromTarget();
    m->target.reset();
    m->release();
    return visitNext;
}

void Modifier::updateTree(Modifier* root, int deltaMs)
{
    if (!root)
        return;
    RefPointer<Modifier> rootHold(root);
    Modifier* m = root;
    while (m) {
        bool descend = false;
        if (!m->dead) {
            if (!m->paused && !m->isFinished()) {
                // A step may call back into game code that edits the tree.
                // When it takes m itself out, the walk goes on where m's
                // next sibling (or, without one, m's parent) still stands.
                RefPointer<Modifier> hold(m);
                RefPointer<Modifier> parentHold(m->parent);
                RefPointer<Modifier> nextHold(m->nextSibling);
                m->step(deltaMs);
                if (m != root && !m->parent) {
                    Modifier* const oldParent = parentHold.get();
                    if (nextHold && nextHold->parent == oldParent && oldParent) {
                        m = nextHold.get();
                        continue;
                    }
                    // Only go on from a parent that is still part of the walked tree.
                    if (!oldParent || !isInSubtree(oldParent, root))
                        return;
                    m = oldParent;
                    if (!climbToNext(m, root))
                        return;
                    continue;
                }
            }
            if (!m->dead && m->isFinished() && m->firstChild)
                descend = !(m->paused && m->isKindOf(&ModifierContainer::classRecord));
        }
        if (descend) {
            m = m->firstChild;
            continue;
        }
        if (!climbToNext(m, root))
            return;
    }
}

bool Modifier::climbToNext(Modifier*& m, Modifier* root)
{
    // Next sibling, else that of the nearest ancestor below root.
    while (m != root && !m->nextSibling) {
        if (!m->parent)
            return false;
        m = m->parent;
    }
    if (m == root)
        return false;
    m = m->nextSibling;
    return true;
}

bool Modifier::isInSubtree(const Modifier* m, const Modifier* root)
{
    for (; m; m = m->parent) {
        if (m == root)
            return true;
    }
    return false;
}

void Modifier::purgeFinished(Modifier* m)
{
    if (!m)
        return;
    RefPointer<Modifier> hold(m);
    for (Modifier* child = m->firstChild; child;) {
        Modifier* next = child->nextSibling;
        purgeFinished(child);
        child = next;
    }
    // The root of a tree is held by its owner, not by a tree.
    if (!m->parent)
        return;

    const bool container = m->isKindOf(&ModifierContainer::classRecord);
    if (m->dead) {
        // The destructor applies end flag 0x10; an outside holder may keep
        // the dead modifier, so unlink it here rather than rely on it.
        ChildChain<Modifier>::unlink(m);
        m->unlinkFromTarget();
        m->release();
        return;
    }
    if (container || !m->isFinished())
        return;

    GameNode* node = m->getTarget();
    if ((m->endFlags & EndGroup) && node) {
        Modifier* group = findEnclosing(m, &ModifierContainer::classRecord);
        if (group && !group->isKindOf(&AnimTree::classRecord))
            group->dead = true;
    }
    if ((m->endFlags & EndRemoveTarget) && node)
        node->setRemoved(true);
    if ((m->endFlags & EndSupersede) && node)
        GameNode::supersedeModifiers(node, m);
    removeKeepChildren(m);
}
