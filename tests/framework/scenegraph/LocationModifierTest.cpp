#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "TestModifiers.h"
#include "framework/core/RefPointer.h"
#include "framework/scenegraph/ModifierDelay.h"
#include "framework/scenegraph/ModifierFunction.h"
#include "framework/scenegraph/ModifierLocationLine.h"
#include "framework/scenegraph/ModifierLocationPolygonicPath.h"
#include "framework/scenegraph/ModifierLocationWave.h"
#include "framework/scenegraph/ModifierSound.h"
#include "framework/scenegraph/ModifierVisible.h"
#include "framework/scenegraph/MoveTask.h"
#include "framework/scenegraph/PurgeTask.h"
#include "framework/sound/Sound.h"
#include "framework/sound/SoundManager.h"
#include "framework/sound/SoundNode.h"

namespace {

struct Position {
    int x;
    int y;
    bool operator==(const Position& other) const { return x == other.x && y == other.y; }
};

std::ostream& operator<<(std::ostream& out, const Position& p)
{
    return out << "(" << p.x << ", " << p.y << ")";
}

// Steps `modifier` on `node` with equal frames until it finishes (at most
// `limit` frames) and records the node's position after each step.
std::vector<Position> run(Modifier* modifier, GameNode* node, int frameMs, int limit = 100)
{
    RefPointer<Modifier> hold(modifier);
    modifier->setTarget(node);
    std::vector<Position> positions;
    for (int i = 0; i < limit && !modifier->isFinished(); ++i) {
        modifier->step(frameMs);
        positions.push_back({node->getX(), node->getY()});
    }
    return positions;
}

RefPointer<Polygon> path(std::initializer_list<Polygon::Point> points)
{
    RefPointer<Polygon> polygon(new Polygon());
    for (const Polygon::Point& point : points)
        polygon->addPoint(point.x, point.y);
    return polygon;
}

} // namespace

TEST(ModifierFraction, DurationZeroFinishesOnTheFirstStepWithFractionOne)
{
    RefPointer<ModifierFraction> modifier(new ModifierFraction(0));
    modifier->step(0);
    EXPECT_TRUE(modifier->isFinished());
    EXPECT_FLOAT_EQ(modifier->getFraction(), 1.0f);
}

TEST(ModifierFraction, PassingTheDurationGivesExactlyOne)
{
    RefPointer<ModifierFraction> modifier(new ModifierFraction(100, &easing::quadratic));
    modifier->step(50);
    EXPECT_FLOAT_EQ(modifier->getFraction(), 0.25f);
    modifier->step(70);
    EXPECT_FLOAT_EQ(modifier->getFraction(), 1.0f);
    EXPECT_EQ(modifier->getElapsed(), 100);
}

TEST(ModifierFraction, EarlyFinishAppliesTheEnd)
{
    RefPointer<ModifierFraction> modifier(new ModifierFraction(100));
    modifier->step(10);
    modifier->finish();
    EXPECT_EQ(modifier->getElapsed(), 100);
    EXPECT_FLOAT_EQ(modifier->getFraction(), 1.0f);
}

TEST(Easing, SmoothIsSmoothstep)
{
    EXPECT_FLOAT_EQ(easing::smooth(0.5f), 0.5f);
    EXPECT_FLOAT_EQ(easing::smooth(0.25f), 0.15625f);
    EXPECT_FLOAT_EQ(easing::linear(0.3f), 0.3f);
}

TEST(ModifierLocationLine, TruncatesIntermediatePositions)
{
    RefPointer<GameNode> node(new GameNode());
    std::vector<Position> positions = run(new ModifierLocationLine(30, 0, 0, 10, -10), node.get(), 10);
    EXPECT_EQ(positions, (std::vector<Position> {{3, -3}, {6, -6}, {10, -10}}));
}

TEST(ModifierLocationLine, AxisSwitchesAndZeroDuration)
{
    RefPointer<GameNode> node(new GameNode());
    node->setPosition(99, 99);
    ModifierLocationLine* line = new ModifierLocationLine(0, 0, 0, 10, 20);
    line->setMoveY(false);
    std::vector<Position> positions = run(line, node.get(), 16);
    EXPECT_EQ(positions, (std::vector<Position> {{10, 99}}));
}

TEST(ModifierLocationWave, CirclesAndAppliesTheEndOnceMoreBeforeFinishing)
{
    RefPointer<GameNode> node(new GameNode());
    const float quarter = static_cast<float>(M_PI / 2);
    std::vector<Position> positions =
        run(new ModifierLocationWave(100, 50, 10.0f, 10.0f, 0.0f, quarter, 20, 20), node.get(), 10);
    // The step that reaches both times places the end point; the next one
    // places it again and finishes. sin(pi/2) * 10 in floats is 9.99..., truncated.
    EXPECT_EQ(positions, (std::vector<Position> {{110, 50}, {107, 57}, {100, 59}}));
}

TEST(ModifierLocationWave, RadiusGrowsOverItsOwnTime)
{
    RefPointer<GameNode> node(new GameNode());
    std::vector<Position> positions = run(new ModifierLocationWave(0, 0, 0.0f, 20.0f, 0.0f, 0.0f, 40, 0), node.get(), 10);
    EXPECT_EQ(positions.front(), (Position {0, 0}));
    EXPECT_EQ(positions[2], (Position {10, 0}));
    EXPECT_EQ(positions.back(), (Position {20, 0}));
}

TEST(ModifierLocationPolygonicPath, WalksAtConstantSpeedAcrossCorners)
{
    RefPointer<GameNode> node(new GameNode());
    RefPointer<Polygon> polygon = path({{0, 0}, {10, 0}, {10, 10}});
    std::vector<Position> positions =
        run(new ModifierLocationPolygonicPath(polygon.get(), 40, false, false), node.get(), 10);
    EXPECT_EQ(positions, (std::vector<Position> {{0, 0}, {5, 0}, {10, 0}, {10, 5}, {10, 10}}));
    // Two points make one edge to walk.
    RefPointer<Polygon> line = path({{0, 0}, {20, 0}});
    positions = run(new ModifierLocationPolygonicPath(line.get(), 40, false, false), node.get(), 10);
    EXPECT_EQ(positions, (std::vector<Position> {{0, 0}, {5, 0}, {10, 0}, {15, 0}, {20, 0}}));
}

TEST(ModifierLocationPolygonicPath, AFrameSkippingPastSeveralEdgesStaysOnThePath)
{
    RefPointer<GameNode> node(new GameNode());
    // Edges of 10, 1 and 10: 16 along lies 5 into the third edge.
    RefPointer<Polygon> polygon = path({{0, 0}, {10, 0}, {10, 1}, {20, 1}});
    ModifierLocationPolygonicPath* walker = new ModifierLocationPolygonicPath(polygon.get(), 210, false, false);
    RefPointer<Modifier> hold(walker);
    walker->setTarget(node.get());
    walker->step(50);  // at 0
    walker->step(110); // at 50/210*21 = 5
    walker->step(0);   // at 160/210*21 = 16
    EXPECT_EQ(node->getX(), 15);
    EXPECT_EQ(node->getY(), 1);
}

TEST(ModifierLocationPolygonicPath, ClosedLoopStartsAgainFromTheStartPoint)
{
    RefPointer<GameNode> node(new GameNode());
    RefPointer<Polygon> square = path({{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}});
    RefPointer<ModifierLocationPolygonicPath> walker(new ModifierLocationPolygonicPath(square.get(), 40, true, false, 1));
    std::vector<Position> positions = run(walker.get(), node.get(), 10, 6);
    EXPECT_EQ(positions, (std::vector<Position> {{10, 0}, {10, 10}, {0, 10}, {0, 0}, {10, 0}, {10, 10}}));
    EXPECT_FALSE(walker->isFinished());
    // A start index outside the points starts from the first one.
    for (int outside : {-1, 5}) {
        RefPointer<ModifierLocationPolygonicPath> fromFirst(
            new ModifierLocationPolygonicPath(square.get(), 40, true, false, outside));
        positions = run(fromFirst.get(), node.get(), 10, 6);
        EXPECT_EQ(positions, (std::vector<Position> {{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}, {10, 0}})) << outside;
    }
}

TEST(ModifierLocationPolygonicPath, ZeroLengthPathOrDurationFinishesOnTheLastPoint)
{
    RefPointer<GameNode> node(new GameNode());
    RefPointer<Polygon> dot = path({{4, 4}, {4, 4}, {4, 4}});
    std::vector<Position> positions = run(new ModifierLocationPolygonicPath(dot.get(), 100, true, true), node.get(), 10);
    EXPECT_EQ(positions, (std::vector<Position> {{4, 4}}));

    RefPointer<Polygon> line = path({{0, 0}, {7.5f, 2.5f}});
    positions = run(new ModifierLocationPolygonicPath(line.get(), 0, false, false), node.get(), 10);
    EXPECT_EQ(positions, (std::vector<Position> {{8, 2}}));

    positions = run(new ModifierLocationPolygonicPath(nullptr, 50, false, false), node.get(), 10);
    EXPECT_EQ(positions.size(), 1u);
}

TEST(ModifierDelay, WaitsItsTimeOrForAnotherModifier)
{
    RefPointer<ModifierDelay> delay(new ModifierDelay(25));
    EXPECT_EQ(delay->getEndFlags() & Modifier::EndWait, Modifier::EndWait);
    delay->step(10);
    delay->step(10);
    EXPECT_FALSE(delay->isFinished());
    delay->step(5);
    EXPECT_TRUE(delay->isFinished());

    RefPointer<RecordingModifier> awaited(new RecordingModifier(30));
    RefPointer<ModifierDelay> waiting(new ModifierDelay(awaited.get()));
    EXPECT_EQ(waiting->getEndFlags() & Modifier::EndWait, Modifier::EndWait);
    waiting->step(100);
    EXPECT_FALSE(waiting->isFinished());
    awaited->step(30);
    waiting->step(0);
    EXPECT_TRUE(waiting->isFinished());
}

TEST(ModifierVisible, ShowsHidesAndToggles)
{
    RefPointer<GameNode> node(new GameNode());
    run(new ModifierVisible(false), node.get(), 1);
    EXPECT_FALSE(node->isVisible());
    run(new ModifierVisible(ModifierVisible::Show), node.get(), 1);
    EXPECT_TRUE(node->isVisible());
    RefPointer<ModifierVisible> toggle(new ModifierVisible(7));
    run(toggle.get(), node.get(), 1);
    EXPECT_FALSE(node->isVisible());
    EXPECT_TRUE(toggle->isFinished());
    // Without a target it just finishes.
    RefPointer<ModifierVisible> loose(new ModifierVisible(true));
    loose->step(1);
    EXPECT_TRUE(loose->isFinished());
}

TEST(ModifierFunction, CallsBackOnceWithTheFinishedModifier)
{
    struct Counter {
        int calls = 0;
        bool sawFinished = false;
    } counter;
    ModifierFunction* function = new ModifierFunction(
        [](void* context, BaseObject* argument) {
            Counter* c = static_cast<Counter*>(context);
            ++c->calls;
            c->sawFinished = static_cast<Modifier*>(argument)->isFinished();
            return 0;
        },
        &counter);
    RefPointer<AnimTree> tree(new AnimTree());
    Modifier::addChild(tree.get(), function);
    EXPECT_NE(interfaceCast<iGuiMethod>(function), nullptr);
    Modifier::updateTree(tree.get(), 10);
    Modifier::updateTree(tree.get(), 10);
    EXPECT_EQ(counter.calls, 1);
    EXPECT_TRUE(counter.sawFinished);
}

TEST(ModifierSequence, ZeroLengthStepsRunExactlyOnceEvenWhenAFrameSkipsPastSeveral)
{
    RefPointer<GameNode> root(new GameTree());
    RefPointer<AnimTree> tree(new AnimTree());
    RefPointer<MoveTask> move(new MoveTask(root.get(), tree.get()));
    RefPointer<PurgeTask> purge(new PurgeTask(root.get(), tree.get()));
    std::vector<RefPointer<RecordingModifier>> chain;
    Modifier* previous = tree.get();
    for (int duration : {0, 10, 0, 0, 10, 500}) {
        RecordingModifier* step = new RecordingModifier(duration);
        chain.emplace_back(step);
        Modifier::addChild(previous, step);
        previous = step;
    }
    move->run(100);
    purge->run(100);
    move->run(100);
    purge->run(100);
    for (size_t i = 0; i + 1 < chain.size(); ++i)
        EXPECT_EQ(chain[i]->steps.size(), 1u) << i;
    EXPECT_EQ(chain.back()->steps, (std::vector<int> {100, 100}));
}

namespace {

int playedNodes = 0;
int playNode(GameNode*)
{
    ++playedNodes;
    return 30;
}
int noSoundNode(GameNode*)
{
    return -1;
}

} // namespace

TEST(ModifierSound, WithoutSoundOrSoundNodeFinishesAtOnce)
{
    ModifierSound::Backend backend;
    backend.playSoundNode = &noSoundNode;
    ModifierSound::setBackend(backend);
    RefPointer<GameNode> node(new GameNode());
    RefPointer<ModifierSound> sound(new ModifierSound("SOUND_MISSING", "sounds"));
    sound->setTarget(node.get());
    sound->step(10);
    EXPECT_TRUE(sound->isFinished());
    ModifierSound::setBackend(ModifierSound::Backend());
}

TEST(ModifierSound, SoundNodeTargetPlaysAndWaitsForItsLength)
{
    ModifierSound::Backend backend;
    backend.playSoundNode = &playNode;
    ModifierSound::setBackend(backend);
    playedNodes = 0;
    RefPointer<GameNode> node(new GameNode());
    RefPointer<ModifierSound> sound(new ModifierSound("", ""));
    sound->setTarget(node.get());
    sound->step(20);
    EXPECT_FALSE(sound->isFinished());
    EXPECT_EQ(sound->getRemaining(), 10);
    sound->step(20);
    EXPECT_TRUE(sound->isFinished());
    EXPECT_EQ(playedNodes, 1);

    RefPointer<ModifierSound> noWait(new ModifierSound("", "", true));
    noWait->setTarget(node.get());
    noWait->step(1);
    EXPECT_TRUE(noWait->isFinished());
    EXPECT_EQ(playedNodes, 2);
    ModifierSound::setBackend(ModifierSound::Backend());
}

TEST(ModifierSound, SoundWithSoundOffHasLengthZeroAndFinishesInItsFirstStep)
{
    RefPointer<Sound> silent(new Sound());
    RefPointer<ModifierSound> sound(new ModifierSound(silent.get()));
    sound->step(16);
    EXPECT_TRUE(sound->hasStarted());
    EXPECT_TRUE(sound->isFinished());
}

TEST(ModifierSound, SilentSoundNodeTargetFinishesInItsFirstStep)
{
    ModifierSound::setBackend(ModifierSound::Backend());
    RefPointer<SoundNode> node(new SoundNode());
    RefPointer<ModifierSound> sound(new ModifierSound("", ""));
    sound->setTarget(node.get());
    sound->step(16);
    EXPECT_TRUE(sound->hasStarted());
    EXPECT_TRUE(sound->isFinished());
}

TEST(ModifierSound, SoundNodeTargetPlaysItsSoundOnceThroughTheDefaultPlayer)
{
    SoundManager::createInstance(std::make_unique<host::RecordingAudioOutput>());
    ModifierSound::setBackend(ModifierSound::Backend());
    RefPointer<Sound> tone(new Sound);
    auto pcm = std::make_shared<host::PcmBuffer>();
    pcm->channels = 1;
    pcm->samples.assign(4410, 500);
    tone->sample = pcm;
    RefPointer<SoundNode> node(new SoundNode());
    node->setSound(tone.get());
    RefPointer<ModifierSound> sound(new ModifierSound("", ""));
    sound->setTarget(node.get());
    sound->step(16);
    EXPECT_FALSE(sound->isFinished());
    EXPECT_EQ(sound->getRemaining(), 84);
    EXPECT_EQ(node->getUsers(), 1);
    // Not looped: the node lets go of it once its length has run out.
    node->update(100);
    EXPECT_EQ(node->getUsers(), 0);
    SoundManager::releaseInstance();
}

TEST(ModifierTarget, UnlistedTreeModifierOutlivesItsTargetSafely)
{
    RefPointer<AnimTree> tree(new AnimTree());
    RefPointer<ModifierLocationLine> line(new ModifierLocationLine(100, 0, 0, 10, 10));
    Modifier::addChild(tree.get(), line.get());
    {
        RefPointer<GameNode> node(new GameNode());
        // Set after attaching: not in the node's list, so the node cannot end it.
        line->setTarget(node.get());
        EXPECT_FALSE(node->hasTreeModifiers());
        Modifier::updateTree(tree.get(), 10);
        EXPECT_EQ(node->getX(), 1);
    }
    EXPECT_EQ(line->getTarget(), nullptr);
    Modifier::updateTree(tree.get(), 10);
    EXPECT_EQ(line->getElapsed(), 20);
}
