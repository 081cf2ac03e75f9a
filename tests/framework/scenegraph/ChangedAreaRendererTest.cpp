#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "framework/core/RefPointer.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/Image.h"
#include "framework/scenegraph/ChangedAreaRenderer.h"
#include "framework/scenegraph/GameNode.h"
#include "framework/scenegraph/RenderTask.h"
#include "framework/scenegraph/Sprite.h"

namespace {

// A picture with a soft alpha edge, so that blending shows in the result.
RefPointer<Image> picture(int width, int height, uint32_t colour)
{
    RefPointer<Image> image = Image::create(width, height, 4);
    image->lock();
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const uint32_t alpha = (x == 0 || y == 0) ? 0x80 : 0xFF;
            image->row32(y)[x] = (alpha << 24) | ((colour + uint32_t(x * 7 + y * 3)) & 0xFFFFFF);
        }
    image->unlock();
    return image;
}

// A scene of 160 x 120: an opaque background, sprites over it (one inside a
// clipping panel, one turned), drawn by the renderer that draws only what
// changed and, for comparison, whole every frame.
class ChangedAreaRendererTest : public ::testing::Test {
protected:
    ChangedAreaRendererTest()
    {
        background = picture(160, 120, 0x203040);
        background->setHasAlphaChannel(false);
        GameNode::addChild(root.get(), new Sprite(0, 0, background.get()));
        moving = new Sprite(10, 10, ball.get());
        GameNode::addChild(root.get(), moving);
        Sprite* panel = new Sprite(80, 60, 0, 0);
        panel->setClipRect(80, 60, 40, 30);
        GameNode::addChild(root.get(), panel);
        clipped = new Sprite(-10, -10, ball.get());
        GameNode::addChild(panel, clipped);
        turned = new Sprite(120, 20, ball.get());
        GameNode::addChild(root.get(), turned);
        turned->setRotation(0.3f);
    }

    // Draws the next frame both ways; the two must agree on every pixel.
    void frame(const std::string& what)
    {
        SCOPED_TRACE(what);
        renderer.render(nullptr, partialGraphics.get(), root.get());
        RenderTask::renderFrame(nullptr, wholeGraphics.get(), root.get());
        // The top bytes are not shown; an overall alpha blends them as well,
        // so a frame drawn again over itself may differ there.
        for (int y = 0; y < 120; ++y)
            for (int x = 0; x < 160; ++x)
                ASSERT_EQ(partial->row32(y)[x] & 0xFFFFFFu, whole->row32(y)[x] & 0xFFFFFFu) << x << ", " << y;
        EXPECT_EQ(partialGraphics->getClipRect(), (Rect {0, 0, 160, 120})) << "the clip is given back";
    }
    int64_t drawnPixels() const
    {
        int64_t sum = 0;
        for (const Rect& area : renderer.getDrawnAreas())
            sum += int64_t(area.width) * area.height;
        return sum;
    }

    RefPointer<Image> background;
    RefPointer<Image> ball = picture(12, 12, 0xC08020);
    RefPointer<GameNode> root {new GameTree()};
    Sprite* moving = nullptr;
    Sprite* clipped = nullptr;
    Sprite* turned = nullptr;
    RefPointer<Image> partial = Image::create(160, 120, 4);
    RefPointer<Image> whole = Image::create(160, 120, 4);
    RefPointer<Graphics> partialGraphics = partial->getGraphics();
    RefPointer<Graphics> wholeGraphics = whole->getGraphics();
    ChangedAreaRenderer renderer;
};

TEST_F(ChangedAreaRendererTest, AStillFrameDrawsNothingAndEveryChangeIsDrawn)
{
    frame("first frame");
    EXPECT_EQ(drawnPixels(), 160 * 120) << "the first frame is drawn whole";
    const uint32_t version = partial->getContentVersion();
    frame("the same frame");
    EXPECT_TRUE(renderer.getDrawnAreas().empty());
    EXPECT_EQ(partial->getContentVersion(), version) << "nothing was drawn";

    struct Change {
        const char* what;
        std::function<void()> apply;
    };
    const Change changes[] = {
        {"a sprite moves", [&] { moving->setPosition(30, 14); }},
        {"its alpha changes", [&] { moving->setAlpha(120); }},
        {"a picture is drawn into",
         [&] {
             RefPointer<Graphics> g = ball->getGraphics();
             g->setColour(0xFF00FF00u);
             g->fillRect(4, 4, 3, 3);
         }},
        {"a sprite is hidden", [&] { moving->setVisible(false); }},
        {"and shown again", [&] { moving->setVisible(true); }},
        {"a clipped sprite moves past its clip", [&] { clipped->setPosition(30, 20); }},
        {"a turned sprite turns", [&] { turned->setRotation(1.1f); }},
        {"a sprite stands in another's place", [&] { moving->setImage(background.get()); }},
    };
    for (const Change& change : changes) {
        change.apply();
        frame(change.what);
        EXPECT_GT(drawnPixels(), 0) << change.what;
        if (std::string(change.what) != "a sprite stands in another's place") {
            EXPECT_LT(drawnPixels(), 160 * 120 / 2) << change.what << ": only about the change";
        }
        frame(std::string(change.what) + ", then still");
        EXPECT_TRUE(renderer.getDrawnAreas().empty()) << change.what;
    }
}

TEST_F(ChangedAreaRendererTest, NodesComingAndGoingAreDrawnWhereTheyAreAndSomeoneElseDrawingGivesAWholeFrame)
{
    frame("first frame");
    frame("still");
    Sprite* added = new Sprite(50, 50, ball.get());
    GameNode::addChild(root.get(), added);
    frame("a sprite added");
    EXPECT_LT(drawnPixels(), 160 * 120 / 2);
    added->setRemoved(true);
    frame("and removed");
    EXPECT_LT(drawnPixels(), 160 * 120 / 2);

    // Drawn over by another (a tool tip, say): both targets get the same.
    for (Graphics* graphics : {partialGraphics.get(), wholeGraphics.get()}) {
        graphics->setColour(0xFFFFFFFFu);
        graphics->fillRect(100, 5, 20, 10);
    }
    frame("drawn over by someone else");
    EXPECT_EQ(drawnPixels(), 160 * 120);

    // A scene that is left lets go of the buffer and draws whole when back.
    const int held = partial->getReferenceCount();
    renderer.forget();
    EXPECT_LT(partial->getReferenceCount(), held);
    frame("back after leaving");
    EXPECT_EQ(drawnPixels(), 160 * 120);
}

} // namespace
