#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestModifiers.h"
#include "framework/core/RefPointer.h"

namespace {

std::vector<std::string> childNames(GameNode* parent)
{
    std::vector<std::string> names;
    for (GameNode* child = parent->getFirstChild(); child; child = child->getNextSibling())
        names.push_back(child->getName());
    return names;
}

// A root with children a, b, c.
struct SmallTree {
    SmallTree()
    {
        root = new GameNode("root");
        a = new GameNode("a");
        b = new GameNode("b");
        c = new GameNode("c");
        GameNode::addChild(root.get(), a);
        GameNode::addChild(root.get(), b);
        GameNode::addChild(root.get(), c);
    }
    RefPointer<GameNode> root;
    GameNode* a;
    GameNode* b;
    GameNode* c;
};

} // namespace

TEST(GameNode, DefaultsWithoutConfiguration)
{
    RefPointer<GameNode> node(new GameNode(static_cast<AbstractProperty*>(nullptr)));
    EXPECT_EQ(node->getX(), 0);
    EXPECT_EQ(node->getY(), 0);
    EXPECT_EQ(node->getTag(), 0);
    EXPECT_TRUE(node->isVisible());
    EXPECT_FALSE(node->isSuspended());
    EXPECT_FALSE(node->isRemoved());
    EXPECT_EQ(node->getFirstChild(), nullptr);
    EXPECT_EQ(node->getName(), "");
    EXPECT_TRUE(node->isKindOf<GameNode>());
    RefPointer<GameTree> tree(new GameTree());
    EXPECT_TRUE(tree->isKindOf<GameNode>());
    EXPECT_EQ(tree->getName(), "");
}

TEST(GameNode, CopyTakesOnlyThePosition)
{
    RefPointer<GameNode> original(new GameNode("original"));
    original->setPosition(7, -3);
    original->setTag(9);
    RefPointer<GameNode> copy(new GameNode(*original));
    EXPECT_EQ(copy->getX(), 7);
    EXPECT_EQ(copy->getY(), -3);
    EXPECT_EQ(copy->getTag(), 0);
    EXPECT_EQ(copy->getName(), "");
}

TEST(GameNodeTree, AddChildAppendsAndTreeHoldsOneReference)
{
    SmallTree tree;
    EXPECT_EQ(childNames(tree.root.get()), (std::vector<std::string> {"a", "b", "c"}));
    EXPECT_EQ(tree.a->getReferenceCount(), 1);
    EXPECT_EQ(tree.b->getParent(), tree.root.get());
}

TEST(GameNodeTree, AddChildMovesNodeWithItsSingleReference)
{
    SmallTree tree;
    GameNode::addChild(tree.a, tree.c);
    EXPECT_EQ(childNames(tree.root.get()), (std::vector<std::string> {"a", "b"}));
    EXPECT_EQ(childNames(tree.a), (std::vector<std::string> {"c"}));
    EXPECT_EQ(tree.c->getReferenceCount(), 1);
    EXPECT_EQ(tree.c->getParent(), tree.a);
}

TEST(GameNodeTree, AddChildClearsTheRemovalMark)
{
    SmallTree tree;
    tree.b->setRemoved(true);
    GameNode::addChild(tree.root.get(), tree.b);
    EXPECT_FALSE(tree.b->isRemoved());
    EXPECT_EQ(childNames(tree.root.get()), (std::vector<std::string> {"a", "c", "b"}));
}

TEST(GameNodeTree, RefusesToMakeACycle)
{
    SmallTree tree;
    EXPECT_FALSE(GameNode::addChild(tree.a, tree.root.get()));
    EXPECT_FALSE(GameNode::addChild(tree.a, tree.a));
    RefPointer<GameNode> grandchild(new GameNode("g"));
    GameNode::addChild(tree.a, grandchild.get());
    EXPECT_FALSE(GameNode::addChild(grandchild.get(), tree.a));
    RefPointer<GameNode> greatGrandchild(new GameNode("gg"));
    GameNode::addChild(grandchild.get(), greatGrandchild.get());
    EXPECT_FALSE(GameNode::insertBefore(tree.a, greatGrandchild.get()));
    EXPECT_FALSE(GameNode::insertAfter(tree.a, greatGrandchild.get()));
    EXPECT_EQ(tree.a->getParent(), tree.root.get());
}

TEST(GameNodeTree, InsertBeforeAndAfter)
{
    SmallTree tree;
    GameNode::insertBefore(tree.c, tree.a);
    EXPECT_EQ(childNames(tree.root.get()), (std::vector<std::string> {"c", "a", "b"}));
    GameNode::insertAfter(tree.c, tree.b);
    EXPECT_EQ(childNames(tree.root.get()), (std::vector<std::string> {"a", "b", "c"}));
    // Already in place: nothing changes, not even the reference count.
    EXPECT_TRUE(GameNode::insertAfter(tree.c, tree.b));
    EXPECT_TRUE(GameNode::insertBefore(tree.a, tree.b));
    EXPECT_EQ(childNames(tree.root.get()), (std::vector<std::string> {"a", "b", "c"}));
    EXPECT_EQ(tree.c->getReferenceCount(), 1);
    EXPECT_EQ(tree.a->getReferenceCount(), 1);
}

TEST(GameNodeTree, InsertNextToADetachedSiblingIsRefused)
{
    SmallTree tree;
    RefPointer<GameNode> loose(new GameNode("loose"));
    EXPECT_FALSE(GameNode::insertBefore(tree.a, loose.get()));
    EXPECT_FALSE(GameNode::insertAfter(tree.a, loose.get()));
    EXPECT_EQ(tree.a->getParent(), tree.root.get());
    EXPECT_EQ(tree.a->getReferenceCount(), 1);
}

TEST(GameNodeTree, InsertFromAnotherParentMovesTheNode)
{
    SmallTree tree;
    RefPointer<GameNode> other(new GameNode("other"));
    GameNode* d = new GameNode("d");
    GameNode::addChild(other.get(), d);
    GameNode::insertAfter(d, tree.a);
    EXPECT_EQ(childNames(tree.root.get()), (std::vector<std::string> {"a", "d", "b", "c"}));
    EXPECT_EQ(other->getFirstChild(), nullptr);
    EXPECT_EQ(d->getReferenceCount(), 1);
}

TEST(GameNodeTree, OriginAndAbsolutePositionSumTheAncestors)
{
    SmallTree tree;
    tree.root->setPosition(100, 50);
    tree.a->setPosition(10, 5);
    RefPointer<GameNode> leaf(new GameNode("leaf"));
    leaf->setPosition(1, 2);
    GameNode::addChild(tree.a, leaf.get());
    EXPECT_EQ(leaf->getOriginX(), 110);
    EXPECT_EQ(leaf->getOriginY(), 55);
    EXPECT_EQ(leaf->getAbsoluteX(), 111);
    EXPECT_EQ(leaf->getAbsoluteY(), 57);
    EXPECT_EQ(tree.root->getOriginX(), 0);
}

TEST(GameNodeTree, SubtreeWalkNeverLeavesItsRoot)
{
    SmallTree tree;
    GameNode* a1 = new GameNode("a1");
    GameNode* a2 = new GameNode("a2");
    GameNode* a11 = new GameNode("a11");
    GameNode::addChild(tree.a, a1);
    GameNode::addChild(tree.a, a2);
    GameNode::addChild(a1, a11);
    std::vector<std::string> visited;
    GameNode::visitSubtree(tree.a, [&](GameNode* node) { visited.push_back(node->getName()); });
    EXPECT_EQ(visited, (std::vector<std::string> {"a", "a1", "a11", "a2"}));

    visited.clear();
    GameNode::visitSubtree(a11, [&](GameNode* node) { visited.push_back(node->getName()); });
    EXPECT_EQ(visited, (std::vector<std::string> {"a11"}));

    visited.clear();
    GameNode::visitSubtree(tree.root.get(), [&](GameNode* node) { visited.push_back(node->getName()); });
    EXPECT_EQ(visited, (std::vector<std::string> {"root", "a", "a1", "a11", "a2", "b", "c"}));
}

TEST(GameNodeTree, SubtreeWalkContextDefaultsToTheRoot)
{
    SmallTree tree;
    GameNode::addChild(tree.b, new GameNode("b1"));
    int visits = 0;
    GameNode::forEachInSubtree(tree.b, [](GameNode*, void* context) {
        EXPECT_EQ(static_cast<GameNode*>(context)->getName(), "b");
    });
    GameNode::forEachInSubtree(
        tree.b, [](GameNode*, void* context) { ++*static_cast<int*>(context); }, &visits);
    EXPECT_EQ(visits, 2);
}

TEST(GameNodeTree, FindNodeSearchesTheSubtree)
{
    SmallTree tree;
    GameNode* deep = new GameNode("deep");
    GameNode::addChild(tree.c, deep);
    EXPECT_EQ(tree.root->findNode("deep"), deep);
    EXPECT_EQ(tree.root->findNode("missing"), nullptr);
    EXPECT_EQ(tree.a->findNode("deep"), nullptr);
}

TEST(GameNodeTree, DestroyingAParentReleasesItsSubtree)
{
    {
        RefPointer<GameNode> root(new CountedNode("root"));
        GameNode* child = new CountedNode("child");
        GameNode::addChild(root.get(), child);
        GameNode::addChild(child, new CountedNode("grandchild"));
        EXPECT_EQ(CountedNode::alive, 3);
    }
    EXPECT_EQ(CountedNode::alive, 0);
}

TEST(GameNodeTree, ReleaseSiblingsDropsTheRestOfTheChain)
{
    RefPointer<GameNode> root(new GameNode("root"));
    GameNode::addChild(root.get(), new CountedNode("x"));
    GameNode::addChild(root.get(), new CountedNode("y"));
    GameNode::releaseSiblings(root->getFirstChild());
    EXPECT_EQ(CountedNode::alive, 0);
    EXPECT_EQ(root->getFirstChild(), nullptr);
}

TEST(GameNodeTree, RemoveFromParentHandsTheReferenceToTheCaller)
{
    SmallTree tree;
    RefPointer<GameNode> keep(tree.b);
    GameNode::removeFromParent(tree.b);
    EXPECT_EQ(tree.b->getParent(), nullptr);
    EXPECT_EQ(tree.b->getReferenceCount(), 2);
    tree.b->release();
    EXPECT_EQ(childNames(tree.root.get()), (std::vector<std::string> {"a", "c"}));
}
