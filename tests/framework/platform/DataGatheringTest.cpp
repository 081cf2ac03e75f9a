#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include <memory>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "framework/core/PropertyStore.h"
#include "framework/core/PropertyVector.h"
#include "framework/platform/DataGathering.h"
#include "framework/platform/SystemInfo.h"
#include "framework/resources/FileModes.h"
#include "host/FakeHostPlatform.h"
#include "host/SettingsStore.h"
#include "host/SystemInfo.h"
#include "support/LogCapture.h"
#include "support/TestFolders.h"

namespace {

class DataGatheringTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        // A test that failed half-way must not leave the instance to the next.
        if (DataGathering::instance)
            DataGathering::stop();
    }

    void startIn(const std::string& folderName)
    {
        fileName = makeTestFolder(folderName) + "/gd.xml";
        DataGathering::start(fileName, store);
        ASSERT_NE(nullptr, DataGathering::instance);
    }

    // The file as the game reads it back.
    RefPointer<PropertyStore> readBack() const
    {
        RefPointer<PropertyStore> file(new PropertyStore());
        file->setFileMode(FILE_MODE_FILE);
        EXPECT_TRUE(file->loadFile(fileName));
        return file;
    }

    PropertyVector* sessionsOf(PropertyStore& file) const
    {
        return file.getNode("DataGathering")->getVector("PlayingSessions");
    }

    ScopedFakeHostPlatform host;
    std::shared_ptr<SettingsStore> store = std::make_shared<SettingsStore>();
    std::string fileName;
};

TEST_F(DataGatheringTest, StartPublishesTheFileAndWritesOnlyThisRunsMachine)
{
    std::string folder = makeTestFolder("gd-systeminfo");
    fileName = folder + "/gd.xml";
    writeTestFile(fileName,
                  "<root><DataGathering id=\"DataGathering\">"
                  "<SystemInfo id=\"SystemInfo\" Stale=\"1\" CPUSpeed=\"9\"/>"
                  "<Vector id=\"PlayingSessions\"><PlayingSession StartTime=\"5\" EndTime=\"6\"/></Vector>"
                  "</DataGathering></root>");
    host.desktop = {1024, 768, 4};
    DataGathering::start(fileName, store);

    EXPECT_EQ(fileName, store->readString("qpx", "dgfilename", ""));
    RefPointer<PropertyStore> file = readBack();
    PropertyNode* info = file->getNode("DataGathering")->getNode("SystemInfo");
    ASSERT_NE(DUMMY_NODE, info);
    EXPECT_FALSE(info->hasChild("Stale"));
    EXPECT_EQ(1024, info->getInt("ScreenWidth"));
    EXPECT_EQ(768, info->getInt("ScreenHeight"));
    EXPECT_EQ(32, info->getInt("BitDepth"));
    EXPECT_EQ("#0000", info->getString("DirectX"));
    EXPECT_EQ(0, info->getInt("CPUCaps"));
    EXPECT_TRUE(info->hasChild("OSName"));
    EXPECT_GE(info->getInt("NumberOfCPUs"), 1);
    // The earlier sessions are not touched by the machine description.
    EXPECT_EQ(1, sessionsOf(*file)->getCount());
}

// The file is replaced by renaming a new one over it, so an unchanged inode
// means it was not written.
TEST_F(DataGatheringTest, SameMachineAgainLeavesTheFileAlone)
{
    auto inode = [this] {
        struct stat info {};
        EXPECT_EQ(stat(fileName.c_str(), &info), 0);
        return info.st_ino;
    };
    host.desktop = {1024, 768, 4};
    startIn("gd-same-machine");
    DataGathering::stop();
    const ino_t first = inode();
    auto text = [this] {
        std::ifstream in(fileName, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    const std::string before = text();
    DataGathering::start(fileName, store);
    DataGathering::stop();
    // A machine whose reported clock speed moved between the two starts is
    // described anew; one that reads the same is left alone.
    if (text() == before) {
        EXPECT_EQ(inode(), first);
    }
    // A second name keeps the file's inode in use, so the rewrite cannot be
    // handed the same number again (it was, when a busy machine's clock speed
    // changed between the starts above and the file was already rewritten once).
    const std::string held = fileName + ".held";
    ASSERT_EQ(link(fileName.c_str(), held.c_str()), 0);
    const ino_t beforeNewMachine = inode();
    host.desktop = {800, 600, 4};
    DataGathering::start(fileName, store);
    EXPECT_NE(inode(), beforeNewMachine);
    unlink(held.c_str());
    EXPECT_EQ(800, readBack()->getNode("DataGathering")->getNode("SystemInfo")->getInt("ScreenWidth"));
}

TEST_F(DataGatheringTest, SessionIsAppendedWithItsEndAndTheTimeIsAddedToTheTotal)
{
    store->writeNumber("qpx", "totalplayingtime", 100);
    startIn("gd-session");
    host.desktop = {1280, 1024, 4};
    DataGathering::startSession(0, 3);
    host.advanceClock(65'900);
    DataGathering::endSession();
    int endTime = DataGathering::instance->getSessions().back().endTime;
    DataGathering::endSession(); // closed already: the first stamp stays
    EXPECT_EQ(endTime, DataGathering::instance->getSessions().back().endTime);
    DataGathering::stop();
    EXPECT_EQ(nullptr, DataGathering::instance);

    EXPECT_EQ(165u, store->readNumber("qpx", "totalplayingtime", 0));
    RefPointer<PropertyStore> file = readBack();
    PropertyVector* sessions = sessionsOf(*file);
    ASSERT_EQ(1, sessions->getCount());
    PropertyNode* session = sessions->getNodeAt(0);
    EXPECT_EQ("PlayingSession", session->getTypeName());
    EXPECT_EQ("", session->getName());
    EXPECT_GT(session->getInt("StartTime"), 1'600'000'000);
    EXPECT_GE(session->getInt("EndTime"), session->getInt("StartTime"));
    EXPECT_EQ(0, session->getInt("GameMode"));
    EXPECT_EQ(3, session->getInt("NumOfPlayers"));
    EXPECT_EQ(1280, session->getInt("ScreenWidth"));
    EXPECT_EQ(1024, session->getInt("ScreenHeight"));
    EXPECT_EQ(32, session->getInt("BitDepth"));
    EXPECT_TRUE(file->getNode("DataGathering")->hasChild("SystemInfo"));
}

TEST_F(DataGatheringTest, RunsAppendToTheSessionsOfEarlierRuns)
{
    startIn("gd-append");
    DataGathering::startSession(0, 1);
    DataGathering::endSession();
    DataGathering::stop();
    DataGathering::start(fileName, store);
    DataGathering::startSession(1, 2);
    DataGathering::endSession();
    DataGathering::stop();

    RefPointer<PropertyStore> file = readBack();
    PropertyVector* sessions = sessionsOf(*file);
    ASSERT_EQ(2, sessions->getCount());
    EXPECT_EQ(1, sessions->getNodeAt(0)->getInt("NumOfPlayers"));
    EXPECT_EQ(2, sessions->getNodeAt(1)->getInt("NumOfPlayers"));
    EXPECT_EQ(1, sessions->getNodeAt(1)->getInt("GameMode"));
}

TEST_F(DataGatheringTest, RunWithoutSessionWritesNoneButCountsItsTime)
{
    store->writeNumber("qpx", "totalplayingtime", 7);
    startIn("gd-nosession");
    host.advanceClock(2'999);
    DataGathering::endSession();
    DataGathering::stop();
    EXPECT_EQ(9u, store->readNumber("qpx", "totalplayingtime", 0));
    RefPointer<PropertyStore> file = readBack();
    EXPECT_EQ(0, sessionsOf(*file)->getCount());
}

TEST_F(DataGatheringTest, KeepsOnlyTheLatestThousandSessions)
{
    std::string folder = makeTestFolder("gd-cap");
    fileName = folder + "/gd.xml";
    std::string text = "<root><DataGathering id=\"DataGathering\"><Vector id=\"PlayingSessions\">";
    for (int i = 0; i < DataGathering::kMaxSessions; ++i)
        text += "<PlayingSession StartTime=\"" + std::to_string(i) + "\"/>";
    text += "</Vector></DataGathering></root>";
    writeTestFile(fileName, text);

    DataGathering::start(fileName, store);
    DataGathering::startSession(0, 1);
    DataGathering::startSession(0, 2);
    DataGathering::stop();

    RefPointer<PropertyStore> file = readBack();
    PropertyVector* sessions = sessionsOf(*file);
    ASSERT_EQ(DataGathering::kMaxSessions, sessions->getCount());
    // The two oldest went; the two new ones are last.
    EXPECT_EQ(2, sessions->getNodeAt(0)->getInt("StartTime"));
    EXPECT_EQ(1, sessions->getNodeAt(sessions->getCount() - 2)->getInt("NumOfPlayers"));
    EXPECT_EQ(2, sessions->getNodeAt(sessions->getCount() - 1)->getInt("NumOfPlayers"));
}

TEST_F(DataGatheringTest, DamagedFileIsStartedAnew)
{
    std::string folder = makeTestFolder("gd-damaged");
    fileName = folder + "/gd.xml";
    writeTestFile(fileName, "<root><DataGathering id=\"DataGathering\"><Vector id=\"Playing");
    LogCapture log;
    DataGathering::start(fileName, store);
    DataGathering::startSession(0, 4);
    DataGathering::stop();
    RefPointer<PropertyStore> file = readBack();
    ASSERT_EQ(1, sessionsOf(*file)->getCount());
    EXPECT_EQ(4, sessionsOf(*file)->getNodeAt(0)->getInt("NumOfPlayers"));
}

TEST_F(DataGatheringTest, WithoutAnInstanceEveryCallDoesNothing)
{
    DataGathering::startSession(0, 1);
    DataGathering::endSession();
    DataGathering::stop();
    EXPECT_EQ(nullptr, DataGathering::instance);
    EXPECT_FALSE(store->keyExists("qpx"));
}

TEST(SystemInfoTest, MemoryFigureTruncatesBothDivisions)
{
    EXPECT_EQ(0, SystemInfo::systemMemoryFigure(1'023'999));
    EXPECT_EQ(1, SystemInfo::systemMemoryFigure(1'024'000));
    // 16 GiB: 17179869184 / 1000 = 17179869, / 1024 = 16777.
    EXPECT_EQ(16777, SystemInfo::systemMemoryFigure(17'179'869'184ULL));
}

TEST(SystemInfoTest, ValuesComeFromTheSystemRecordInFileOrder)
{
    SystemInformation source;
    source.computerName = std::string(2000, 'k');
    source.osName = "";
    source.osBuild = 60100;
    source.cpuType = 8664;
    source.cpuSpeedMHz = 2400;
    source.cpuCount = 8;
    source.totalMemoryBytes = 8'192'000'000ULL;
    source.desktopBitsPerPixel = 16;
    source.screenWidth = 800;
    source.screenHeight = 600;
    SystemInfo info(source);
    RefPointer<PropertyNode> node(new PropertyNode("SystemInfo", "SystemInfo"));
    info.writeTo(node.get(), "tortelune");

    EXPECT_EQ(1023u, node->getString("CompName").size());
    EXPECT_EQ("Unknown", node->getString("OSName"));
    EXPECT_EQ("tortelune", node->getString("GameId"));
    EXPECT_EQ(2400, node->getInt("CPUSpeed"));
    EXPECT_EQ(8664, node->getInt("CPUType"));
    EXPECT_EQ(8, node->getInt("NumberOfCPUs"));
    EXPECT_EQ(60100, node->getInt("WinBuild"));
    EXPECT_EQ(8000, node->getInt("SysMem"));
    EXPECT_EQ(16, node->getInt("BitDepth"));
    EXPECT_EQ(800, node->getInt("ScreenWidth"));
    // Every figure is written as a plain attribute of the record.
    EXPECT_EQ(13, node->getNamedCount());
    for (AbstractProperty* child : node->getNamedChildren())
        EXPECT_TRUE(child->isUntypedValue()) << child->getName();
}

TEST(SystemInfoTest, MachineIsReadWithoutMeasuringLoops)
{
    ScopedFakeHostPlatform host;
    SystemInfo info;
    // Reading the machine never sleeps or waits on the clock.
    EXPECT_EQ(0u, host.totalSlept);
    EXPECT_EQ(0u, host.clock);
    EXPECT_GE(info.cpuCount, 1);
    EXPECT_GT(info.totalMemoryBytes, 0u);
}

} // namespace
