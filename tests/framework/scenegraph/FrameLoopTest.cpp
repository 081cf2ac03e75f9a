#include <gtest/gtest.h>

#include "TestModifiers.h"
#include "framework/core/RefPointer.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/Image.h"
#include "framework/platform/FrameClock.h"
#include "framework/platform/TimedTaskManager.h"
#include "framework/scenegraph/ModifierAlpha.h"
#include "framework/scenegraph/ModifierLocationLine.h"
#include "framework/scenegraph/MoveTask.h"
#include "framework/scenegraph/PurgeTask.h"
#include "framework/scenegraph/RenderTask.h"
#include "framework/scenegraph/Sprite.h"

namespace {

RefPointer<Graphics> frameGraphics;
Graphics* currentGraphics()
{
    return frameGraphics.get();
}

} // namespace

// The frame timer drives a scene's move, render and purge tasks: a sprite
// slides, fades out and is removed with the modifier's end flag, and the
// back buffer shows each step.
TEST(FrameLoop, SceneTasksRunInOrderUnderTheFrameTimer)
{
    ManualFrameClock clock(500);
    RefPointer<TimedTaskManager> timer(new TimedTaskManager(&clock));
    timer->setRate(50);

    RefPointer<Image> backBuffer = Image::create(40, 4, 4);
    backBuffer->setHasAlphaChannel(false);
    frameGraphics = backBuffer->getGraphics();
    RenderTask::Environment environment;
    environment.graphics = &currentGraphics;
    RenderTask::setEnvironment(environment);

    RefPointer<Image> dot = Image::create(1, 1, 4);
    dot->lock();
    dot->row32(0)[0] = 0xFFFFFFFFu;
    dot->unlock();
    dot->setHasAlphaChannel(false);

    RefPointer<GameNode> root(new GameTree());
    RefPointer<AnimTree> tree(new AnimTree());
    Sprite* sprite = new Sprite(0, 0, dot.get());
    GameNode::addChild(root.get(), sprite);
    ModifierLocationLine* slide = new ModifierLocationLine(60, 0, 0, 30, 0);
    slide->setTarget(sprite);
    Modifier::addChild(tree.get(), slide);
    ModifierAlpha* fade = new ModifierAlpha(40, 255, 0);
    fade->setTarget(sprite);
    fade->setEndFlags(Modifier::EndRemoveTarget);
    Modifier::addChild(slide, fade);

    timer->addTask(new MoveTask(root.get(), tree.get()));
    timer->addTask(new RenderTask(root.get()));
    timer->addTask(new PurgeTask(root.get(), tree.get()));

    auto red = [&](int x) {
        backBuffer->lock();
        const uint32_t value = (backBuffer->row32(0)[x] >> 16) & 0xFFu;
        backBuffer->unlock();
        return value;
    };
    for (int frame = 0; frame < 3; ++frame) {
        clock.advance(20);
        timer->tick();
    }
    // 60 ms in three frames of 20: at its end point.
    EXPECT_EQ(sprite->getX(), 30);
    EXPECT_EQ(red(10), 255u);
    EXPECT_EQ(red(20), 255u);
    EXPECT_EQ(clock.totalSlept(), 0u);
    // The fade started in the frame the slide finished, with that frame's 20 ms.
    EXPECT_EQ(sprite->getAlpha(), 127);
    EXPECT_GT(red(30), 100u);
    EXPECT_LT(red(30), 160u);
    // Frames come early: the timer sleeps the rest of the 20 ms away.
    clock.advance(5);
    timer->tick();
    EXPECT_EQ(clock.totalSlept(), 15u);
    EXPECT_EQ(sprite->getAlpha(), 0);
    EXPECT_TRUE(sprite->isRemoved());
    clock.advance(20);
    timer->tick();
    EXPECT_EQ(root->getFirstChild(), nullptr);
    EXPECT_EQ(tree->getFirstChild(), nullptr);

    RenderTask::setEnvironment(RenderTask::Environment());
    frameGraphics.reset();
}
