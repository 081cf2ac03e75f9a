#include <gtest/gtest.h>

#include <vector>

#include "framework/core/BasicProperties.h"
#include "framework/core/PropertyStore.h"
#include "framework/core/RefPointer.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/Image.h"
#include "framework/scenegraph/AdditiveSprite.h"
#include "framework/scenegraph/ModifierFrame.h"
#include "framework/scenegraph/RenderTask.h"
#include "framework/scenegraph/Sprite.h"

namespace {

// An opaque 32-bit image whose pixel (x, y) holds 0x80 red, x green and y
// blue, so a drawn pixel tells where in the source it came from.
RefPointer<Image> coordinateImage(int width, int height, int frames = 1)
{
    RefPointer<Image> image = Image::create(width, height, 4);
    image->lock();
    for (int y = 0; y < height; ++y) {
        uint32_t* row = image->row32(y);
        for (int x = 0; x < width; ++x)
            row[x] = 0xFF800000u | (uint32_t(x) << 8) | uint32_t(y);
    }
    image->unlock();
    image->setHasAlphaChannel(false);
    image->setFrameCount(frames);
    return image;
}

RefPointer<Image> canvas(int width, int height)
{
    RefPointer<Image> image = Image::create(width, height, 4);
    image->setHasAlphaChannel(false);
    return image;
}

uint32_t pixel(Image* image, int x, int y)
{
    image->lock();
    // Opaque copies keep the target's alpha byte; compare the colour only.
    const uint32_t value = image->row32(y)[x] & 0xFFFFFFu;
    image->unlock();
    return value;
}

uint32_t source(int x, int y)
{
    return 0x800000u | (uint32_t(x) << 8) | uint32_t(y);
}

RefPointer<PropertyStore> parse(const std::string& xml)
{
    RefPointer<PropertyStore> store(new PropertyStore());
    EXPECT_TRUE(store->loadFromBuffer(xml.data(), xml.size()));
    return store;
}

RefPointer<Image> lookedUp;
Image* lookupImage(const std::string& name, const std::string& section)
{
    return (name == "strip" && section == "scenegame") ? lookedUp.get() : nullptr;
}

} // namespace

// --- frames ---

TEST(SpriteFrames, HorizontalLayoutOfThreeFrames)
{
    RefPointer<Image> strip = coordinateImage(96, 32);
    RefPointer<Sprite> sprite(new Sprite(0, 0, strip.get()));
    sprite->setFrameCount(3, true);
    EXPECT_EQ(sprite->getWidth(), 32);
    EXPECT_EQ(sprite->getHeight(), 32);
    EXPECT_EQ(sprite->getFrameOffsetX(), 32);
    EXPECT_EQ(sprite->getFrameOffsetY(), 0);
    sprite->setCurrentFrame(2);
    EXPECT_EQ(sprite->getSourceRect()->x, 64);
    EXPECT_EQ(sprite->getSourceRect()->width, 32);
}

TEST(SpriteFrames, ImageFrameCountLaysOutVertically)
{
    RefPointer<Image> strip = coordinateImage(10, 40, 4);
    RefPointer<Sprite> sprite(new Sprite(0, 0, strip.get()));
    EXPECT_EQ(sprite->getHeight(), 10);
    EXPECT_EQ(sprite->getFrameOffsetY(), 10);
    sprite->setCurrentFrame(3);
    EXPECT_EQ(sprite->getSourceRect()->y, 30);
}

TEST(SpriteFrames, SwitchStyleRunsBackAndForth)
{
    RefPointer<Image> strip = coordinateImage(40, 10);
    RefPointer<Sprite> sprite(new Sprite(0, 0, strip.get()));
    sprite->setFrameCount(4, true);
    sprite->setFrameWrapStyle(Sprite::WrapSwitch);
    std::vector<int> frames {sprite->getCurrentFrame()};
    for (int i = 0; i < 8; ++i) {
        sprite->nextFrame();
        frames.push_back(sprite->getCurrentFrame());
    }
    EXPECT_EQ(frames, (std::vector<int> {0, 1, 2, 3, 2, 1, 0, 1, 2}));
}

TEST(SpriteFrames, LoopInReverseWrapsToTheLastFrameAndOnceStays)
{
    RefPointer<Image> strip = coordinateImage(40, 10);
    RefPointer<Sprite> sprite(new Sprite(0, 0, strip.get()));
    sprite->setFrameCount(4, true);
    sprite->setReverseFrames(true);
    sprite->nextFrame();
    EXPECT_EQ(sprite->getCurrentFrame(), 3);
    sprite->setReverseFrames(false);
    sprite->setFrameWrapStyle(Sprite::WrapOnce);
    // A bare step past the end under "once" shows frame 0.
    sprite->nextFrame();
    EXPECT_EQ(sprite->getCurrentFrame(), 0);
}

TEST(SpriteFrames, FrameCountZeroLaysOutOneFrame)
{
    RefPointer<Image> strip = coordinateImage(20, 10);
    RefPointer<Sprite> sprite(new Sprite(0, 0, strip.get()));
    sprite->setFrameCount(4, true);
    EXPECT_EQ(sprite->getWidth(), 5);
    sprite->setFrameCount(0, true);
    EXPECT_EQ(sprite->getWidth(), 20);
    sprite->nextFrame();
    EXPECT_EQ(sprite->getCurrentFrame(), 0);
}

TEST(SpriteFrames, FrameModifierLoopsCountedTimesAndFinishesOnTheEndFrame)
{
    RefPointer<Image> strip = coordinateImage(30, 10);
    RefPointer<Sprite> sprite(new Sprite(0, 0, strip.get()));
    sprite->setFrameCount(3, true);
    RefPointer<ModifierFrame> frames(new ModifierFrame(2, 10));
    frames->setTarget(sprite.get());
    std::vector<int> shown;
    for (int i = 0; i < 12 && !frames->isFinished(); ++i) {
        frames->step(10);
        shown.push_back(sprite->getCurrentFrame());
    }
    EXPECT_TRUE(frames->isFinished());
    EXPECT_EQ(sprite->getCurrentFrame(), 2);
    EXPECT_EQ(shown, (std::vector<int> {0, 1, 2, 0, 1, 2, 2}));

    // No repeats: once through, then it finishes on the end frame.
    sprite->setCurrentFrame(0);
    RefPointer<ModifierFrame> once(new ModifierFrame(0, 10));
    once->setTarget(sprite.get());
    shown.clear();
    for (int i = 0; i < 12 && !once->isFinished(); ++i) {
        once->step(10);
        shown.push_back(sprite->getCurrentFrame());
    }
    EXPECT_TRUE(once->isFinished());
    EXPECT_EQ(shown, (std::vector<int> {0, 1, 2, 2}));
}

TEST(SpriteFrames, FrameModifierWithOnceStopsOnTheLastFrame)
{
    RefPointer<Image> strip = coordinateImage(30, 10);
    RefPointer<Sprite> sprite(new Sprite(0, 0, strip.get()));
    sprite->setFrameCount(3, true);
    sprite->setFrameWrapStyle(Sprite::WrapOnce);
    RefPointer<ModifierFrame> frames(new ModifierFrame(-1, 10));
    frames->setTarget(sprite.get());
    for (int i = 0; i < 20 && !frames->isFinished(); ++i)
        frames->step(25); // frames skip: more than one frame time per step
    EXPECT_TRUE(frames->isFinished());
    EXPECT_EQ(sprite->getCurrentFrame(), 2);
}

TEST(SpriteFrames, FrameModifierOnAPlainNodeFinishesCleanly)
{
    RefPointer<GameNode> node(new GameNode());
    RefPointer<ModifierFrame> frames(new ModifierFrame(-1, 0));
    frames->setTarget(node.get());
    frames->step(16);
    EXPECT_TRUE(frames->isFinished());
}

// --- anchors, pivots, hit tests ---

TEST(SpriteAnchor, CenterOfAnOddWidthRoundsHalfToEvenWhenDrawn)
{
    RefPointer<Sprite> sprite(new Sprite(100, 50, 33, 10));
    sprite->setAnchorPoint(Sprite::Center);
    EXPECT_FLOAT_EQ(sprite->getAnchorPoint().x, 16.5f);
    EXPECT_EQ(sprite->getLeft(), 84);
    RefPointer<Sprite> wider(new Sprite(100, 50, 35, 10));
    wider->setAnchorPoint(Sprite::Center);
    EXPECT_EQ(wider->getLeft(), 83);

    // Drawing: 33 wide draws at 100 - 16, 35 wide at 100 - 18.
    RefPointer<Image> narrow = coordinateImage(33, 1);
    RefPointer<Image> broad = coordinateImage(35, 1);
    RefPointer<Image> target = canvas(200, 2);
    RefPointer<Graphics> graphics = target->getGraphics();
    RefPointer<Sprite> first(new Sprite(100, 0, narrow.get()));
    first->setAnchorPoint(Sprite::Center);
    first->render(graphics.get());
    RefPointer<Sprite> second(new Sprite(100, 1, broad.get()));
    second->setAnchorPoint(Sprite::Center);
    second->render(graphics.get());
    EXPECT_EQ(pixel(target.get(), 83, 0), 0u);
    EXPECT_EQ(pixel(target.get(), 84, 0), source(0, 0));
    EXPECT_EQ(pixel(target.get(), 81, 1), 0u);
    EXPECT_EQ(pixel(target.get(), 82, 1), source(0, 0));
}

TEST(SpriteAnchor, AnchorKindsFollowTheSizeAndThePivotFollowsTheAnchor)
{
    const struct {
        int kind;
        float x, y;
    } places[] = {
        {Sprite::TopLeft, 0, 0},  {Sprite::Top, 10, 0},    {Sprite::TopRight, 20, 0},
        {Sprite::Left, 0, 5},     {Sprite::Center, 10, 5}, {Sprite::Right, 20, 5},
        {Sprite::BottomLeft, 0, 10}, {Sprite::Bottom, 10, 10}, {Sprite::BottomRight, 20, 10},
    };
    for (const auto& place : places) {
        const Sprite::PointF2 at = Sprite::computeAnchorPoint(place.kind, 20, 10);
        EXPECT_FLOAT_EQ(at.x, place.x) << place.kind;
        EXPECT_FLOAT_EQ(at.y, place.y) << place.kind;
    }

    RefPointer<Sprite> sprite(new Sprite(0, 0, 20, 10));
    sprite->setAnchorPoint(Sprite::BottomRight);
    EXPECT_FLOAT_EQ(sprite->getAnchorPoint().x, 20.0f);
    EXPECT_FLOAT_EQ(sprite->getPivotPoint().y, 10.0f);
    sprite->setSize(40, 30);
    EXPECT_FLOAT_EQ(sprite->getAnchorPoint().x, 40.0f);
    EXPECT_FLOAT_EQ(sprite->getPivotPoint().y, 30.0f);
    sprite->setPivotFollowsAnchor(false);
    sprite->setAnchorPointXY(3.0f, 4.0f);
    EXPECT_EQ(sprite->getAnchorKind(), Sprite::Custom);
    EXPECT_FLOAT_EQ(sprite->getPivotPoint().x, 40.0f);
    sprite->setSize(10, 10);
    EXPECT_FLOAT_EQ(sprite->getAnchorPoint().x, 3.0f);
}

TEST(SpriteAnchor, KeepingPositionMovesByTheTruncatedChange)
{
    RefPointer<Sprite> sprite(new Sprite(50, 50, 21, 11));
    Sprite::setAnchorPointKeepingPosition(sprite.get(), Sprite::Center);
    EXPECT_EQ(sprite->getX(), 60);
    EXPECT_EQ(sprite->getY(), 55);
    EXPECT_EQ(sprite->getLeft(), 50);
    EXPECT_EQ(sprite->getTop(), 50);
}

TEST(SpriteHitTest, LastColumnInsideFirstOutsideWithParentOffset)
{
    RefPointer<GameNode> parent(new GameNode());
    parent->setPosition(100, 200);
    Sprite* sprite = new Sprite(10, 20, 8, 4);
    GameNode::addChild(parent.get(), sprite);
    EXPECT_TRUE(sprite->containsPoint(110, 220));
    EXPECT_TRUE(sprite->containsPoint(117, 223));
    EXPECT_FALSE(sprite->containsPoint(118, 220));
    EXPECT_FALSE(sprite->containsPoint(110, 224));
    EXPECT_FALSE(sprite->containsPoint(109, 220));
    sprite->setAnchorPoint(Sprite::Center);
    EXPECT_TRUE(sprite->containsPoint(106, 218));
    EXPECT_FALSE(sprite->containsPoint(105, 218));
}

// --- dirty flag ---

TEST(SpriteDirty, UnchangedValuesLeaveItClear)
{
    RefPointer<Image> picture = coordinateImage(4, 4);
    RefPointer<Image> target = canvas(8, 8);
    RefPointer<Graphics> graphics = target->getGraphics();
    RefPointer<Sprite> sprite(new Sprite(0, 0, picture.get()));
    EXPECT_TRUE(sprite->isDirty());
    sprite->render(graphics.get());
    EXPECT_FALSE(sprite->isDirty());
    sprite->setAlpha(255);
    sprite->setVisible(true);
    sprite->setRemoved(false);
    sprite->setRotation(0.0f);
    EXPECT_FALSE(sprite->isDirty());
    sprite->setAlpha(128);
    EXPECT_TRUE(sprite->isDirty());
}

TEST(SpriteDirty, EachChangeMarksIt)
{
    const struct {
        const char* change;
        void (*apply)(Sprite&);
    } changes[] = {
        {"alpha", [](Sprite& s) { s.setAlpha(128); }},
        {"removed", [](Sprite& s) { s.setRemoved(true); }},
        {"hidden", [](Sprite& s) { s.setVisible(false); }},
        {"scale", [](Sprite& s) { s.setScale(2.0f); }},
        {"anchor", [](Sprite& s) { s.setAnchorPoint(Sprite::Center); }},
        {"pivot y", [](Sprite& s) { s.setPivotPoint(1.0f, 3.0f); }},
        {"pivot x", [](Sprite& s) { s.setPivotPoint(3.0f, 2.0f); }},
        {"stretch width", [](Sprite& s) { s.setStretchWidth(2); }},
        {"stretch height", [](Sprite& s) { s.setStretchHeight(2); }},
        {"new stretch width", [](Sprite& s) { s.setStretchWidth(2); s.setDirty(false); s.setStretchWidth(3); }},
        {"stretch cleared", [](Sprite& s) { s.setStretchWidth(2); s.setDirty(false); s.clearStretchRect(); }},
        {"width", [](Sprite& s) { s.setWidth(3); }},
        {"clip rectangle", [](Sprite& s) { s.setClipRect(0, 0, 2, 2); }},
        {"new stretch height", [](Sprite& s) { s.setStretchHeight(2); s.setDirty(false); s.setStretchHeight(3); }},
    };
    RefPointer<Image> picture = coordinateImage(4, 4);
    for (const auto& row : changes) {
        RefPointer<Sprite> sprite(new Sprite(0, 0, picture.get()));
        sprite->setPivotFollowsAnchor(false);
        sprite->setPivotPoint(1.0f, 2.0f);
        sprite->setDirty(false);
        row.apply(*sprite);
        EXPECT_TRUE(sprite->isDirty()) << row.change;
    }
}

// --- drawing ---

TEST(SpriteDrawing, DrawsTheCurrentFrameAtItsPosition)
{
    RefPointer<Image> strip = coordinateImage(12, 3);
    RefPointer<Image> target = canvas(10, 10);
    RefPointer<Graphics> graphics = target->getGraphics();
    RefPointer<Sprite> sprite(new Sprite(2, 5, strip.get()));
    sprite->setFrameCount(3, true);
    sprite->setCurrentFrame(1);
    sprite->render(graphics.get());
    EXPECT_EQ(pixel(target.get(), 2, 5), source(4, 0));
    EXPECT_EQ(pixel(target.get(), 5, 7), source(7, 2));
    EXPECT_EQ(pixel(target.get(), 6, 5), 0u);
    EXPECT_EQ(pixel(target.get(), 1, 5), 0u);
}

TEST(SpriteDrawing, FrameOutsideTheImageIsClippedToIt)
{
    RefPointer<Image> strip = coordinateImage(12, 3);
    RefPointer<Image> target = canvas(20, 10);
    RefPointer<Graphics> graphics = target->getGraphics();
    RefPointer<Sprite> sprite(new Sprite(0, 0, strip.get()));
    sprite->setFrameCount(3, true);
    sprite->setCurrentFrame(7); // 28..31: wholly outside
    sprite->render(graphics.get());
    for (int x = 0; x < 20; ++x)
        EXPECT_EQ(pixel(target.get(), x, 0), 0u) << x;
}

TEST(SpriteDrawing, ClipRectangleCutsTheSprite)
{
    RefPointer<Image> picture = coordinateImage(6, 6);
    RefPointer<Image> target = canvas(10, 10);
    RefPointer<Graphics> graphics = target->getGraphics();
    RefPointer<Sprite> sprite(new Sprite(1, 1, picture.get()));
    sprite->setClipRect(2, 2, 3, 3);
    sprite->render(graphics.get());
    EXPECT_EQ(pixel(target.get(), 1, 1), 0u);
    EXPECT_EQ(pixel(target.get(), 2, 2), source(1, 1));
    EXPECT_EQ(pixel(target.get(), 4, 4), source(3, 3));
    EXPECT_EQ(pixel(target.get(), 5, 4), 0u);
    // The graphics' own clip is back.
    EXPECT_EQ(graphics->getClipRect(), (Rect {0, 0, 10, 10}));
}

TEST(SpriteDrawing, StretchRectangleScalesAboutThePivot)
{
    RefPointer<Image> picture = coordinateImage(4, 4);
    RefPointer<Image> target = canvas(16, 16);
    RefPointer<Graphics> graphics = target->getGraphics();
    RefPointer<Sprite> sprite(new Sprite(8, 8, picture.get()));
    sprite->setAnchorPoint(Sprite::Center);
    sprite->setStretchSize(8, 8);
    ASSERT_TRUE(sprite->getStretchRect());
    EXPECT_EQ(*sprite->getStretchRect(), (Rect {4, 4, 8, 8}));
    sprite->render(graphics.get());
    EXPECT_EQ(pixel(target.get(), 3, 8), 0u);
    EXPECT_EQ(pixel(target.get(), 4, 4), source(0, 0));
    EXPECT_EQ(pixel(target.get(), 11, 11), source(3, 3));
    EXPECT_EQ(pixel(target.get(), 12, 11), 0u);
}

TEST(SpriteDrawing, StretchWidthKeepsTheUnstretchedEdgeAtNaturalSize)
{
    RefPointer<Sprite> sprite(new Sprite(50, 20, 33, 10));
    sprite->setAnchorPoint(Sprite::Center);
    sprite->setStretchWidth(33);
    EXPECT_EQ(sprite->getStretchRect()->x, 50 - 16);
    sprite->setStretchWidth(66);
    EXPECT_EQ(sprite->getStretchRect()->x, 50 - 33);
    // Moving the sprite moves the stretch rectangle.
    sprite->setX(60);
    EXPECT_EQ(sprite->getStretchRect()->x, 60 - 33);
}

TEST(SpriteDrawing, RestoresTheGraphicsState)
{
    RefPointer<Image> picture = coordinateImage(2, 2);
    RefPointer<Image> target = canvas(4, 4);
    RefPointer<Graphics> graphics = target->getGraphics();
    graphics->setAlpha(77);
    graphics->setColour(0x123456);
    RefPointer<Sprite> sprite(new Sprite(0, 0, picture.get()));
    sprite->setAlpha(200);
    sprite->setColor(0xABCDEF);
    sprite->setSmooth(true);
    sprite->render(graphics.get());
    EXPECT_EQ(graphics->getAlpha(), 77);
    EXPECT_EQ(graphics->getColour(), 0x123456u);
    EXPECT_FALSE(graphics->isSmoothing());
}

TEST(AdditiveSprite, RestoresTheCallersBlendMode)
{
    RefPointer<Image> picture = coordinateImage(2, 2);
    RefPointer<Image> target = canvas(4, 4);
    RefPointer<Graphics> graphics = target->getGraphics();
    RefPointer<AdditiveSprite> glow(new AdditiveSprite(0, 0, picture.get()));
    glow->render(graphics.get());
    EXPECT_EQ(graphics->getBlendMode(), Graphics::BlendNormal);
    graphics->setBlendMode(Graphics::BlendAdditive);
    glow->render(graphics.get());
    EXPECT_EQ(graphics->getBlendMode(), Graphics::BlendAdditive);
}

TEST(AdditiveSprite, AddsOntoWhatLiesBeneath)
{
    RefPointer<Image> picture = Image::create(1, 1, 4);
    picture->lock();
    picture->row32(0)[0] = 0xFF204060u;
    picture->unlock();
    picture->setHasAlphaChannel(true);
    RefPointer<Image> target = canvas(2, 1);
    RefPointer<Graphics> graphics = target->getGraphics();
    graphics->setColour(0xFF101010u);
    graphics->clear();
    RefPointer<AdditiveSprite> glow(new AdditiveSprite(0, 0, picture.get()));
    glow->render(graphics.get());
    EXPECT_EQ(pixel(target.get(), 0, 0) & 0xFFFFFFu, 0x305070u);
}

// --- configuration ---

TEST(SpriteConfiguration, ReadsImageFramesAnchorAndAnimation)
{
    lookedUp = coordinateImage(96, 32);
    Sprite::setImageLookup(&lookupImage);
    RefPointer<PropertyStore> store = parse(R"(<root>
        <Sprite id="s" name="S" x="5" image="strip" section="scenegame" framecount="3"
                horizontalframelayout="true" currentframe="2" anchorpoint="center" alpha="128"
                framewrapstyle="switch" frametime="50" smooth="true"/>
    </root>)");
    RefPointer<Sprite> sprite(new Sprite(store->getChild("s")));
    Sprite::setImageLookup(nullptr);
    lookedUp.reset();
    EXPECT_EQ(sprite->getImage()->getWidth(), 96);
    EXPECT_EQ(sprite->getWidth(), 32);
    // The frame layout comes after "currentframe", so frame 0 shows.
    EXPECT_EQ(sprite->getCurrentFrame(), 0);
    EXPECT_EQ(sprite->getFrameOffsetX(), 32);
    EXPECT_EQ(sprite->getAnchorKind(), Sprite::Center);
    EXPECT_EQ(sprite->getAlpha(), 128);
    EXPECT_EQ(sprite->getFrameWrapStyle(), Sprite::WrapSwitch);
    EXPECT_TRUE(sprite->isSmooth());
    ASSERT_EQ(sprite->getOwnModifiers().size(), 1u);
    EXPECT_TRUE(sprite->getOwnModifiers()[0]->isKindOf<ModifierFrame>());
    GameNode::updateModifiers(sprite.get(), 50);
    GameNode::updateModifiers(sprite.get(), 50);
    EXPECT_EQ(sprite->getCurrentFrame(), 1);
}

TEST(SpriteConfiguration, WrongCaseAnchorAndUnknownWrapStyleAreIgnored)
{
    RefPointer<PropertyStore> store = parse(R"(<root>
        <Sprite id="s" width="10" height="10" anchorpoint="Center" framewrapstyle="bounce"/>
        <Sprite id="c" width="10" height="10" anchorpoint="center" anchorpoint_x="2" anchorpoint_y="3"/>
        <Sprite id="m" image="missing" section="scenegame"/>
    </root>)");
    RefPointer<Sprite> sprite(new Sprite(store->getChild("s")));
    EXPECT_EQ(sprite->getAnchorKind(), Sprite::TopLeft);
    EXPECT_EQ(sprite->getFrameWrapStyle(), Sprite::WrapLoop);
    RefPointer<Sprite> custom(new Sprite(store->getChild("c")));
    EXPECT_EQ(custom->getAnchorKind(), Sprite::Custom);
    EXPECT_FLOAT_EQ(custom->getAnchorPoint().y, 3.0f);
    RefPointer<Sprite> missing(new Sprite(store->getChild("m")));
    EXPECT_EQ(missing->getImage(), nullptr);
}

TEST(SpriteConfiguration, CopyKeepsFramesAnchorAndRectangles)
{
    RefPointer<Image> strip = coordinateImage(10, 40, 4);
    RefPointer<Sprite> original(new Sprite(3, 4, strip.get()));
    original->setCurrentFrame(2);
    original->setAnchorPoint(Sprite::Bottom);
    original->setClipRect(1, 2, 3, 4);
    original->setToolTip(u"hello");
    RefPointer<Sprite> copy(new Sprite(*original));
    EXPECT_EQ(copy->getX(), 3);
    EXPECT_EQ(copy->getImage(), strip.get());
    EXPECT_EQ(copy->getCurrentFrame(), 2);
    EXPECT_EQ(copy->getSourceRect()->y, 20);
    EXPECT_EQ(copy->getAnchorKind(), Sprite::Bottom);
    EXPECT_EQ(*copy->getClipRect(), (Rect {1, 2, 3, 4}));
    EXPECT_EQ(*copy->getToolTip(), u"hello");
}

// --- the node renderer ---

TEST(NodeRenderer, SkipsInvisibleAndRemovedSubtreesButDrawsSuspendedOnes)
{
    RefPointer<Image> picture = coordinateImage(1, 1);
    RefPointer<Image> target = canvas(8, 2);
    RefPointer<Graphics> graphics = target->getGraphics();
    RefPointer<GameNode> root(new GameTree());
    auto place = [&](GameNode* parent, int x) {
        Sprite* sprite = new Sprite(x, 0, picture.get());
        GameNode::addChild(parent, sprite);
        return sprite;
    };
    GameNode* hidden = new GameNode();
    GameNode::addChild(root.get(), hidden);
    hidden->setVisible(false);
    place(hidden, 0);
    Sprite* removed = place(root.get(), 1);
    removed->setRemoved(true);
    place(removed, 1);
    Sprite* suspended = place(root.get(), 2);
    suspended->setSuspended(true);
    place(suspended, 1); // drawn at 3
    // Children are offset by the parent's position.
    GameNode* group = new GameNode();
    group->setPosition(5, 1);
    GameNode::addChild(root.get(), group);
    place(group, 1); // drawn at 6, 1
    RenderTask::renderFrame(nullptr, graphics.get(), root.get());
    EXPECT_EQ(pixel(target.get(), 0, 0), 0u);
    EXPECT_EQ(pixel(target.get(), 1, 0), 0u);
    EXPECT_EQ(pixel(target.get(), 2, 0), source(0, 0));
    EXPECT_EQ(pixel(target.get(), 3, 0), source(0, 0));
    EXPECT_EQ(pixel(target.get(), 6, 1), source(0, 0));
    EXPECT_EQ(graphics->getOffsetX(), 0);
    EXPECT_EQ(graphics->getOffsetY(), 0);
}

TEST(NodeRenderer, ClippingSpriteClipsItsChildren)
{
    RefPointer<Image> picture = coordinateImage(4, 1);
    RefPointer<Image> target = canvas(10, 1);
    RefPointer<Graphics> graphics = target->getGraphics();
    RefPointer<GameNode> root(new GameTree());
    Sprite* panel = new Sprite(2, 0, 0, 0);
    panel->setClipRect(2, 0, 3, 1);
    GameNode::addChild(root.get(), panel);
    GameNode::addChild(panel, new Sprite(0, 0, picture.get()));
    RenderTask::renderFrame(nullptr, graphics.get(), root.get());
    EXPECT_EQ(pixel(target.get(), 2, 0), source(0, 0));
    EXPECT_EQ(pixel(target.get(), 4, 0), source(2, 0));
    EXPECT_EQ(pixel(target.get(), 5, 0), 0u);
    EXPECT_EQ(graphics->getClipRect(), (Rect {0, 0, 10, 1}));
}

TEST(NodeRenderer, LaterSiblingsDrawOverEarlierOnes)
{
    RefPointer<Image> first = coordinateImage(1, 1);
    RefPointer<Image> second = coordinateImage(2, 2);
    RefPointer<Image> target = canvas(2, 2);
    RefPointer<Graphics> graphics = target->getGraphics();
    RefPointer<GameNode> root(new GameTree());
    GameNode::addChild(root.get(), new Sprite(1, 1, first.get()));
    GameNode::addChild(root.get(), new Sprite(0, 0, second.get()));
    RenderTask::renderFrame(nullptr, graphics.get(), root.get());
    EXPECT_EQ(pixel(target.get(), 1, 1), source(1, 1));
}

TEST(SpriteConfiguration, TooltipComesFromTheTextsAndAMissingKeyGivesNone)
{
    const bool hadInstance = BasicProperties::instance != nullptr;
    if (!hadInstance)
        BasicProperties::createInstance();
    BasicProperties::instance->setText("TEXT_TIP_TEST", u"Tip");
    RefPointer<PropertyStore> store = parse(R"(<root>
        <Sprite id="a" tooltip="TEXT_TIP_TEST"/>
        <Sprite id="b" tooltip="TEXT_NOT_THERE_TEST"/>
    </root>)");
    RefPointer<Sprite> withTip(new Sprite(store->getChild("a")));
    RefPointer<Sprite> without(new Sprite(store->getChild("b")));
    if (!hadInstance)
        BasicProperties::destroyInstance();
    ASSERT_TRUE(withTip->getToolTip());
    EXPECT_EQ(*withTip->getToolTip(), u"Tip");
    EXPECT_FALSE(without->getToolTip());
}

TEST(SpriteConfiguration, SettingTheSameImageAgainChangesNothing)
{
    RefPointer<Image> strip = coordinateImage(40, 10);
    RefPointer<Sprite> sprite(new Sprite(0, 0, strip.get()));
    sprite->setFrameCount(4, true);
    sprite->setCurrentFrame(2);
    sprite->setImage(strip.get());
    EXPECT_EQ(sprite->getCurrentFrame(), 2);
    EXPECT_EQ(sprite->getWidth(), 10);
    sprite->setImage(nullptr);
    EXPECT_EQ(sprite->getWidth(), 0);
    EXPECT_EQ(strip->getReferenceCount(), 1);
}
