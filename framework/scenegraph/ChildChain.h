#pragma once

// The parent / first-child / next-sibling links that the node tree and the
// modifier tree both keep. T has the members `parent`, `firstChild` and
// `nextSibling` and befriends ChildChain.
template <class T>
struct ChildChain {
    // Points the link that leads to `child` (the parent's first-child link or
    // the previous sibling's) at `replacement`. A null `child` stands for the
    // end of the chain; nothing changes when `child` is not in the chain.
    static void relink(T* parent, const T* child, T* replacement)
    {
        if (parent->firstChild == child) {
            parent->firstChild = replacement;
            return;
        }
        T* previous = parent->firstChild;
        while (previous && previous->nextSibling != child)
            previous = previous->nextSibling;
        if (previous)
            previous->nextSibling = replacement;
    }

    // Takes `item` out of its parent's chain; its own children stay with it.
    static void unlink(T* item)
    {
        if (!item->parent)
            return;
        relink(item->parent, item, item->nextSibling);
        item->parent = nullptr;
        item->nextSibling = nullptr;
    }

    static bool isAncestorOrSelf(const T* candidate, const T* of)
    {
        for (const T* item = of; item; item = item->parent) {
            if (item == candidate)
                return true;
        }
        return false;
    }
};
