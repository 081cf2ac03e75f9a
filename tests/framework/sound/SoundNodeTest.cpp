#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include "framework/core/PropertyNode.h"
#include "framework/core/RefPointer.h"
#include "framework/scenegraph/ModifierSound.h"
#include "framework/sound/Sound.h"
#include "framework/sound/SoundManager.h"
#include "framework/sound/SoundNode.h"
#include "framework/sound/SoundStream.h"
#include "support/LogCapture.h"
#include "support/TestFolders.h"

namespace {

// A sound manager on a recording device and a sound of 1000 ms.
class SoundNodeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SoundManager::createInstance(std::make_unique<host::RecordingAudioOutput>());
        ASSERT_TRUE(SoundManager::isSoundOn());
        sound = new Sound;
        auto pcm = std::make_shared<host::PcmBuffer>();
        pcm->channels = 1;
        pcm->samples.assign(44100, 500);
        sound->sample = pcm;
    }
    void TearDown() override { SoundManager::releaseInstance(); }

    RefPointer<SoundNode> makeNode(PropertyNode* configuration = nullptr)
    {
        RefPointer<SoundNode> node(new SoundNode(configuration));
        node->setSound(sound.get());
        return node;
    }
    bool playing(int channel) { return SoundManager::instance->getMixer().isPlaying(channel); }

    RefPointer<Sound> sound;
};

} // namespace

TEST_F(SoundNodeTest, DefaultsPlayOnceAtFullVolumeCentred)
{
    RefPointer<SoundNode> node = makeNode();
    EXPECT_EQ(node->getVolume(), 255);
    EXPECT_EQ(node->getPanning(), 128);
    const int channel = node->play();
    ASSERT_GE(channel, 0);
    EXPECT_EQ(node->getUsers(), 1);
    EXPECT_EQ(node->getRemaining(), 1000);
    EXPECT_EQ(SoundManager::instance->getMixer().getVolume(channel), 255);
    // After the length has run out the update drops the user and stops the channel.
    node->update(999);
    EXPECT_EQ(node->getUsers(), 1);
    node->update(1);
    EXPECT_EQ(node->getUsers(), 0);
    EXPECT_EQ(node->getChannel(), -1);
    EXPECT_FALSE(playing(channel));
}

TEST_F(SoundNodeTest, RestartsAreLimitedByUsersAndInterval)
{
    RefPointer<SoundNode> node = makeNode();
    const int first = node->play();
    node->update(100);
    // 100 ms after the start: no new start, but a user is counted.
    EXPECT_EQ(node->play(), first);
    EXPECT_EQ(node->getUsers(), 2);
    node->update(99);
    // 199 ms after the start: still too soon.
    EXPECT_EQ(node->play(), first);
    EXPECT_EQ(node->getUsers(), 3);
    EXPECT_FALSE(node->stop(false));
    node->update(1);
    // 200 ms after the start: started again on a new channel.
    const int second = node->play();
    EXPECT_NE(second, first);
    EXPECT_EQ(node->getUsers(), 3);
    EXPECT_FALSE(node->stop(false));
    EXPECT_EQ(node->getUsers(), 2);
    EXPECT_TRUE(node->stop(true));
    EXPECT_EQ(node->getUsers(), 0);
    EXPECT_FALSE(playing(second));
    EXPECT_FALSE(node->stop(false));

    // Once the length has run out, an update lets go of one user, not all.
    const int third = node->play();
    node->update(100);
    EXPECT_EQ(node->play(), third);
    node->update(900);
    EXPECT_EQ(node->getUsers(), 1);
    EXPECT_TRUE(playing(third));

    // A play asked to restart starts at once, even within the interval.
    RefPointer<SoundNode> eager = makeNode();
    const int started = eager->play();
    const int restarted = eager->play(true, 255, 128, false);
    EXPECT_NE(restarted, started);
    EXPECT_EQ(eager->getUsers(), 2);
}

TEST_F(SoundNodeTest, LoopedNodeStartsOnceAndIsNeverCountedDown)
{
    PropertyNode configuration;
    configuration.setBoolean("looped", true);
    RefPointer<SoundNode> node = makeNode(&configuration);
    const int channel = node->play();
    EXPECT_EQ(node->play(), channel);
    EXPECT_EQ(node->getUsers(), 2);
    for (int i = 0; i < 100; ++i)
        node->update(100);
    EXPECT_TRUE(playing(channel));
    EXPECT_FALSE(node->stop(false));
    EXPECT_TRUE(node->stop(false));
    EXPECT_FALSE(playing(channel));
}

TEST_F(SoundNodeTest, ForcedRestartOfALoopDoesNotOrphanTheOldChannel)
{
    PropertyNode configuration;
    configuration.setBoolean("looped", true);
    configuration.setBoolean("forcedrestart", true);
    RefPointer<SoundNode> node = makeNode(&configuration);
    const int first = node->play();
    const int second = node->play();
    EXPECT_NE(first, second);
    EXPECT_FALSE(playing(first));
    EXPECT_TRUE(playing(second));
    EXPECT_TRUE(node->stop(true));
    EXPECT_FALSE(playing(second));
}

TEST_F(SoundNodeTest, ScreenPanningFollowsThePositionAndStaysOnScreen)
{
    PropertyNode configuration;
    configuration.setBoolean("screenpospanning", true);
    configuration.setInt("panminvalue", 64);
    configuration.setInt("panmaxvalue", 192);
    RefPointer<GameNode> parent(new GameNode);
    RefPointer<SoundNode> node = makeNode(&configuration);
    GameNode::addChild(parent.get(), node.get());
    node->setX(0);
    node->update(0);
    EXPECT_EQ(node->getPanning(), 64);
    node->setX(400);
    EXPECT_EQ(node->screenPanning(), 128); // round(127.5) to even
    parent->setX(-2000);
    EXPECT_EQ(node->screenPanning(), 0);
    parent->setX(5000);
    EXPECT_EQ(node->screenPanning(), 255);
    node->update(0);
    EXPECT_EQ(node->getPanning(), 192);
    GameNode::removeFromParent(node.get());
    node->release(); // the reference the tree handed back
}

TEST_F(SoundNodeTest, NodeWithoutASoundPlaysNothing)
{
    RefPointer<SoundNode> node(new SoundNode);
    EXPECT_EQ(node->play(), -1);
    EXPECT_EQ(node->getLengthMs(), 0);
    EXPECT_FALSE(node->stop(true));
}

TEST_F(SoundNodeTest, TheSoundModifierPlaysANodesOwnSound)
{
    RefPointer<SoundNode> node = makeNode();
    ASSERT_TRUE(ModifierSound::getBackend().playSoundNode);
    EXPECT_EQ(ModifierSound::getBackend().playSoundNode(node.get()), 1000);
    EXPECT_EQ(node->getUsers(), 1);
    RefPointer<GameNode> plain(new GameNode);
    EXPECT_EQ(ModifierSound::getBackend().playSoundNode(plain.get()), -1);
    // Both players start the node's sound once, unlooped: it ends with its length.
    for (int (*player)(GameNode*) : {ModifierSound::getBackend().playSoundNode, &ModifierSound::playOwnSound}) {
        RefPointer<SoundNode> once = makeNode();
        EXPECT_EQ(player(once.get()), 1000);
        const int channel = once->getChannel();
        ASSERT_GE(channel, 0);
        once->update(1000);
        EXPECT_EQ(once->getUsers(), 0);
        EXPECT_FALSE(playing(channel));
        EXPECT_EQ(player(plain.get()), -1);
    }
}

TEST(SoundNodeOff, EveryOperationIsANoOp)
{
    RefPointer<SoundNode> node(new SoundNode);
    EXPECT_EQ(node->play(), -1);
    EXPECT_FALSE(node->stop(true));
    node->update(100);
    node->setPanning(3);
    EXPECT_EQ(node->getPanning(), 128);
}

TEST(SoundStream, SyncPointsComeFromTheirFile)
{
    const std::string path = makeTestFolder("sync-points") + "/sync.xml";
    {
        std::ofstream out(path);
        out << "<Properties><Vector id=\"SyncPoints\">"
               "<Node><Integer id=\"value\" value=\"100\"/></Node>"
               "<Node><Integer id=\"other\" value=\"5\"/></Node>"
               "<Integer value=\"7\"/>"
               "<Node><Integer id=\"value\" value=\"#200\"/></Node>"
               "</Vector></Properties>";
    }
    RefPointer<SoundStream> stream(new SoundStream("music.ogg", 1, path));
    EXPECT_TRUE(stream->loadSyncPoints());
    EXPECT_EQ(stream->syncPoints, (std::vector<uint32_t>{100, 0x200}));
    std::remove(path.c_str());

    // A sync-point file that cannot be read or parsed is reported, not passed over.
    LogCapture log;
    RefPointer<SoundStream> missing(new SoundStream("music.ogg", 1, "no-such-sync-file.xml"));
    EXPECT_FALSE(missing->loadSyncPoints());
    EXPECT_TRUE(missing->syncPoints.empty());
    {
        std::ofstream out(path);
        out << "<Properties><Vector id=\"SyncPoints\"><Node><Integer id=\"value\" value=\"1\"/>";
    }
    RefPointer<SoundStream> broken(new SoundStream("music.ogg", 1, path));
    EXPECT_FALSE(broken->loadSyncPoints());
    // Without a sync-point file there is nothing to read.
    RefPointer<SoundStream> plain(new SoundStream("music.ogg", 1));
    EXPECT_TRUE(plain->loadSyncPoints());
    EXPECT_TRUE(plain->syncPoints.empty());
    EXPECT_TRUE(broken->syncPoints.empty());
    std::remove(path.c_str());
    EXPECT_TRUE(log.contains("no-such-sync-file.xml"));
    EXPECT_TRUE(log.contains(path));
}

// The node's sound ends in the mixer, the channel goes to another effect:
// the node stopping, panning or going away must leave that effect alone.
TEST_F(SoundNodeTest, FinishedSoundsChannelIsNotTouchedThroughTheNode)
{
    RefPointer<SoundNode> node = makeNode();
    const int mine = node->play();
    ASSERT_GE(mine, 0);
    host::AudioMixer& mixer = SoundManager::instance->getMixer();
    std::vector<int16_t> mixed(2 * 44200);
    mixer.mix(mixed.data(), 44200);  // past the whole second: the node's sound has ended
    ASSERT_FALSE(playing(mine));
    const int other = Sound::play(sound.get(), 128, 255, true);
    ASSERT_TRUE(playing(other));

    node->setPanning(0);
    EXPECT_EQ(mixer.getPan(other), 128);
    node->stop(true);
    EXPECT_TRUE(playing(other));
    node.reset();
    EXPECT_TRUE(playing(other));
}
