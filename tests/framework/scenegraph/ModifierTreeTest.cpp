#include <gtest/gtest.h>

#include <functional>
#include <utility>
#include <vector>

#include "TestModifiers.h"
#include "framework/core/RefPointer.h"
#include "framework/scenegraph/MoveTask.h"
#include "framework/scenegraph/PurgeTask.h"

namespace {

using Steps = std::vector<int>;

// A scene in miniature: a node tree, its modifier tree and the two tasks.
struct MiniScene {
    MiniScene()
    {
        root = new GameTree();
        tree = new AnimTree();
        move = new MoveTask(root.get(), tree.get());
        purge = new PurgeTask(root.get(), tree.get());
    }
    void frame(int ms)
    {
        move->run(ms);
        purge->run(ms);
    }
    GameNode* addNode(const char* name)
    {
        GameNode* node = new CountedNode(name);
        GameNode::addChild(root.get(), node);
        return node;
    }
    RefPointer<GameNode> root;
    RefPointer<AnimTree> tree;
    RefPointer<MoveTask> move;
    RefPointer<PurgeTask> purge;
};

RecordingModifier* recorder(int duration, uint32_t flags = 0)
{
    return new RecordingModifier(duration, flags);
}

} // namespace

// --- a node's own modifiers ---

TEST(OwnModifiers, RunInOrderAndFinishedOnesLeave)
{
    RefPointer<GameNode> node(new CountedNode("n"));
    RefPointer<RecordingModifier> first(recorder(20));
    RefPointer<RecordingModifier> second(recorder(100));
    GameNode::addModifier(node.get(), first.get());
    GameNode::addModifier(node.get(), second.get());
    EXPECT_EQ(first->getTarget(), node.get());
    GameNode::updateModifiers(node.get(), 10);
    GameNode::updateModifiers(node.get(), 10);
    EXPECT_EQ(node->getOwnModifiers().size(), 1u);
    EXPECT_EQ(second->steps, (Steps {10, 10}));
    EXPECT_EQ(first->getReferenceCount(), 1);
}

TEST(OwnModifiers, AddingTwiceKeepsOneEntry)
{
    RefPointer<GameNode> node(new GameNode("n"));
    RefPointer<RecordingModifier> modifier(recorder(100));
    GameNode::addModifier(node.get(), modifier.get());
    GameNode::addModifier(node.get(), modifier.get());
    EXPECT_EQ(node->getOwnModifiers().size(), 1u);
    EXPECT_EQ(modifier->getReferenceCount(), 2);
    // Without a node or a modifier nothing is added.
    EXPECT_EQ(GameNode::addModifier(nullptr, modifier.get()), modifier.get());
    EXPECT_EQ(GameNode::addModifier(node.get(), nullptr), nullptr);
    EXPECT_EQ(node->getOwnModifiers().size(), 1u);
    EXPECT_EQ(modifier->getReferenceCount(), 2);
}

TEST(OwnModifiers, AddAtFrontRunsFirst)
{
    RefPointer<GameNode> node(new GameNode("n"));
    RefPointer<RecordingModifier> later(recorder(100));
    RefPointer<RecordingModifier> front(recorder(100, Modifier::EndWait));
    GameNode::addModifier(node.get(), later.get());
    GameNode::addModifier(node.get(), front.get(), false);
    GameNode::updateModifiers(node.get(), 10);
    EXPECT_EQ(front->steps.size(), 1u);
    EXPECT_TRUE(later->steps.empty());
}

TEST(OwnModifiers, WaitHoldsBackLaterOnesButNotTheUpdate)
{
    RefPointer<CountedNode> node(new CountedNode("n"));
    RefPointer<RecordingModifier> waiting(recorder(30, Modifier::EndWait));
    RefPointer<RecordingModifier> after(recorder(100));
    GameNode::addModifier(node.get(), waiting.get());
    GameNode::addModifier(node.get(), after.get());
    GameNode::updateModifiers(node.get(), 20);
    EXPECT_TRUE(after->steps.empty());
    EXPECT_EQ(node->updates, (Steps {20}));
    // The frame it finishes, the next one runs with the same delta.
    GameNode::updateModifiers(node.get(), 20);
    EXPECT_EQ(after->steps, (Steps {20}));
}

TEST(OwnModifiers, RemoveTargetFlagMarksTheNode)
{
    RefPointer<GameNode> node(new GameNode("n"));
    GameNode::addModifier(node.get(), recorder(10, Modifier::EndRemoveTarget));
    GameNode::updateModifiers(node.get(), 5);
    EXPECT_FALSE(node->isRemoved());
    GameNode::updateModifiers(node.get(), 5);
    EXPECT_TRUE(node->isRemoved());
}

TEST(OwnModifiers, SupersedeReleasesEveryEarlierOneInTheSameFrame)
{
    RefPointer<GameNode> node(new GameNode("n"));
    RefPointer<RecordingModifier> endless(recorder(-1));
    RefPointer<RecordingModifier> superseding(recorder(10, Modifier::EndSupersede));
    RefPointer<RecordingModifier> last(recorder(100));
    GameNode::addModifier(node.get(), endless.get());
    GameNode::addModifier(node.get(), superseding.get());
    GameNode::addModifier(node.get(), last.get());
    GameNode::updateModifiers(node.get(), 10);
    ASSERT_EQ(node->getOwnModifiers().size(), 1u);
    EXPECT_EQ(node->getOwnModifiers()[0].get(), last.get());
    EXPECT_EQ(last->steps, (Steps {10}));
    EXPECT_EQ(endless->getReferenceCount(), 1);
}

namespace {

// Runs `edit` once, in its first step, as game code called back from a step may.
class EditingModifier : public RecordingModifier {
public:
    EditingModifier(std::function<void()> edit) : RecordingModifier(-1), edit(std::move(edit)) {}
    void step(int deltaMs) override
    {
        RecordingModifier::step(deltaMs);
        if (edit)
            std::exchange(edit, nullptr)();
    }
    std::function<void()> edit;
};

} // namespace

TEST(OwnModifiers, StepThatEditsTheListRunsEveryModifierOnce)
{
    RefPointer<GameNode> node(new GameNode("n"));
    RefPointer<RecordingModifier> front(recorder(100));
    RefPointer<EditingModifier> editing(new EditingModifier([&] { GameNode::addModifier(node.get(), front.get(), false); }));
    RefPointer<RecordingModifier> after(recorder(100));
    GameNode::addModifier(node.get(), editing.get());
    GameNode::addModifier(node.get(), after.get());
    GameNode::updateModifiers(node.get(), 10);
    EXPECT_EQ(editing->steps, (Steps {10}));
    EXPECT_EQ(after->steps, (Steps {10}));
    EXPECT_TRUE(front->steps.empty());
    ASSERT_EQ(node->getOwnModifiers().size(), 3u);
    EXPECT_EQ(node->getOwnModifiers()[0].get(), front.get());

    // A step that empties the list ends the walk.
    RefPointer<EditingModifier> clearing(new EditingModifier([&] { GameNode::clearModifiers(node.get()); }));
    GameNode::addModifier(node.get(), clearing.get(), false);
    GameNode::updateModifiers(node.get(), 10);
    EXPECT_EQ(clearing->steps, (Steps {10}));
    EXPECT_TRUE(front->steps.empty());
    EXPECT_TRUE(node->getOwnModifiers().empty());
}

TEST(OwnModifiers, ClearReleasesAll)
{
    RefPointer<GameNode> node(new GameNode("n"));
    GameNode::addModifier(node.get(), recorder(10));
    GameNode::addModifier(node.get(), recorder(10));
    GameNode::clearModifiers(node.get());
    EXPECT_TRUE(node->getOwnModifiers().empty());
    EXPECT_EQ(RecordingModifier::alive, 0);
}

TEST(OwnModifiers, SurvivingModifierSeesItsDestroyedTargetAsNull)
{
    RefPointer<RecordingModifier> modifier(recorder(10));
    {
        RefPointer<GameNode> node(new GameNode("n"));
        GameNode::addModifier(node.get(), modifier.get());
    }
    EXPECT_EQ(modifier->getTarget(), nullptr);
}

// --- the modifier tree ---

TEST(ModifierTree, ChildStartsInTheFrameItsParentFinishesWithTheWholeDelta)
{
    MiniScene scene;
    RecordingModifier* a = recorder(100);
    RecordingModifier* b = recorder(100);
    Modifier::addChild(scene.tree.get(), a);
    Modifier::addChild(a, b);
    RefPointer<RecordingModifier> holdA(a);
    RefPointer<RecordingModifier> holdB(b);
    scene.frame(40);
    scene.frame(40);
    EXPECT_TRUE(b->steps.empty());
    scene.frame(40);
    EXPECT_EQ(a->steps, (Steps {40, 40, 40}));
    EXPECT_EQ(b->steps, (Steps {40}));
    // A has been retired; B took its place under the root.
    EXPECT_EQ(b->getParent(), scene.tree.get());
}

TEST(ModifierTree, ContainerChildrenRunSideBySide)
{
    MiniScene scene;
    ModifierContainer* group = new ModifierContainer();
    Modifier::addChild(scene.tree.get(), group);
    RefPointer<RecordingModifier> x(recorder(30));
    RefPointer<RecordingModifier> y(recorder(60));
    Modifier::addChild(group, x.get());
    Modifier::addChild(group, y.get());
    // The walk climbs out of the group to the sibling after it.
    RefPointer<RecordingModifier> z(recorder(-1));
    Modifier::addChild(scene.tree.get(), z.get());
    scene.frame(20);
    EXPECT_EQ(x->steps, (Steps {20}));
    EXPECT_EQ(y->steps, (Steps {20}));
    EXPECT_EQ(z->steps, (Steps {20}));
    scene.frame(20);
    scene.frame(20);
    EXPECT_EQ(x->steps, (Steps {20, 20}));
    EXPECT_EQ(y->steps, (Steps {20, 20, 20}));
    // A finished container stays in the tree while nobody kills it.
    EXPECT_EQ(group->getParent(), scene.tree.get());
}

TEST(ModifierTree, FinishedModifierChildrenTakeItsPlaceInOrder)
{
    MiniScene scene;
    RecordingModifier* a = recorder(10);
    RecordingModifier* after = recorder(-1);
    Modifier::addChild(scene.tree.get(), a);
    Modifier::addChild(scene.tree.get(), after);
    RecordingModifier* c1 = recorder(-1);
    RecordingModifier* c2 = recorder(-1);
    Modifier::addChild(a, c1);
    Modifier::addChild(a, c2);
    scene.frame(10);
    std::vector<Modifier*> order;
    for (Modifier* m = scene.tree->getFirstChild(); m; m = m->getNextSibling())
        order.push_back(m);
    EXPECT_EQ(order, (std::vector<Modifier*> {c1, c2, after}));
}

TEST(ModifierTree, EndGroupKillsTheContainerWithItsRemainingChildren)
{
    MiniScene scene;
    GameNode* node = scene.addNode("n");
    ModifierContainer* group = new ModifierContainer();
    Modifier::addChild(scene.tree.get(), group);
    RecordingModifier* quick = recorder(10, Modifier::EndGroup);
    quick->setTarget(node);
    RecordingModifier* slow = recorder(100, Modifier::EndRemoveTarget);
    slow->setTarget(node);
    Modifier::addChild(group, quick);
    Modifier::addChild(group, slow);
    scene.frame(10);
    EXPECT_EQ(scene.tree->getFirstChild(), nullptr);
    EXPECT_EQ(RecordingModifier::alive, 0);
    // The killed sibling's end flags did not act.
    EXPECT_FALSE(node->isRemoved());
}

TEST(ModifierTree, EndGroupDirectlyUnderTheAnimTreeKillsNothing)
{
    MiniScene scene;
    GameNode* node = scene.addNode("n");
    RecordingModifier* quick = recorder(10, Modifier::EndGroup);
    quick->setTarget(node);
    RefPointer<RecordingModifier> other(recorder(100));
    Modifier::addChild(scene.tree.get(), quick);
    Modifier::addChild(scene.tree.get(), other.get());
    scene.frame(10);
    EXPECT_FALSE(scene.tree->isDead());
    EXPECT_EQ(scene.tree->getFirstChild(), other.get());
    scene.frame(10);
    EXPECT_EQ(other->steps.size(), 2u);
}

TEST(ModifierTree, RemoveTargetFlagMarksAtPurgeAndNodeLeavesNextPurge)
{
    MiniScene scene;
    GameNode* node = scene.addNode("n");
    RecordingModifier* fade = recorder(10, Modifier::EndRemoveTarget);
    fade->setTarget(node);
    Modifier::addChild(scene.tree.get(), fade);
    scene.frame(10);
    EXPECT_TRUE(node->isRemoved());
    EXPECT_EQ(CountedNode::alive, 1);
    scene.frame(10);
    EXPECT_EQ(CountedNode::alive, 0);
    EXPECT_EQ(scene.root->getFirstChild(), nullptr);
}

TEST(ModifierTree, SupersedeKillsEarlierUnfinishedModifiersOfTheTarget)
{
    MiniScene scene;
    GameNode* node = scene.addNode("n");
    RecordingModifier* earlier = recorder(-1);
    earlier->setTarget(node);
    Modifier::addChild(scene.tree.get(), earlier);
    RecordingModifier* later = recorder(20, Modifier::EndSupersede);
    later->setTarget(node);
    Modifier::addChild(scene.tree.get(), later);
    EXPECT_EQ(node->getTreeModifiers().size(), 2u);
    scene.frame(20);
    EXPECT_TRUE(earlier->isDead());
    EXPECT_TRUE(node->getTreeModifiers().empty());
    scene.frame(20);
    EXPECT_EQ(RecordingModifier::alive, 0);
}

TEST(ModifierTree, DestructorFlagMarksTheTargetWhenTheTreeIsTornDown)
{
    MiniScene scene;
    GameNode* node = scene.addNode("n");
    RecordingModifier* endless = recorder(-1, Modifier::EndRemoveTargetOnDestroy);
    endless->setTarget(node);
    Modifier::addChild(scene.tree.get(), endless);
    scene.frame(10);
    EXPECT_FALSE(node->isRemoved());
    scene.move.reset();
    scene.purge.reset();
    scene.tree.reset();
    EXPECT_TRUE(node->isRemoved());
}

TEST(ModifierTree, PausedModifierKeepsItsPlaceAndPausedContainerHoldsItsChildren)
{
    MiniScene scene;
    RefPointer<RecordingModifier> paused(recorder(10));
    paused->setPaused(true);
    Modifier::addChild(scene.tree.get(), paused.get());
    ModifierContainer* group = new ModifierContainer();
    group->setPaused(true);
    Modifier::addChild(scene.tree.get(), group);
    RefPointer<RecordingModifier> inside(recorder(10));
    Modifier::addChild(group, inside.get());
    scene.frame(10);
    EXPECT_TRUE(paused->steps.empty());
    EXPECT_TRUE(inside->steps.empty());
    EXPECT_EQ(paused->getParent(), scene.tree.get());
    paused->setPaused(false);
    group->setPaused(false);
    scene.frame(10);
    EXPECT_EQ(paused->steps, (Steps {10}));
    EXPECT_EQ(inside->steps, (Steps {10}));
}

TEST(ModifierTree, DestroyedNodeEndsItsTreeModifiersKeepingTheirChildren)
{
    MiniScene scene;
    GameNode* node = scene.addNode("n");
    RecordingModifier* onNode = recorder(-1);
    onNode->setTarget(node);
    Modifier::addChild(scene.tree.get(), onNode);
    RefPointer<RecordingModifier> next(recorder(100));
    Modifier::addChild(onNode, next.get());
    node->setRemoved(true);
    scene.frame(10);
    EXPECT_EQ(CountedNode::alive, 0);
    EXPECT_EQ(scene.tree->getFirstChild(), next.get());
    scene.frame(10);
    EXPECT_EQ(next->steps, (Steps {10}));
}

TEST(ModifierTree, MovingAModifierDropsItsTarget)
{
    MiniScene scene;
    GameNode* node = scene.addNode("n");
    RefPointer<RecordingModifier> m(recorder(100));
    m->setTarget(node);
    Modifier::addChild(scene.tree.get(), m.get());
    EXPECT_EQ(node->getTreeModifiers().size(), 1u);
    ModifierContainer* group = new ModifierContainer();
    Modifier::addChild(scene.tree.get(), group);
    Modifier::addChild(group, m.get());
    EXPECT_EQ(m->getTarget(), nullptr);
    EXPECT_TRUE(node->getTreeModifiers().empty());
    // setTarget alone does not link.
    m->setTarget(node);
    EXPECT_TRUE(node->getTreeModifiers().empty());
}

TEST(ModifierTree, InsertBeforeAndFindEnclosing)
{
    MiniScene scene;
    ModifierContainer* group = new ModifierContainer();
    Modifier::addChild(scene.tree.get(), group);
    RecordingModifier* chainHead = recorder(10);
    Modifier::addChild(group, chainHead);
    RecordingModifier* deep = recorder(10);
    Modifier::addChild(chainHead, deep);
    EXPECT_EQ(Modifier::findEnclosing(deep, &ModifierContainer::classRecord), group);
    EXPECT_EQ(Modifier::findEnclosing(group, &ModifierContainer::classRecord), scene.tree.get());
    EXPECT_EQ(Modifier::findEnclosing(scene.tree.get(), &ModifierContainer::classRecord), nullptr);
    RecordingModifier* front = recorder(10);
    Modifier::insertBefore(front, chainHead);
    EXPECT_EQ(group->getFirstChild(), front);
    EXPECT_EQ(front->getNextSibling(), chainHead);
    // Refuses a cycle.
    Modifier::addChild(deep, group);
    EXPECT_EQ(group->getParent(), scene.tree.get());
}

TEST(ModifierTree, CallbackMayAttachStepsThatRunInTheSameFrame)
{
    struct Attaching : Modifier {
        void step(int) override
        {
            finish();
            child = new RecordingModifier(100);
            Modifier::addChild(this, child);
        }
        RecordingModifier* child = nullptr;
    };
    MiniScene scene;
    Attaching* attaching = new Attaching();
    Modifier::addChild(scene.tree.get(), attaching);
    RefPointer<Attaching> hold(attaching);
    scene.frame(15);
    EXPECT_EQ(attaching->child->steps, (Steps {15}));
}

// A step that takes its own modifier out of the tree (a one-shot callback
// that cancels itself, say) must not cost the rest of the scene its frame.
TEST(ModifierTree, StepThatRemovesItsOwnModifierLetsTheWalkGoOn)
{
    struct Leaving : Modifier {
        explicit Leaving(bool keepChildren) : keepChildren(keepChildren) {}
        void step(int) override
        {
            ++steps;
            if (keepChildren) {
                Modifier::removeKeepChildren(this);
            } else {
                Modifier::removeFromParent(this);
                release();
            }
        }
        bool keepChildren;
        int steps = 0;
    };
    MiniScene scene;
    ModifierContainer* group = new ModifierContainer();
    Modifier::addChild(scene.tree.get(), group);
    RefPointer<Leaving> first(new Leaving(false));
    RefPointer<RecordingModifier> sibling(recorder(-1));
    RefPointer<Leaving> last(new Leaving(true));
    RefPointer<RecordingModifier> lastsChild(recorder(-1));
    RefPointer<RecordingModifier> afterGroup(recorder(-1));
    Modifier::addChild(group, first.get());
    Modifier::addChild(group, sibling.get());
    Modifier::addChild(group, last.get());
    Modifier::addChild(last.get(), lastsChild.get());
    Modifier::addChild(scene.tree.get(), afterGroup.get());

    scene.frame(20);
    EXPECT_EQ(first->steps, 1);
    EXPECT_EQ(last->steps, 1);
    EXPECT_EQ(first->getParent(), nullptr);
    EXPECT_EQ(sibling->steps, (Steps {20})) << "the next sibling of a modifier that left";
    EXPECT_EQ(afterGroup->steps, (Steps {20})) << "the walk climbs on after the group's last modifier left";
    // The children that took the place of the modifier start in the next frame.
    EXPECT_TRUE(lastsChild->steps.empty());
    EXPECT_EQ(lastsChild->getParent(), group);
    scene.frame(10);
    EXPECT_EQ(lastsChild->steps, (Steps {10}));
    EXPECT_EQ(sibling->steps, (Steps {20, 10}));
}

// --- the move and purge tasks ---

TEST(MoveTask, SuspendedAndRemovedSubtreesStandStillButTheRootAlwaysRuns)
{
    MiniScene scene;
    scene.root->setSuspended(true);
    CountedNode* awake = static_cast<CountedNode*>(scene.addNode("awake"));
    CountedNode* asleep = static_cast<CountedNode*>(scene.addNode("asleep"));
    CountedNode* below = new CountedNode("below");
    GameNode::addChild(asleep, below);
    asleep->setSuspended(true);
    CountedNode* gone = static_cast<CountedNode*>(scene.addNode("gone"));
    gone->setRemoved(true);
    RefPointer<RecordingModifier> frozen(recorder(100));
    GameNode::addModifier(asleep, frozen.get());
    RefPointer<RecordingModifier> fromTree(recorder(100));
    fromTree->setTarget(asleep);
    Modifier::addChild(scene.tree.get(), fromTree.get());

    scene.move->run(16);
    EXPECT_EQ(awake->updates, (Steps {16}));
    EXPECT_TRUE(asleep->updates.empty());
    EXPECT_TRUE(below->updates.empty());
    EXPECT_TRUE(gone->updates.empty());
    EXPECT_TRUE(frozen->steps.empty());
    // The tree still animates a suspended node.
    EXPECT_EQ(fromTree->steps, (Steps {16}));
}

TEST(PurgeTask, RemovesMarkedNodesChildrenFirst)
{
    MiniScene scene;
    GameNode* parent = scene.addNode("parent");
    GameNode* child = new CountedNode("child");
    GameNode::addChild(parent, child);
    GameNode* keep = scene.addNode("keep");
    child->setRemoved(true);
    parent->setRemoved(true);
    // A marked node below an unmarked one goes too.
    GameNode* grandchild = new CountedNode("grandchild");
    GameNode::addChild(keep, grandchild);
    grandchild->setRemoved(true);
    scene.purge->run(0);
    EXPECT_EQ(scene.root->getFirstChild(), keep);
    EXPECT_EQ(keep->getFirstChild(), nullptr);
    EXPECT_EQ(CountedNode::alive, 1);
}

TEST(PurgeTask, HeldNodeSurvivesUnmarkedAndDetached)
{
    MiniScene scene;
    RefPointer<GameNode> held(scene.addNode("held"));
    held->setRemoved(true);
    scene.purge->run(0);
    EXPECT_EQ(held->getParent(), nullptr);
    EXPECT_FALSE(held->isRemoved());
    EXPECT_EQ(held->getReferenceCount(), 1);
}

TEST(ModifierTree, KilledModifierHeldOutsideLeavesTheTreeOnceAndStillMarksOnDestruction)
{
    MiniScene scene;
    GameNode* node = scene.addNode("n");
    RefPointer<RecordingModifier> held(recorder(-1, Modifier::EndRemoveTargetOnDestroy));
    held->setTarget(node);
    Modifier::addChild(scene.tree.get(), held.get());
    held->kill();
    scene.frame(10);
    scene.frame(10);
    EXPECT_EQ(held->getParent(), nullptr);
    EXPECT_EQ(scene.tree->getFirstChild(), nullptr);
    EXPECT_FALSE(node->hasTreeModifiers());
    EXPECT_EQ(held->getReferenceCount(), 1);
    EXPECT_TRUE(held->steps.empty());
    held.reset();
    EXPECT_TRUE(node->isRemoved());
}
