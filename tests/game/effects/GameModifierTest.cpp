#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "framework/core/ObjectFactoryContainer.h"
#include "framework/core/PropertyStore.h"
#include "framework/core/RefPointer.h"
#include "framework/graphics/Image.h"
#include "framework/gui/Button.h"
#include "framework/gui/Slider.h"
#include "framework/gui/Switch.h"
#include "framework/resources/ResourceLookup.h"
#include "framework/scenegraph/Modifier.h"
#include "framework/scenegraph/Sprite.h"
#include "game/effects/ModifierAccelerate.h"
#include "game/effects/ModifierBlinkFaster.h"
#include "game/effects/ModifierEmitter.h"
#include "game/effects/ModifierEmitterBling.h"
#include "game/effects/ModifierFollowNode.h"
#include "game/effects/ModifierLocationLineSwitch.h"
#include "game/effects/ModifierShake.h"
#include "game/effects/ModifierSlideToX.h"
#include "game/effects/OneShotModifiers.h"
#include "support/GameDataFixtures.h"
#include "ScopedEffectRandom.h"

namespace {

using Point = std::pair<int, int>;

// Steps `modifier` on `node` (at most `limit` steps, until finished) and records read(node) after each step.
template <class Read>
auto run(Modifier* modifier, GameNode* node, int frameMs, Read read, int limit = 100)
{
    RefPointer<Modifier> hold(modifier);
    modifier->setTarget(node);
    std::vector<decltype(read(node))> values;
    for (int i = 0; i < limit && !modifier->isFinished(); ++i) {
        modifier->step(frameMs);
        values.push_back(read(node));
    }
    return values;
}

Point positionOf(GameNode* node)
{
    return {node->getX(), node->getY()};
}

int yOf(GameNode* node)
{
    return node->getY();
}

int alphaOf(GameNode* node)
{
    return static_cast<Sprite*>(node)->getAlpha();
}

std::vector<GameNode*> childrenOf(GameNode* parent)
{
    std::vector<GameNode*> children;
    for (GameNode* child = parent->getFirstChild(); child; child = child->getNextSibling())
        children.push_back(child);
    return children;
}

// Installs a lookup that finds a 14-frame sparkle strip under any name while it lives.
class ScopedSparkleArt {
public:
    ScopedSparkleArt() : previous(ResourceLookup::install(&find)) {}
    ~ScopedSparkleArt() { ResourceLookup::install(previous); }

private:
    static RefPointer<BaseObject> find(const std::string&, const std::string&)
    {
        static RefPointer<Image> strip = Image::create(8, 8 * ModifierEmitter::SparkleFrames, 4);
        return strip.get();
    }
    ResourceLookup::Function previous;
};

// Reads a counter through its owner, as production's pastries hand theirs out.
class Counters : public BaseObject {
public:
    int amount(int index) const { return values[static_cast<size_t>(index)]; }
    std::vector<int> values {0, 2};
};

// An 8 x 8 picture opaque in the columns `opaque` says, with a bling of
// three twinkles on it that has run its first frame.
struct BlingOnPicture {
    explicit BlingOnPicture(const std::function<bool(int)>& opaque) : image(Image::create(8, 8, 4))
    {
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                Sprite::pixelAddress(image.get(), x, y)[3] = opaque(x) ? 255 : 0;
        medal = new Sprite(0, 0, image.get());
        bling->setTarget(medal.get());
        Modifier::addChild(tree.get(), bling);
        Modifier::updateTree(tree.get(), 20);
    }

    RefPointer<Image> image;
    RefPointer<Sprite> medal;
    RefPointer<AnimTree> tree{new AnimTree()};
    ModifierEmitterBling* bling = new ModifierEmitterBling(3, 100, 100, 0, 0);
};

} // namespace

TEST(ModifierBlinkFaster, FadesUpFirstThenShrinksItsFadesToHalfAndNeverBelowFifty)
{
    RefPointer<Sprite> sprite(new Sprite(0, 0, 10, 10));
    RefPointer<ModifierBlinkFaster> blink(new ModifierBlinkFaster(0, 255, 400, 400, 0, 0, 1000));
    blink->setTarget(sprite.get());
    blink->step(20);
    EXPECT_EQ(blink->getPhase(), 1);
    EXPECT_EQ(sprite->getAlpha(), 0);
    blink->step(20);
    EXPECT_EQ(sprite->getAlpha(), 12); // 255 * 20 / 400
    for (int elapsed = 40; elapsed < 500; elapsed += 20)
        blink->step(20);
    EXPECT_NEAR(blink->getFadeUp(), 200, 1);
    EXPECT_NEAR(blink->getFadeDown(), 200, 1);
    for (int elapsed = 500; elapsed < 980; elapsed += 20)
        blink->step(20);
    EXPECT_EQ(blink->getFadeUp(), 50);
    EXPECT_FALSE(blink->isFinished());
    blink->step(20);
    blink->step(20);
    EXPECT_TRUE(blink->isFinished());
    EXPECT_EQ(sprite->getAlpha(), 0);
}

TEST(ModifierBlinkFaster, NoTimeOrNoPhaseLengthShowsTheLowValueAndFinishesInOneStep)
{
    for (auto blink : {new ModifierBlinkFaster(30, 255, 100, 100, 0, 0, 0),
                       new ModifierBlinkFaster(30, 255, 0, 0, 0, 0, 1000)}) {
        RefPointer<Sprite> sprite(new Sprite(0, 0, 10, 10));
        EXPECT_EQ(run(blink, sprite.get(), 20, alphaOf), (std::vector<int> {30}));
    }
}

TEST(ModifierEmitter, EmitsOnePerElapsedIntervalInsideTheNode)
{
    ScopedSparkleArt art;
    RefPointer<GameNode> layer(new GameNode());
    RefPointer<Sprite> star(new Sprite(100, 50, 40, 20));
    RefPointer<ModifierEmitter> emitter(new ModifierEmitter(30, 0xFFF58A));
    emitter->setLayer(layer.get());
    emitter->setTarget(star.get());
    emitter->step(100); // emissions due at 0, 30, 60 and 90
    ASSERT_EQ(layer->getChildCount(), 4);
    for (GameNode* child : childrenOf(layer.get())) {
        auto* sparkle = static_cast<Sprite*>(child);
        EXPECT_GE(sparkle->getX(), 100);
        EXPECT_LT(sparkle->getX(), 140);
        EXPECT_GE(sparkle->getY(), 50);
        EXPECT_LT(sparkle->getY(), 70);
        EXPECT_EQ(sparkle->getOwnModifiers().size(), 1u);
        EXPECT_EQ(sparkle->getOwnModifiers()[0]->getEndFlags() & Modifier::EndRemoveTarget,
                  Modifier::EndRemoveTarget);
    }
    emitter->step(20); // the next one is due once more than 120 ms have passed
    EXPECT_EQ(layer->getChildCount(), 4);
    emitter->step(1);
    EXPECT_EQ(layer->getChildCount(), 5);
}

TEST(ModifierEmitter, NoIntervalOrNoSizeEmitsOnePerStepAtTheNodesPoint)
{
    ScopedSparkleArt art;
    RefPointer<GameNode> layer(new GameNode());
    RefPointer<GameNode> point(new GameNode());
    point->setPosition(7, 9);
    RefPointer<ModifierEmitter> emitter(new ModifierEmitter(0, 0xFFFFFF));
    emitter->setLayer(layer.get());
    emitter->setTarget(point.get());
    emitter->step(40);
    emitter->step(40);
    ASSERT_EQ(layer->getChildCount(), 2);
    EXPECT_EQ(positionOf(layer->getFirstChild()), (Point {7, 9}));
}

TEST(ModifierEmitter, WithoutItsPictureOrLayerItEmitsNothing)
{
    RefPointer<GameNode> point(new GameNode());
    RefPointer<GameNode> layer(new GameNode());
    RefPointer<ModifierEmitter> noArt(new ModifierEmitter(10, 0xFFFFFF));
    noArt->setLayer(layer.get());
    noArt->setTarget(point.get());
    noArt->step(100);
    EXPECT_EQ(layer->getChildCount(), 0);
    ScopedSparkleArt art;
    RefPointer<ModifierEmitter> noLayer(new ModifierEmitter(10, 0xFFFFFF));
    noLayer->setTarget(point.get());
    noLayer->step(100); // no game scene: logged, nothing emitted
    EXPECT_EQ(noLayer->getEmitted(), 0);
}

TEST(ModifierEmitterBling, PutsItsTwinklesOnOpaquePixelsAndRunsThemAfterItself)
{
    // Opaque only in its right half.
    BlingOnPicture picture([](int x) { return x >= 4; });
    Sprite* medal = picture.medal.get();
    ModifierEmitterBling* bling = picture.bling;
    AnimTree* tree = picture.tree.get();
    EXPECT_TRUE(bling->isStarted());
    ASSERT_EQ(medal->getChildCount(), 3);
    for (GameNode* twinkle : childrenOf(medal))
        EXPECT_GE(twinkle->getX(), 4);
    int chains = 0;
    for (Modifier* m = bling->getNextSibling(); m; m = m->getNextSibling())
        ++chains;
    EXPECT_EQ(chains, 3);

    // Each twinkle fades in and out over 200 ms, then goes and a new one starts.
    for (int frame = 0; frame < 12; ++frame) {
        Modifier::updateTree(tree, 20);
        Modifier::purgeFinished(tree);
    }
    int removed = 0;
    for (GameNode* twinkle : childrenOf(medal))
        removed += twinkle->isRemoved() ? 1 : 0;
    EXPECT_EQ(removed, 3);
    EXPECT_EQ(medal->getChildCount(), 6);
}

TEST(ModifierEmitterBling, FindsAPictureOpaqueOnlyInItsFirstOrLastColumn)
{
    ScopedEffectRandom draws;
    for (int column : {0, 7}) {
        BlingOnPicture picture([column](int x) { return x == column; });
        ASSERT_EQ(picture.medal->getChildCount(), 3);
        for (GameNode* twinkle : childrenOf(picture.medal.get()))
            EXPECT_EQ(twinkle->getX(), column);
    }
}

TEST(ModifierEmitterBling, ZeroSizeAndZeroTimesMakeOneTwinklePerFrameWithoutLooping)
{
    RefPointer<Sprite> empty(new Sprite());
    RefPointer<AnimTree> tree(new AnimTree());
    ModifierEmitterBling* bling = new ModifierEmitterBling(1, 0, 0, 0, 0);
    bling->setTarget(empty.get());
    Modifier::addChild(tree.get(), bling);
    for (int frame = 0; frame < 5; ++frame) {
        Modifier::updateTree(tree.get(), 20);
        Modifier::purgeFinished(tree.get());
    }
    EXPECT_LE(empty->getChildCount(), 6);
    EXPECT_GE(empty->getChildCount(), 2);
    EXPECT_EQ(positionOf(empty->getFirstChild()), (Point {0, 0}));
}

TEST(ModifierAccelerate, FallsAtItsSpeedAndStopsOnTheLineAtTheFirstTouchWithoutBounces)
{
    RefPointer<GameNode> tile(new GameNode());
    EXPECT_EQ(run(new ModifierAccelerate(100, 1000.0f, 0.0f, 1000.0f, 0), tile.get(), 40, yOf),
              (std::vector<int> {40, 80, 100}));
}

TEST(ModifierAccelerate, ReflectsTwiceAndRestsOnTheThirdCrossing)
{
    RefPointer<GameNode> tile(new GameNode());
    RefPointer<ModifierAccelerate> fall(new ModifierAccelerate(100, 0.0f, 100.0f, 1000.0f, 2));
    fall->setTarget(tile.get());
    int reflections = 0;
    int lowest = 0;
    for (int i = 0; i < 100 && !fall->isFinished(); ++i) {
        const int before = fall->getBounces();
        fall->step(10);
        if (!fall->isFinished() && fall->getBounces() > before)
            ++reflections;
        lowest = std::max(lowest, tile->getY());
    }
    EXPECT_TRUE(fall->isFinished());
    EXPECT_EQ(reflections, 2);
    EXPECT_EQ(fall->getBounces(), 3);
    EXPECT_EQ(tile->getY(), 100);
    EXPECT_LE(lowest, 100);
}

TEST(ModifierAccelerate, ANewTargetAboveTheTilePutsItThereAndALowerOneLetsItFallOn)
{
    RefPointer<GameNode> tile(new GameNode());
    RefPointer<ModifierAccelerate> fall(new ModifierAccelerate(200, 1000.0f, 0.0f, 1000.0f, 0));
    fall->setTarget(tile.get());
    for (int i = 0; i < 3; ++i)
        fall->step(40);
    EXPECT_EQ(tile->getY(), 120);
    fall->setTargetY(100);
    EXPECT_EQ(tile->getY(), 100);
    fall->step(40);
    EXPECT_TRUE(fall->isFinished());
    EXPECT_EQ(tile->getY(), 100);

    RefPointer<ModifierAccelerate> longer(new ModifierAccelerate(100, 1000.0f, 0.0f, 1000.0f, 0));
    longer->setTarget(tile.get());
    longer->setTargetY(300);
    std::vector<int> ys;
    for (int i = 0; i < 10 && !longer->isFinished(); ++i) {
        longer->step(100);
        ys.push_back(tile->getY());
    }
    EXPECT_EQ(ys, (std::vector<int> {200, 300, 300})); // on the line is not yet past it
}

TEST(ModifierSlideToX, ReadsTheSharedSpeedEveryStepAndStopsOnReachingOrPassing)
{
    float speed = 0.5f;
    RefPointer<GameNode> plate(new GameNode());
    RefPointer<ModifierSlideToX> slide(new ModifierSlideToX(&speed, 40, 1.0f));
    slide->setTarget(plate.get());
    slide->step(20);
    EXPECT_EQ(plate->getX(), 10);
    speed = 1.0f;
    slide->step(20);
    EXPECT_EQ(plate->getX(), 30);
    slide->step(20);
    EXPECT_TRUE(slide->isFinished());
    EXPECT_EQ(plate->getX(), 40);

    // Leftwards, reaching the target exactly also ends it; a plate at its target does not move.
    plate->setX(100);
    EXPECT_EQ(run(new ModifierSlideToX(&speed, 80, 0.5f), plate.get(), 20, [](GameNode* n) { return n->getX(); }),
              (std::vector<int> {90, 80}));
    EXPECT_EQ(run(new ModifierSlideToX(&speed, 80), plate.get(), 20, [](GameNode* n) { return n->getX(); }),
              (std::vector<int> {80}));
    // Rightwards, reaching it exactly ends it in that step.
    EXPECT_EQ(run(new ModifierSlideToX(&speed, 100, 0.5f), plate.get(), 20, [](GameNode* n) { return n->getX(); }),
              (std::vector<int> {90, 100}));
}

TEST(ModifierShake, StaysWithinItsOffsetsAndEndsExactlyAtItsStart)
{
    RefPointer<GameNode> tile(new GameNode());
    tile->setPosition(10, 20);
    std::vector<Point> points = run(new ModifierShake(3, 0, 50), tile.get(), 20, positionOf);
    ASSERT_EQ(points.size(), 3u);
    for (size_t i = 0; i < 2; ++i) {
        EXPECT_GE(points[i].first, 7);
        EXPECT_LT(points[i].first, 13);
        EXPECT_EQ(points[i].second, 20); // an offset of 0 keeps the axis still
    }
    EXPECT_EQ(points.back(), (Point {10, 20}));
}

TEST(ModifierLocationLineSwitch, WithoutMoveTimeJumpsBetweenTheEndsUntilTheCountRunsOut)
{
    RefPointer<GameNode> hand(new GameNode());
    EXPECT_EQ(run(new ModifierLocationLineSwitch(0, 0, 10, 10, 0, 0, false, 3), hand.get(), 20, positionOf),
              (std::vector<Point> {{0, 0}, {10, 10}, {0, 0}}));
    // At B it waits its wait time, the frame that reaches it included.
    EXPECT_EQ(run(new ModifierLocationLineSwitch(0, 0, 10, 10, 0, 20, false, 6), hand.get(), 10, positionOf),
              (std::vector<Point> {{0, 0}, {10, 10}, {10, 10}, {0, 0}, {10, 10}, {10, 10}}));
    std::vector<Point> eased =
        run(new ModifierLocationLineSwitch(0, 0, 100, 0, 40, 20, true, -1), hand.get(), 10, positionOf, 7);
    // From B to A over 40 ms smoothstep (0, 15.6, 50, 84.4 % of the way), then at A.
    EXPECT_EQ(eased, (std::vector<Point> {{100, 0}, {84, 0}, {50, 0}, {15, 0}, {0, 0}, {0, 0}, {15, 0}}));
}

TEST(ModifierFollowNode, MovesByTheLeadersMovesForItsTime)
{
    RefPointer<GameNode> leader(new GameNode());
    RefPointer<GameNode> follower(new GameNode());
    follower->setPosition(5, 5);
    RefPointer<ModifierFollowNode> follow(new ModifierFollowNode(leader.get(), 30));
    follow->setTarget(follower.get());
    leader->setPosition(3, 4);
    follow->step(20);
    EXPECT_EQ(positionOf(follower.get()), (Point {8, 9}));
    EXPECT_FALSE(follow->isFinished());
    follow->step(20);
    EXPECT_TRUE(follow->isFinished());

    // A step that uses up its time exactly still follows on to the next one.
    RefPointer<ModifierFollowNode> exact(new ModifierFollowNode(leader.get(), 40));
    exact->setTarget(follower.get());
    exact->step(20);
    exact->step(20);
    EXPECT_FALSE(exact->isFinished());
    exact->step(20);
    EXPECT_TRUE(exact->isFinished());

    RefPointer<ModifierFollowNode> orphan(new ModifierFollowNode(leader.get(), -1));
    orphan->setTarget(follower.get());
    leader.reset();
    orphan->step(20);
    EXPECT_TRUE(orphan->isFinished());
}

TEST(OneShotModifiers, MoveWithinTheTreeOnlyWhenNeededAndClearTheRemoval)
{
    RefPointer<GameNode> parent(new GameNode());
    RefPointer<GameNode> a(new GameNode("a"));
    RefPointer<GameNode> b(new GameNode("b"));
    RefPointer<GameNode> c(new GameNode("c"));
    for (GameNode* node : {a.get(), b.get(), c.get()})
        GameNode::addChild(parent.get(), node);
    auto order = [&] {
        std::string names;
        for (GameNode* child : childrenOf(parent.get()))
            names += child->getName();
        return names;
    };
    run(new ModifierMoveAfter(a.get()), c.get(), 0, positionOf);
    EXPECT_EQ(order(), "acb");
    c->setRemoved(true);
    run(new ModifierMoveAfter(a.get()), c.get(), 0, positionOf);
    EXPECT_EQ(order(), "acb");
    EXPECT_FALSE(c->isRemoved());
    run(new ModifierMoveBefore(a.get()), b.get(), 0, positionOf);
    EXPECT_EQ(order(), "bac");
    RefPointer<GameNode> other(new GameNode());
    b->setRemoved(true);
    run(new ModifierReparent(other.get()), b.get(), 0, positionOf);
    EXPECT_EQ(order(), "ac");
    EXPECT_EQ(other->getFirstChild(), b.get());
    EXPECT_FALSE(b->isRemoved());
}

TEST(OneShotModifiers, VisibleIfPositiveReadsItsCounterThroughTheHeldOwner)
{
    RefPointer<GameNode> icon(new GameNode());
    Counters* counters = new Counters();
    RefPointer<ModifierVisibleIfPositive> none(new ModifierVisibleIfPositive(counters, &Counters::amount, 0));
    RefPointer<ModifierVisibleIfPositive> some(new ModifierVisibleIfPositive(counters, &Counters::amount, 1));
    EXPECT_EQ(counters->getReferenceCount(), 2);
    run(none.get(), icon.get(), 0, positionOf);
    EXPECT_FALSE(icon->isVisible());
    run(some.get(), icon.get(), 0, positionOf);
    EXPECT_TRUE(icon->isVisible());
}

TEST(OneShotModifiers, EnabledSetsClearsOrTogglesButtonsAndSwitchesAndOnlySetsOrClearsSliders)
{
    struct Case {
        int action;
        bool before;
        bool after;       // button and switch
        bool sliderAfter; // a slider is not toggled: any action but Enable disables it
    };
    const Case cases[] = {
        {ModifierEnabled::Enable, false, true, true},  {ModifierEnabled::Enable, true, true, true},
        {0, true, false, false},                       {ModifierEnabled::Enable - 1, true, false, false},
        {ModifierEnabled::Toggle, true, false, false}, {ModifierEnabled::Toggle, false, true, false},
    };
    for (const Case& c : cases) {
        RefPointer<Button> button(new Button(0, 0, nullptr, GuiMethod()));
        RefPointer<Switch> toggle(new Switch(nullptr));
        RefPointer<Slider> slider(new Slider(nullptr));
        button->setEnabled(c.before);
        toggle->setEnabled(c.before);
        slider->setEnabled(c.before);
        run(new ModifierEnabled(c.action), button.get(), 0, positionOf);
        run(new ModifierEnabled(c.action), toggle.get(), 0, positionOf);
        run(new ModifierEnabled(c.action), slider.get(), 0, positionOf);
        EXPECT_EQ(button->isEnabled(), c.after) << "action " << c.action << " from " << c.before;
        EXPECT_EQ(toggle->isEnabled(), c.after) << "action " << c.action << " from " << c.before;
        EXPECT_EQ(slider->isEnabled(), c.sliderAfter) << "action " << c.action << " from " << c.before;
    }
}

TEST(OneShotModifiers, FrameDirectionPivotAndTheRegisteredNames)
{
    RefPointer<Sprite> sprite(new Sprite(0, 0, 10, 20));
    run(new ModifierCurrentFrame(0), sprite.get(), 0, positionOf);
    run(new ModifierFrameDirection(true), sprite.get(), 0, positionOf);
    EXPECT_TRUE(sprite->isReverseFrames());
    run(new ModifierPivotPoint(Sprite::Center), sprite.get(), 0, positionOf);
    EXPECT_EQ(sprite->getPivotKind(), Sprite::Center);
    EXPECT_FLOAT_EQ(sprite->getPivotPoint().y, 10.0f);

    for (const char* name : {"ModifierBlinkFaster", "ModifierCurrentFrame", "ModifierEmitter", "ModifierEmitterBling",
                             "ModifierEnabled", "ModifierFrameDirection", "ModifierLabelTicker",
                             "ModifierLocationLineSwitch", "ModifierPivotPoint", "ModifierEmitterSparkle",
                             "ModifierImage"}) {
        RefPointer<Modifier> made = ObjectFactoryContainer::shared().create<Modifier>(name, nullptr);
        ASSERT_TRUE(made) << name;
        EXPECT_STREQ(made->getClassName()->name, name);
    }
}

// Modifiers built by name from a layout's settings read every key, and fall
// back to the same defaults, as the direct constructors are given them here.
TEST(GameModifiersFromSettings, ReadEveryKeyAndFallBackToTheirDefaults)
{
    std::vector<RefPointer<PropertyStore>> stores;
    auto settings = [&](const std::string& attributes) {
        stores.push_back(parseXml("<root><Settings id=\"m\" " + attributes + "/></root>"));
        return stores.back()->getNode("m");
    };
    auto path = [](Modifier* modifier) {
        RefPointer<GameNode> node(new GameNode());
        return run(modifier, node.get(), 10, positionOf, 12);
    };
    using Line = ModifierLocationLineSwitch;
    EXPECT_EQ(path(new Line(settings("x1=\"5\" y1=\"6\" x2=\"100\" y2=\"7\" movetime=\"40\" waittime=\"20\" "
                                     "count=\"5\""))),
              path(new Line(5, 6, 100, 7, 40, 20, false, 5)));
    EXPECT_EQ(path(new Line(settings("x2=\"100\" movetime=\"40\" eased=\"true\""))),
              path(new Line(0, 0, 100, 0, 40, 0, true, -1)));
    EXPECT_EQ(path(new Line(settings("x2=\"100\" movetime=\"40\""))), path(new Line(0, 0, 100, 0, 40, 0, false, -1)));
    EXPECT_EQ(path(new Line(settings("x2=\"10\" y2=\"10\""))), path(new Line(0, 0, 10, 10, 0, 0, false, -1)));

    auto alphas = [](Modifier* modifier) {
        RefPointer<Sprite> sprite(new Sprite(0, 0, 10, 10));
        return run(modifier, sprite.get(), 20, alphaOf, 60);
    };
    EXPECT_EQ(alphas(new ModifierBlinkFaster(settings("low=\"30\" high=\"200\" fadeup=\"100\" fadedown=\"60\" "
                                                      "highhold=\"40\" lowhold=\"20\" total=\"900\""))),
              alphas(new ModifierBlinkFaster(30, 200, 100, 60, 40, 20, 900)));
    EXPECT_EQ(alphas(new ModifierBlinkFaster(settings("fadeup=\"100\" fadedown=\"100\" total=\"500\""))),
              alphas(new ModifierBlinkFaster(0, 255, 100, 100, 0, 0, 500)));

    RefPointer<Sprite> sprite(new Sprite(0, 0, 10, 20));
    sprite->setFrameCount(4, true);
    run(new ModifierCurrentFrame(settings("frame=\"2\"")), sprite.get(), 0, positionOf);
    EXPECT_EQ(sprite->getCurrentFrame(), 2);
    run(new ModifierCurrentFrame(settings("")), sprite.get(), 0, positionOf);
    EXPECT_EQ(sprite->getCurrentFrame(), 0);
    run(new ModifierFrameDirection(settings("reverse=\"true\"")), sprite.get(), 0, positionOf);
    EXPECT_TRUE(sprite->isReverseFrames());
    run(new ModifierFrameDirection(settings("")), sprite.get(), 0, positionOf);
    EXPECT_FALSE(sprite->isReverseFrames());
    run(new ModifierPivotPoint(settings("pivot=\"" + std::to_string(Sprite::Left) + "\"")), sprite.get(), 0,
        positionOf);
    EXPECT_EQ(sprite->getPivotKind(), Sprite::Left);
    run(new ModifierPivotPoint(settings("")), sprite.get(), 0, positionOf);
    EXPECT_EQ(sprite->getPivotKind(), Sprite::Center);
    RefPointer<GameNode> plain(new GameNode());
    run(new ModifierPivotPoint(Sprite::Left), plain.get(), 0, positionOf); // not a sprite: left alone

    RefPointer<Button> button(new Button(0, 0, nullptr, GuiMethod()));
    button->setEnabled(false);
    run(new ModifierEnabled(settings("")), button.get(), 0, positionOf);
    EXPECT_TRUE(button->isEnabled());
    run(new ModifierEnabled(settings("action=\"" + std::to_string(ModifierEnabled::Toggle) + "\"")), button.get(), 0,
        positionOf);
    EXPECT_FALSE(button->isEnabled());
}
