#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "framework/core/RefPointer.h"
#include "framework/scenegraph/ModifierAlpha.h"
#include "framework/scenegraph/ModifierBlink.h"
#include "framework/scenegraph/ModifierClipRect.h"
#include "framework/scenegraph/ModifierRotation.h"
#include "framework/scenegraph/ModifierScale.h"
#include "framework/scenegraph/ModifierStretch.h"
#include "framework/scenegraph/Sprite.h"

namespace {

// Steps the modifier on the sprite until it finishes (at most `limit` steps)
// and records `read(sprite)` after each step.
template <class Read>
auto collect(Modifier* modifier, Sprite* sprite, int frameMs, Read read, int limit = 100)
{
    RefPointer<Modifier> hold(modifier);
    modifier->setTarget(sprite);
    std::vector<decltype(read(sprite))> values;
    for (int i = 0; i < limit && !modifier->isFinished(); ++i) {
        modifier->step(frameMs);
        values.push_back(read(sprite));
    }
    return values;
}

int alphaOf(Sprite* sprite)
{
    return sprite->getAlpha();
}

} // namespace

TEST(ModifierAlpha, FadesInWithTruncation)
{
    RefPointer<Sprite> sprite(new Sprite(0, 0, 10, 10));
    sprite->setAlpha(0);
    RefPointer<ModifierAlpha> fade(new ModifierAlpha(100, 0, 255));
    EXPECT_EQ(collect(fade.get(), sprite.get(), 40, alphaOf), (std::vector<int> {102, 204, 255}));
    EXPECT_TRUE(fade->isFinished());
}

TEST(ModifierAlpha, ZeroDurationAppliesTheEndAtOnceAndPlainNodesAreLeftAlone)
{
    RefPointer<Sprite> sprite(new Sprite(0, 0, 10, 10));
    EXPECT_EQ(collect(new ModifierAlpha(0, 255, 7), sprite.get(), 16, alphaOf), (std::vector<int> {7}));
    RefPointer<GameNode> node(new GameNode());
    RefPointer<ModifierAlpha> fade(new ModifierAlpha(10, 0, 100));
    fade->setTarget(node.get());
    fade->step(10);
    EXPECT_TRUE(fade->isFinished());
}

TEST(ModifierScale, ReachesTheEndScale)
{
    RefPointer<Sprite> sprite(new Sprite(0, 0, 10, 10));
    std::vector<float> scales =
        collect(new ModifierScale(20, 1.0f, 2.0f), sprite.get(), 10, [](Sprite* s) { return s->getScale(); });
    EXPECT_EQ(scales, (std::vector<float> {1.5f, 2.0f}));
}

TEST(ModifierClipRect, RoundsEachSideHalfToEven)
{
    RefPointer<Sprite> sprite(new Sprite(0, 0, 10, 10));
    std::vector<Rect> rects = collect(new ModifierClipRect(4, 0, 0, 0, 10, 5, 5, 10, 10), sprite.get(), 1,
                                      [](Sprite* s) { return *s->getClipRect(); });
    // 5 * 0.25 = 1.25 -> 1, 5 * 0.5 = 2.5 -> 2, 5 * 0.75 = 3.75 -> 4
    ASSERT_EQ(rects.size(), 4u);
    EXPECT_EQ(rects[0], (Rect {1, 1, 2, 10}));
    EXPECT_EQ(rects[1], (Rect {2, 2, 5, 10}));
    EXPECT_EQ(rects[2], (Rect {4, 4, 8, 10}));
    EXPECT_EQ(rects[3], (Rect {5, 5, 10, 10}));
}

TEST(ModifierStretch, StretchesAboutTheCentre)
{
    RefPointer<Sprite> sprite(new Sprite(50, 50, 10, 10));
    sprite->setAnchorPoint(Sprite::Center);
    std::vector<Rect> rects = collect(new ModifierStretch(20, 10.0f, 10.0f, 30.0f, 20.0f), sprite.get(), 10,
                                      [](Sprite* s) { return *s->getStretchRect(); });
    EXPECT_EQ(rects, (std::vector<Rect> {{40, 42, 20, 15}, {35, 40, 30, 20}}));
}

TEST(ModifierStretch, OneAxisOnly)
{
    RefPointer<Sprite> sprite(new Sprite(0, 0, 10, 10));
    ModifierStretch* stretch = new ModifierStretch(10, 10.0f, 10.0f, 20.0f, 40.0f);
    stretch->setStretchHeight(false);
    std::vector<Rect> rects = collect(stretch, sprite.get(), 10, [](Sprite* s) { return *s->getStretchRect(); });
    EXPECT_EQ(rects.back(), (Rect {0, 0, 20, 10}));
}

TEST(ModifierRotation, EndsExactlyOnTheToAngle)
{
    RefPointer<Sprite> sprite(new Sprite(0, 0, 10, 10));
    std::vector<float> angles = collect(new ModifierRotation(0.0f, 0.3f, 30), sprite.get(), 10,
                                        [](Sprite* s) { return s->getRotation(); });
    ASSERT_EQ(angles.size(), 4u);
    EXPECT_FLOAT_EQ(angles[0], 0.0f);
    EXPECT_FLOAT_EQ(angles[1], 0.1f);
    EXPECT_FLOAT_EQ(angles[2], 0.2f);
    EXPECT_EQ(angles[3], 0.3f);
}

TEST(ModifierRotation, SmoothAndSpin)
{
    RefPointer<Sprite> sprite(new Sprite(0, 0, 10, 10));
    ModifierRotation* smooth = new ModifierRotation(0.0f, 1.0f, 40);
    smooth->setSmooth(true);
    std::vector<float> angles = collect(smooth, sprite.get(), 10, [](Sprite* s) { return s->getRotation(); });
    EXPECT_FLOAT_EQ(angles[1], 0.15625f);
    EXPECT_FLOAT_EQ(angles[2], 0.5f);

    RefPointer<ModifierRotation> spin(new ModifierRotation(0.0f, 0.0f, 100));
    spin->setSpin(true);
    std::vector<float> turns = collect(spin.get(), sprite.get(), 50, [](Sprite* s) { return s->getRotation(); }, 4);
    EXPECT_FALSE(spin->isFinished());
    EXPECT_FLOAT_EQ(turns[1], 3.14159275f);
    EXPECT_FLOAT_EQ(turns[3], 3 * 3.14159275f);
}

TEST(ModifierRotation, ZeroDurationGoesStraightToTheEndWithoutNaN)
{
    RefPointer<Sprite> sprite(new Sprite(0, 0, 10, 10));
    std::vector<float> angles =
        collect(new ModifierRotation(1.0f, 2.0f, 0), sprite.get(), 10, [](Sprite* s) { return s->getRotation(); });
    EXPECT_EQ(angles, (std::vector<float> {2.0f}));
    EXPECT_FALSE(std::isnan(sprite->getRotation()));
    // A spin without a duration stands at its start angle.
    RefPointer<ModifierRotation> spin(new ModifierRotation(1.0f, 2.0f, 0));
    spin->setSpin(true);
    angles = collect(spin.get(), sprite.get(), 10, [](Sprite* s) { return s->getRotation(); }, 2);
    EXPECT_EQ(angles, (std::vector<float> {1.0f, 1.0f}));
}

TEST(ModifierBlink, TwoBlinksEndAtLowInsteadOfTheSecondLowHold)
{
    RefPointer<Sprite> sprite(new Sprite(0, 0, 10, 10));
    RefPointer<ModifierBlink> blink(new ModifierBlink(0, 255, 100, 100, 50, 50, 2));
    std::vector<int> values = collect(blink.get(), sprite.get(), 50, alphaOf);
    // up (0, 127), high hold, down (255, 127), low hold, up, high hold, down, then low and done.
    EXPECT_EQ(values, (std::vector<int> {0, 127, 255, 255, 127, 0, 0, 127, 255, 255, 127, 0}));
    EXPECT_TRUE(blink->isFinished());
    EXPECT_EQ(blink->getBlinkCounter(), 2);
}

TEST(ModifierBlink, BlinksTheListedNodesInsteadOfTheTarget)
{
    RefPointer<Sprite> target(new Sprite(0, 0, 1, 1));
    RefPointer<Sprite> a(new Sprite(0, 0, 1, 1));
    RefPointer<Sprite> b(new Sprite(0, 0, 1, 1));
    RefPointer<ModifierBlink> blink(new ModifierBlink(10, 20, 10, 10, 10, 10, 0));
    blink->addNode(a.get());
    blink->addNode(b.get());
    blink->setTarget(target.get());
    for (int i = 0; i < 2; ++i)
        blink->step(10);
    EXPECT_EQ(a->getAlpha(), 20);
    EXPECT_EQ(b->getAlpha(), 20);
    EXPECT_EQ(target->getAlpha(), 255);
    // A destroyed listed node is skipped, not touched.
    b.reset();
    blink->step(10);
    EXPECT_FALSE(blink->isFinished());
}

// A text field's caret blinks endlessly with the hold times it was given; with
// all times 0 it must rest visible (high), not vanish.
TEST(ModifierBlink, AllPhaseTimesZeroRestsAtHighOrEndsAtLowWhenCounted)
{
    RefPointer<Sprite> sprite(new Sprite(0, 0, 1, 1));
    std::vector<int> values = collect(new ModifierBlink(30, 200, 0, 0, 0, 0, 0), sprite.get(), 16, alphaOf);
    EXPECT_EQ(values, (std::vector<int> {200}));
    values = collect(new ModifierBlink(30, 200, 0, 0, 0, 0, 2), sprite.get(), 16, alphaOf);
    EXPECT_EQ(values, (std::vector<int> {30}));
    // Holds alone, without fades, still blink.
    RefPointer<ModifierBlink> holds(new ModifierBlink(30, 200, 0, 0, 16, 16, 0));
    values = collect(holds.get(), sprite.get(), 16, alphaOf, 4);
    EXPECT_FALSE(holds->isFinished());
    EXPECT_EQ(values, (std::vector<int> {200, 30, 200, 30}));
}
