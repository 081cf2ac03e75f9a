#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "framework/core/RefPointer.h"
#include "framework/scenegraph/Modifier.h"
#include "framework/scenegraph/Sprite.h"
#include "game/effects/Effects.h"
#include "game/effects/ModifierCallback.h"
#include "support/LogCapture.h"
#include "ScopedEffectRandom.h"

namespace {

using Size = std::pair<int, int>;

// Runs `tree` in 10 ms frames until nothing is left in it (at most `limitMs`),
// retiring finished steps, and records read() after each frame.
template <class Read>
auto runTree(AnimTree* tree, Read read, int limitMs = 10000)
{
    std::vector<decltype(read())> values;
    for (int elapsed = 0; elapsed < limitMs && tree->getFirstChild(); elapsed += 10) {
        Modifier::updateTree(tree, 10);
        Modifier::purgeFinished(tree);
        values.push_back(read());
    }
    return values;
}

Size stretchOf(const Sprite* sprite)
{
    const auto& rect = sprite->getStretchRect();
    return rect ? Size {rect->width, rect->height} : Size {sprite->getWidth(), sprite->getHeight()};
}

// Steps the chain that ends in `last` one link at a time (not through the
// tree, where a child starts in its parent's last frame), each by its whole
// duration, and records each link's duration and read() after it.
template <class Read>
std::vector<std::pair<int, Size>> stepChain(Modifier* last, Read read)
{
    std::vector<ModifierFraction*> links;
    for (Modifier* m = last; m && !m->isKindOf<AnimTree>(); m = m->getParent())
        links.insert(links.begin(), static_cast<ModifierFraction*>(m));
    std::vector<std::pair<int, Size>> values;
    for (ModifierFraction* link : links) {
        link->step(link->getDuration());
        values.emplace_back(link->getDuration(), read());
    }
    if (!links.empty())
        Modifier::purgeFinished(links.front()->getParent());
    return values;
}

class Done : public BaseObject {
public:
    void finished() { ++calls; }
    int calls = 0;
};

} // namespace

TEST(Effects, PopsSquashAndStretchByTheirFactorAndEndWhereAsked)
{
    RefPointer<AnimTree> tree(new AnimTree());
    RefPointer<Sprite> tile(new Sprite(0, 0, 40, 20));
    tile->setPivotPointKind(Sprite::Center);
    auto size = [&] { return stretchOf(tile.get()); };

    addPopEffect(tile.get(), tree.get(), false, false, 0.0f);
    std::vector<Size> still = runTree(tree.get(), size);
    EXPECT_EQ(std::count(still.begin(), still.end(), Size {40, 20}), static_cast<long>(still.size()));

    // Wide and low, narrow and tall, back; then grown, settled, 0.7 x 1.3, gone.
    EXPECT_EQ(stepChain(addPopEffect(tile.get(), tree.get(), true, false, 0.5f), size),
              (std::vector<std::pair<int, Size>> {{150, {60, 10}}, {100, {20, 30}}, {100, {40, 20}}}));
    EXPECT_EQ(stepChain(addBouncePopEffect(tile.get(), tree.get(), false, true, 0.5f), size),
              (std::vector<std::pair<int, Size>> {
                  {150, {60, 30}}, {150, {40, 20}}, {100, {28, 26}}, {100, {0, 0}}}));
}

TEST(Effects, JellyGrowsInFromNothingAndReversedShrinksAway)
{
    RefPointer<AnimTree> tree(new AnimTree());
    RefPointer<Sprite> pastry(new Sprite(0, 0, 50, 40));
    auto size = [&] { return stretchOf(pastry.get()); };
    addJellyEffect(pastry.get(), tree.get(), 100, false, false);
    EXPECT_EQ(size(), (Size {0, 0})); // invisible at once, also through the delay
    std::vector<Size> in = runTree(tree.get(), size);
    EXPECT_EQ(in[8], (Size {0, 0}));
    EXPECT_EQ(in.back(), (Size {50, 40}));
    EXPECT_EQ(stepChain(addJellyEffect(pastry.get(), tree.get(), 0, false, false), size),
              (std::vector<std::pair<int, Size>> {{360, {60, 36}}, {180, {40, 52}}, {180, {50, 40}}}));
    EXPECT_EQ(stepChain(addJellyEffect(pastry.get(), tree.get(), 0, false, true), size).front().first, 180);

    addJellyEffect(pastry.get(), tree.get(), 0, true, false);
    EXPECT_EQ(runTree(tree.get(), size).back(), (Size {0, 0}));
}

TEST(Effects, ConfettiFallsFromAboveWithinTheOrderedRangeAndGoesAtTheBottom)
{
    ScopedEffectRandom draws;
    RefPointer<AnimTree> tree(new AnimTree());
    RefPointer<GameNode> layer(new GameNode());
    EXPECT_EQ(addConfettiBurst(layer.get(), tree.get(), 0, 1000, 0, 800, true), nullptr);
    EXPECT_EQ(layer->getChildCount(), 0);

    // The range given backwards, as the frenzy gives it.
    LogCapture log;
    ASSERT_NE(addStarConfettiBurst(layer.get(), tree.get(), 30, 500, 600, 200), nullptr);
    EXPECT_TRUE(log.contains("addStarConfettiBurst: no image \"CONFETTISTARS")); // none loaded here
    ASSERT_EQ(layer->getChildCount(), 30);
    std::vector<std::pair<int, int>> lowest(30, {0, -1000});
    bool swayed = false;
    runTree(tree.get(), [&] {
        int i = 0;
        for (GameNode* piece = layer->getFirstChild(); piece; piece = piece->getNextSibling(), ++i) {
            auto& seen = lowest[static_cast<size_t>(i)];
            swayed = swayed || (seen.second != -1000 && piece->getY() != -20 && piece->getX() != seen.first);
            if (piece->getY() != -20 && seen.second == -1000) {
                EXPECT_LE(piece->getY(), 0) << "piece " << i << " starts inside the screen";
                EXPECT_GE(piece->getY(), -199) << "piece " << i;
            }
            if (piece->getY() != -20)
                seen = {piece->getX(), piece->getY()};
        }
        return 0;
    });
    EXPECT_TRUE(swayed); // pieces sway sideways as they fall
    int i = 0;
    for (GameNode* piece = layer->getFirstChild(); piece; piece = piece->getNextSibling(), ++i) {
        EXPECT_TRUE(piece->isRemoved());
        EXPECT_EQ(piece->getY(), 600);
        EXPECT_GE(piece->getX(), 200 - 20);
        EXPECT_LT(piece->getX(), 600 + 20);
    }

    // No range and no delay still make pieces, all at the one x.
    RefPointer<GameNode> narrow(new GameNode());
    addConfettiBurst2(narrow.get(), tree.get(), 5, 0, 300, 300, false);
    Modifier::updateTree(tree.get(), 10);
    for (GameNode* piece = narrow->getFirstChild(); piece; piece = piece->getNextSibling())
        EXPECT_NEAR(piece->getX(), 300, 20);
}

TEST(Effects, SlideThroughCrossesTheMiddleCallsBackOnceAndRemovesTheBanner)
{
    RefPointer<AnimTree> tree(new AnimTree());
    RefPointer<Sprite> banner(new Sprite(0, 0, 320, 96));
    RefPointer<Done> done(new Done());
    addSlideThroughEffect(banner.get(), tree.get(), true, new ModifierCallback(done.get(), &Done::finished));
    EXPECT_EQ(banner->getX(), 960);
    EXPECT_EQ(banner->getY(), 245);
    bool passedMiddle = false;
    bool vanished = false;
    std::vector<int> calls = runTree(tree.get(), [&] {
        passedMiddle = passedMiddle || banner->getX() == 400;
        // Its narrowest is the pop's tall phase, half its width.
        vanished = vanished || stretchOf(banner.get()).first < 160;
        return done->calls;
    });
    EXPECT_TRUE(passedMiddle);
    EXPECT_FALSE(vanished); // its pop in the middle ends at full size
    EXPECT_EQ(banner->getX(), -160);
    EXPECT_EQ(done->calls, 1);
    EXPECT_EQ(std::count(calls.begin(), calls.end(), 0), static_cast<long>(calls.size()) - 1);
    EXPECT_TRUE(banner->isRemoved());
}

TEST(Effects, WithoutANodeOrATreeToRunInNothingIsAdded)
{
    RefPointer<AnimTree> tree(new AnimTree());
    RefPointer<Sprite> sprite(new Sprite(0, 0, 10, 10));
    for (GameNode* node : {static_cast<GameNode*>(nullptr), static_cast<GameNode*>(sprite.get())}) {
        // A node needs a tree; with neither a parent nor a current scene there is none.
        Modifier* parent = node ? nullptr : tree.get();
        SCOPED_TRACE(node ? "no tree" : "no node");
        EXPECT_EQ(addPopEffect(node, parent, false, false, 0.5f), nullptr);
        EXPECT_EQ(addBouncePopEffect(node, parent, false, false, 0.5f), nullptr);
        EXPECT_EQ(addJellyEffect(node, parent, 100, false, false), nullptr);
        EXPECT_EQ(addFadeInEffect(node, parent, true, 0.5f, 1.0f, 0, 255), nullptr);
        EXPECT_EQ(addSlideThroughEffect(node, parent, true, nullptr), nullptr);
        EXPECT_EQ(addConfettiBurst(node, parent, 3, 100, 0, 10, false), nullptr);
    }
    EXPECT_EQ(tree->getFirstChild(), nullptr);
    EXPECT_EQ(sprite->getChildCount(), 0);
}

TEST(Effects, FadeInShowsTheNodeFadingAndZoomsOnlyWhenAsked)
{
    RefPointer<AnimTree> tree(new AnimTree());
    RefPointer<Sprite> still(new Sprite(0, 0, 10, 10));
    addFadeInEffect(still.get(), tree.get(), false, 0.5f, 2.0f, 0, 255);
    EXPECT_FALSE(still->isVisible());
    EXPECT_EQ(still->getAlpha(), 0);
    EXPECT_EQ(still->getScale(), 1.0f);
    runTree(tree.get(), [] { return 0; });
    EXPECT_TRUE(still->isVisible());
    EXPECT_EQ(still->getAlpha(), 255);
    EXPECT_EQ(still->getScale(), 1.0f);

    RefPointer<Sprite> zoomed(new Sprite(0, 0, 10, 10));
    addFadeInEffect(zoomed.get(), tree.get(), true, 0.5f, 2.0f, 0, 255);
    EXPECT_FALSE(zoomed->isVisible());
    EXPECT_EQ(zoomed->getScale(), 0.5f);
    runTree(tree.get(), [] { return 0; });
    EXPECT_TRUE(zoomed->isVisible());
    EXPECT_EQ(zoomed->getAlpha(), 255);
    EXPECT_EQ(zoomed->getScale(), 2.0f);
}
