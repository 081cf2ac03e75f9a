// One frame of a scene's move and render tasks over a tree of 2,000 nodes
// with 500 running modifiers, drawn into an 800 x 600 32-bit back buffer.
#include <benchmark/benchmark.h>

#include <vector>

#include "framework/core/Random.h"
#include "framework/core/RefPointer.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/Image.h"
#include "framework/scenegraph/ModifierAlpha.h"
#include "framework/scenegraph/ModifierBlink.h"
#include "framework/scenegraph/ModifierFrame.h"
#include "framework/scenegraph/ModifierLocationLine.h"
#include "framework/scenegraph/ModifierRotation.h"
#include "framework/scenegraph/MoveTask.h"
#include "framework/scenegraph/ChangedAreaRenderer.h"
#include "framework/scenegraph/RenderTask.h"
#include "framework/scenegraph/Sprite.h"

namespace {

constexpr int NodeCount = 2000;
constexpr int ModifierCount = 500;
// Long enough that nothing finishes while the benchmark runs.
constexpr int Forever = 1 << 30;

RefPointer<Image> makeImage(int width, int height, bool alpha, uint32_t seed)
{
    RefPointer<Image> image = Image::create(width, height, 4);
    image->lock();
    Random random(seed);
    for (int y = 0; y < height; ++y) {
        uint32_t* row = image->row32(y);
        for (int x = 0; x < width; ++x)
            row[x] = (alpha ? uint32_t(random.nextInt(0, 256)) << 24 : 0xFF000000u) |
                     uint32_t(random.nextInt(0, 0x1000000));
    }
    image->unlock();
    image->setHasAlphaChannel(alpha);
    return image;
}

// A scene shaped like a game board with its panels: 40 groups of 49 sprites
// (a mix of opaque tiles and alpha-blended effects, some with frame strips),
// 500 modifiers split between the animation tree and the nodes' own lists.
struct BenchScene {
    BenchScene()
    {
        backBuffer = Image::create(800, 600, 4);
        graphics = backBuffer->getGraphics();
        tile = makeImage(16, 16, false, 1);
        glow = makeImage(12, 12, true, 2);
        strip = makeImage(48, 12, true, 3);
        strip->setFrameCount(1);
        root = new GameTree();
        tree = new AnimTree();
        move = new MoveTask(root.get(), tree.get());
        render = new RenderTask(root.get());

        Random random(42);
        std::vector<Sprite*> sprites;
        int nodes = 1;
        while (nodes < NodeCount) {
            GameNode* group = new GameNode();
            group->setPosition(random.nextInt(0, 700), random.nextInt(0, 500));
            GameNode::addChild(root.get(), group);
            ++nodes;
            for (int i = 0; i < 49 && nodes < NodeCount; ++i, ++nodes) {
                Sprite* sprite;
                const int kind = random.nextInt(0, 10);
                if (kind < 6) {
                    sprite = new Sprite(random.nextInt(0, 100), random.nextInt(0, 100), tile.get());
                } else if (kind < 9) {
                    sprite = new Sprite(random.nextInt(0, 100), random.nextInt(0, 100), glow.get());
                } else {
                    sprite = new Sprite(random.nextInt(0, 100), random.nextInt(0, 100), strip.get());
                    sprite->setFrameCount(4, true);
                }
                GameNode::addChild(group, sprite);
                sprites.push_back(sprite);
            }
        }
        for (int i = 0; i < ModifierCount; ++i) {
            Sprite* target = sprites[static_cast<size_t>(random.nextInt(0, static_cast<int>(sprites.size())))];
            Modifier* modifier;
            switch (i % 5) {
            case 0:
                modifier = new ModifierLocationLine(Forever, target->getX(), target->getY(), target->getX() + 50,
                                                    target->getY() + 50);
                break;
            case 1:
                modifier = new ModifierAlpha(Forever, 255, 0);
                break;
            case 2:
                modifier = new ModifierBlink(64, 255, 300, 300, 100, 100, 0);
                break;
            case 3:
                modifier = new ModifierFrame(-1, 40);
                break;
            default: {
                ModifierRotation* spin = new ModifierRotation(0.0f, 0.0f, 2000);
                spin->setSpin(true);
                modifier = spin;
                break;
            }
            }
            if (i % 2 == 0) {
                modifier->setTarget(target);
                Modifier::addChild(tree.get(), modifier);
            } else {
                GameNode::addModifier(target, modifier);
            }
        }
    }

    RefPointer<Image> backBuffer;
    RefPointer<Graphics> graphics;
    RefPointer<Image> tile;
    RefPointer<Image> glow;
    RefPointer<Image> strip;
    RefPointer<GameNode> root;
    RefPointer<AnimTree> tree;
    RefPointer<MoveTask> move;
    RefPointer<RenderTask> render;
};

void BM_SceneFrameMoveAndRender(benchmark::State& state)
{
    BenchScene scene;
    for (auto _ : state) {
        scene.move->run(20);
        RenderTask::renderFrame(nullptr, scene.graphics.get(), scene.root.get());
    }
    state.counters["nodes"] = NodeCount;
    state.counters["modifiers"] = ModifierCount;
}
BENCHMARK(BM_SceneFrameMoveAndRender)->Unit(benchmark::kMicrosecond);

// The same frames through the scene task's renderer, which first records
// what the frame would draw and then draws what changed: here nearly all of
// it, so this is the recording's cost on a busy frame.
void BM_SceneFrameMoveAndRenderChangedAreas(benchmark::State& state)
{
    BenchScene scene;
    ChangedAreaRenderer renderer;
    for (auto _ : state) {
        scene.move->run(20);
        renderer.render(nullptr, scene.graphics.get(), scene.root.get());
    }
    state.counters["nodes"] = NodeCount;
}
BENCHMARK(BM_SceneFrameMoveAndRenderChangedAreas)->Unit(benchmark::kMicrosecond);

// A still frame through the same renderer: recorded, compared, not drawn.
void BM_SceneFrameStillChangedAreas(benchmark::State& state)
{
    BenchScene scene;
    ChangedAreaRenderer renderer;
    renderer.render(nullptr, scene.graphics.get(), scene.root.get());
    for (auto _ : state)
        renderer.render(nullptr, scene.graphics.get(), scene.root.get());
    state.counters["nodes"] = NodeCount;
}
BENCHMARK(BM_SceneFrameStillChangedAreas)->Unit(benchmark::kMicrosecond);

void BM_SceneFrameMoveOnly(benchmark::State& state)
{
    BenchScene scene;
    for (auto _ : state)
        scene.move->run(20);
}
BENCHMARK(BM_SceneFrameMoveOnly)->Unit(benchmark::kMicrosecond);

void BM_SceneFrameRenderOnly(benchmark::State& state)
{
    BenchScene scene;
    for (auto _ : state)
        RenderTask::renderFrame(nullptr, scene.graphics.get(), scene.root.get());
}
BENCHMARK(BM_SceneFrameRenderOnly)->Unit(benchmark::kMicrosecond);

} // namespace
