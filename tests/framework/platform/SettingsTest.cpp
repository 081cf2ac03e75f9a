#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "framework/core/BasicProperties.h"
#include "framework/core/PropertyNode.h"
#include "framework/core/PropertyValue.h"
#include "framework/platform/Logger.h"
#include "framework/platform/RegistryValue.h"
#include "framework/platform/SettingsManager.h"
#include "game/data/TorteluneGameSettings.h"
#include "host/FakeHostPlatform.h"
#include "host/SettingsStore.h"
#include "support/LogCapture.h"
#include "support/TestFolders.h"

namespace {

class SettingsTest : public ::testing::Test {
protected:
    void TearDown() override { SettingsManager::destroyInstance(); }

    IGameSettings& settings() { return *SettingsManager::instance->getSettings(); }

    std::shared_ptr<SettingsStore> store = std::make_shared<SettingsStore>();
};

TEST_F(SettingsTest, FirstStartKeepsTheDefaults)
{
    SettingsManager::create(new TorteluneGameSettings(), store);
    EXPECT_TRUE(settings().isFullScreen());
    EXPECT_TRUE(settings().isFullScreenWarning());
    EXPECT_TRUE(settings().isUseHardware());
    EXPECT_TRUE(settings().isUseHints());
    EXPECT_EQ(255, settings().getSoundVolume());
    EXPECT_EQ(50, settings().getMusicVolume());
}

TEST_F(SettingsTest, StoredValuesAreReadAndOtherTypesIgnored)
{
    store->writeValue("", "fullscreen", SettingValue::ofBytes({1, 0, 0, 0}));
    store->writeNumber("", "usehints", 0);
    store->writeString("", "usehardware", "false");
    store->writeNumber("", "musicvolume", 80);
    store->writeNumber("", "soundvolume", 0xFFFFFFFFu);
    store->writeNumber("qpx", "fullscreenwarning", 0);
    SettingsManager::create(new TorteluneGameSettings(), store);
    EXPECT_TRUE(settings().isFullScreen());
    EXPECT_FALSE(settings().isUseHints());
    EXPECT_FALSE(settings().isUseHardware());
    EXPECT_TRUE(settings().isFullScreenWarning());
    EXPECT_EQ(80, settings().getMusicVolume());
    EXPECT_EQ(0, settings().getSoundVolume());
}

TEST_F(SettingsTest, SavingWritesAllSixNumbersEveryTime)
{
    SettingsManager::create(new TorteluneGameSettings(), store);
    settings().setFullScreen(false);
    settings().setMusicVolume(300);
    ASSERT_TRUE(SettingsManager::instance->saveToRegistry());
    EXPECT_EQ(6u, store->listValues("").size());
    EXPECT_EQ(0u, store->readNumber("", "fullscreen", 9));
    EXPECT_EQ(1u, store->readNumber("", "usehints", 9));
    EXPECT_EQ(255u, store->readNumber("", "musicvolume", 9));
    EXPECT_EQ(255u, store->readNumber("", "soundvolume", 9));

    store->removeValue("", "usehints");
    ASSERT_TRUE(SettingsManager::instance->saveToRegistry());
    EXPECT_EQ(1u, store->readNumber("", "usehints", 9));
}

TEST_F(SettingsTest, ASaveTheStoreCannotKeepIsReportedAsFailed)
{
    const std::string folder = makeTestFolder("settings-blocked");
    std::filesystem::create_directories(folder + "/settings.xml/in-the-way");
    LogCapture log;
    SettingsManager::create(new TorteluneGameSettings(), std::make_shared<FileSettingsStore>(folder + "/settings.xml"));
    EXPECT_FALSE(SettingsManager::instance->saveToRegistry());
    EXPECT_TRUE(log.contains("the settings could not be saved"));
}

TEST_F(SettingsTest, NodeFormAcceptsWordsAndNumbersAndKeepsTheFlags)
{
    SettingsManager::create(new TorteluneGameSettings(), store);
    RefPointer<PropertyNode> node(new PropertyNode("GameSettngs", "Node"));
    SettingsManager::instance->writeTo(node.get());
    EXPECT_EQ("true", node->getString("fullscreen"));
    EXPECT_EQ("Boolean", node->getChild("fullscreen")->getTypeName());
    EXPECT_EQ("true", node->getString("shutdowncorrect"));
    EXPECT_EQ("false", node->getString("fatalerror"));
    EXPECT_EQ(255, node->getInt("soundvolume"));

    RefPointer<PropertyNode> changed(new PropertyNode("GameSettngs", "Node"));
    changed->setBoolean("fullscreen", false);
    changed->setInt("usehints", 0);
    changed->setString("usehardware", "true");
    changed->setInt("soundvolume", -20);
    changed->setInt("musicvolume", 1000);
    changed->setBoolean("fatalerror", true);
    changed->setBoolean("shutdowncorrect", false);
    SettingsManager::instance->readFrom(changed.get());
    EXPECT_FALSE(settings().isFullScreen());
    EXPECT_FALSE(settings().isUseHints());
    EXPECT_TRUE(settings().isUseHardware());
    EXPECT_EQ(0, settings().getSoundVolume());
    EXPECT_EQ(255, settings().getMusicVolume());
    EXPECT_TRUE(SettingsManager::instance->getFatalError());
    EXPECT_FALSE(SettingsManager::instance->getShutdownCorrect());

    RefPointer<TorteluneGameSettings> copy(new TorteluneGameSettings());
    copy->copyFrom(settings());
    EXPECT_FALSE(copy->isFullScreen());
    EXPECT_EQ(255, copy->getMusicVolume());
}

TEST_F(SettingsTest, RegistryValuePathsUseEitherSeparator)
{
    RegistryDWord forward("qpx/totalplayingtime", 7, store);
    RegistryDWord backward("qpx\\totalplayingtime\\", 7, store);
    EXPECT_EQ(7u, forward.read());
    EXPECT_FALSE(forward.exists());
    ASSERT_TRUE(forward.write(1234));
    EXPECT_EQ(1234u, backward.read());
    EXPECT_TRUE(backward.exists());
    EXPECT_EQ("qpx", backward.getKeyPath());
    EXPECT_EQ("totalplayingtime", backward.getValueName());

    RegistryString text("qpx/dgfilename", "none", store);
    EXPECT_EQ("none", text.read());
    // A number stored under the name is not text: the default holds.
    RegistryString wrongType("qpx/totalplayingtime", "none", store);
    EXPECT_EQ("none", wrongType.read());
    EXPECT_FALSE(wrongType.exists());
}

TEST(LoggerTest, FileNamesComeFromTheUtcStartTime)
{
    EXPECT_EQ("1970-01-01 00-00-00.log", Logger::fileNameFor(0));
    EXPECT_EQ("2008-05-05 14-03-59.log", Logger::fileNameFor(1209996239));
}

TEST(LoggerTest, RegisteredLogGetsRealLinesAndIsPublished)
{
    ScopedFakeHostPlatform platform;
    BasicProperties::createInstance();
    resetGameIdentityCache();
    BasicProperties::instance->setString("GAME_NAME", "LoggerTestGame");
    BasicProperties::instance->setString("GAME_ID", "loggertest");

    const std::string path = registerLogFile();
    ASSERT_FALSE(path.empty());
    EXPECT_NE(std::string::npos, path.find("/LoggerTestGame/_temp/log/"));
    EXPECT_EQ(path, getLogger(0, 2).getFileName());
    {
        LogCapture quiet;
        LOG_ERROR("a failed save, for the log file");
    }
    const std::string contents = readTestFile(path);
    EXPECT_NE(std::string::npos, contents.find("ERROR a failed save, for the log file"));
    EXPECT_EQ(path, platform.openSettingsStore("loggertest")->readString("qpx", "cdgfilename", ""));

    setLogFilePath(std::string());
    BasicProperties::destroyInstance();
    resetGameIdentityCache();
}

} // namespace
