#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/core/RefPointer.h"
#include "framework/scenegraph/Modifier.h"
#include "framework/scenegraph/Sprite.h"
#include "game/effects/ModifierCallback.h"

namespace {

// Records the calls it gets, and whether the calling step had finished by then.
class Listener : public BaseObject {
public:
    ~Listener() override { ++destroyed; }
    void ping() { calls.push_back("ping" + finishedMark()); }
    void flag(bool value) { calls.push_back(value ? "true" : "false"); }
    int number(int value)
    {
        calls.push_back(std::to_string(value));
        return value;
    }
    void peek() const { ++peeks; }
    void take(RefPointer<Listener> other) { calls.push_back("take " + std::to_string(other->getReferenceCount())); }

    std::string finishedMark() const { return watched && watched->isFinished() ? " after finish" : " before finish"; }

    std::vector<std::string> calls;
    mutable int peeks = 0;
    Modifier* watched = nullptr;
    static int destroyed;
};
int Listener::destroyed = 0;

// A sprite whose removal override records the call (virtual dispatch).
class RemovalSprite : public Sprite {
public:
    void setRemoved(bool value) override
    {
        Sprite::setRemoved(value);
        ++removals;
    }
    int removals = 0;
};

} // namespace

TEST(ModifierCallback, FinishesFirstThenCallsExactlyOnceWithEachArgumentKind)
{
    RefPointer<Listener> listener(new Listener());
    RefPointer<ModifierCallback> plain(createModifierCallback(listener.get(), &Listener::ping));
    listener->watched = plain.get();
    plain->step(16);
    plain->step(16);
    RefPointer<ModifierCallback> withBool(new ModifierCallback(listener.get(), &Listener::flag, false));
    withBool->step(0);
    RefPointer<ModifierCallback> withInt(createModifierCallback(listener.get(), &Listener::number, 7));
    withInt->step(0);
    RefPointer<Listener> other(new Listener());
    RefPointer<ModifierCallback> withObject(
        createModifierCallback(listener.get(), &Listener::take, RefPointer<Listener>(other.get())));
    withObject->step(0);
    RefPointer<ModifierCallback> reading(createModifierCallback(listener.get(), &Listener::peek));
    reading->step(0);
    EXPECT_EQ(listener->peeks, 1);
    // The object argument is held by the step (1), by `other` (2) and freshly for the call (3).
    EXPECT_EQ(listener->calls,
              (std::vector<std::string> {"ping after finish", "false", "7", "take 3"}));
    EXPECT_TRUE(plain->isFinished());
    EXPECT_FALSE(plain->isPending());

    // One nobody counts (a member or a local) is not ended by its own step.
    ModifierCallback unheld(listener.get(), &Listener::flag, true);
    unheld.step(0);
    EXPECT_EQ(listener->calls.back(), "true");
    EXPECT_EQ(unheld.getReferenceCount(), 0);
}

TEST(ModifierCallback, AMemberOfTheBaseDispatchesToTheOverride)
{
    RefPointer<RemovalSprite> sprite(new RemovalSprite());
    RefPointer<ModifierCallback> remove(new ModifierCallback(sprite.get(), &GameNode::setRemoved, true));
    remove->step(0);
    EXPECT_EQ(sprite->removals, 1);
    EXPECT_TRUE(sprite->isRemoved());
}

TEST(ModifierCallback, KeepsItsObjectAliveButNeverCallsANodeThatIsGone)
{
    const int before = Listener::destroyed;
    Listener* listener = new Listener();
    RefPointer<ModifierCallback> call(createModifierCallback(listener, &Listener::ping));
    EXPECT_EQ(listener->getReferenceCount(), 1);
    call->step(0);
    EXPECT_EQ(listener->calls.size(), 1u);
    call.reset();
    EXPECT_EQ(Listener::destroyed, before + 1);

    RemovalSprite* sprite = new RemovalSprite();
    RefPointer<GameNode> holder(sprite);
    RefPointer<ModifierCallback> late(new ModifierCallback(sprite, &GameNode::setRemoved, true));
    EXPECT_EQ(sprite->getReferenceCount(), 1); // a node is watched, not held
    holder.reset();
    EXPECT_FALSE(late->isPending());
    late->step(0); // must not touch the destroyed node
    EXPECT_TRUE(late->isFinished());
}

TEST(ModifierCallback, RunsInTreeOrderAndNeverWhenCancelled)
{
    RefPointer<Listener> listener(new Listener());
    RefPointer<AnimTree> tree(new AnimTree());
    RefPointer<ModifierContainer> group(new ModifierContainer());
    Modifier::addChild(tree.get(), group.get());
    Modifier::addChild(group.get(), createModifierCallback(listener.get(), &Listener::number, 1));

    // Two callbacks under a 30 ms wait run in the frame it finishes, in the order added.
    struct Wait : Modifier {
        int left = 30;
        void step(int ms) override
        {
            if ((left -= ms) <= 0)
                finish();
        }
    };
    Modifier* wait = Modifier::addChild(tree.get(), new Wait());
    Modifier::addChild(wait, createModifierCallback(listener.get(), &Listener::number, 2));
    Modifier::addChild(wait, createModifierCallback(listener.get(), &Listener::number, 3));
    Modifier* killed = Modifier::addChild(wait, createModifierCallback(listener.get(), &Listener::number, 4));
    killed->kill();

    Modifier::updateTree(tree.get(), 20);
    EXPECT_EQ(listener->calls, (std::vector<std::string> {"1"}));
    Modifier::updateTree(tree.get(), 20);
    Modifier::purgeFinished(tree.get());
    Modifier::updateTree(tree.get(), 20);
    EXPECT_EQ(listener->calls, (std::vector<std::string> {"1", "2", "3"}));

    // A tree dropped before the callback's turn never calls it.
    RefPointer<AnimTree> dropped(new AnimTree());
    Modifier* never = Modifier::addChild(dropped.get(), new Wait());
    Modifier::addChild(never, createModifierCallback(listener.get(), &Listener::number, 5));
    dropped.reset();
    EXPECT_EQ(listener->calls.size(), 3u);
}
