#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/stat.h>

#include "host/HostPlatform.h"
#include "host/SettingsStore.h"
#include "support/FileSizeLimit.h"
#include "support/TempFolder.h"

namespace {

std::string readWhole(const std::string& path)
{
    std::ifstream stream(path, std::ios::binary);
    std::ostringstream text;
    text << stream.rdbuf();
    return text.str();
}

void writeWhole(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

TEST(SettingsStore, TypedValuesByKeyPathAndName)
{
    SettingsStore store;
    EXPECT_TRUE(store.writeNumber("", "fullscreen", 1));
    EXPECT_TRUE(store.writeString("qpx", "dgfilename", "/home/a/gd.xml"));
    EXPECT_TRUE(store.writeValue("", "blob", SettingValue::ofBytes({1, 2, 255})));

    EXPECT_EQ(store.readNumber("", "fullscreen", 7), 1u);
    EXPECT_EQ(store.readString("qpx", "dgfilename", ""), "/home/a/gd.xml");
    SettingValue blob;
    ASSERT_TRUE(store.readValue("", "blob", blob));
    EXPECT_EQ(blob, SettingValue::ofBytes({1, 2, 255}));

    // Missing values and values of another type give the default.
    EXPECT_EQ(store.readNumber("", "musicvolume", 50), 50u);
    EXPECT_EQ(store.readNumber("qpx", "dgfilename", 3), 3u);
    EXPECT_EQ(store.readString("", "fullscreen", "none"), "none");
    SettingValue untouched = SettingValue::ofNumber(9);
    EXPECT_FALSE(store.readValue("", "nothing", untouched));
    EXPECT_EQ(untouched.number, 9u);
}

TEST(SettingsStore, SeparatorsAndCaseAddressTheSameValue)
{
    SettingsStore store;
    store.writeNumber("Software\\Quillmark\\Games\\tt\\qpx\\", "TotalPlayingTime", 10);
    EXPECT_EQ(store.readNumber("Software/Quillmark/Games/tt/qpx", "totalplayingtime", 0), 10u);
    EXPECT_EQ(store.readNumber("/software//quillmark/games/TT/QPX/", "TOTALPLAYINGTIME", 0), 10u);
    store.writeNumber("software/quillmark/games/tt/qpx", "totalplayingtime", 11);
    ASSERT_EQ(store.listValues("Software/Quillmark/Games/tt/qpx").size(), 1u);
    EXPECT_EQ(store.listValues("Software/Quillmark/Games/tt/qpx")[0].first, "TotalPlayingTime");
    EXPECT_EQ(store.readNumber("Software/Quillmark/Games/tt/qpx", "TotalPlayingTime", 0), 11u);
    EXPECT_TRUE(store.keyExists("software/quillmark"));
    EXPECT_FALSE(store.keyExists("software/quill"));
}

TEST(SettingsStore, ListsValuesOfOneKeyInWriteOrder)
{
    SettingsStore store;
    store.writeNumber("", "fullscreen", 0);
    store.writeNumber("qpx", "totalplayingtime", 5);
    store.writeNumber("", "soundvolume", 200);
    store.writeString("", "name", "x");
    std::vector<SettingsStore::NamedValue> values = store.listValues("");
    ASSERT_EQ(values.size(), 3u);
    EXPECT_EQ(values[0].first, "fullscreen");
    EXPECT_EQ(values[1].first, "soundvolume");
    EXPECT_EQ(values[2].first, "name");
    EXPECT_TRUE(store.removeValue("", "soundvolume"));
    EXPECT_FALSE(store.removeValue("", "soundvolume"));
    EXPECT_EQ(store.listValues("").size(), 2u);
}

// Counts what would be written; refuses to keep anything when told to.
class CountingStore : public SettingsStore {
public:
    int commits = 0;
    bool refuse = false;

protected:
    bool commit() override
    {
        ++commits;
        return !refuse;
    }
};

// Several values are kept with one write, none when none changed, and a
// refused write leaves every one of them as it was.
TEST(SettingsStore, SeveralValuesAreKeptInOneWriteOrNotAtAll)
{
    CountingStore store;
    ASSERT_TRUE(store.writeNumber("", "fullscreen", 0));
    store.commits = 0;
    const std::vector<SettingsStore::NamedValue> values = {
        {"fullscreen", SettingValue::ofNumber(1)},
        {"musicvolume", SettingValue::ofNumber(40)},
        {"lastplayer", SettingValue::ofString("Anna")},
    };
    EXPECT_TRUE(store.writeValues("", values));
    EXPECT_EQ(store.commits, 1);
    EXPECT_EQ(store.readNumber("", "fullscreen", 9), 1u);
    EXPECT_EQ(store.readString("", "LastPlayer", ""), "Anna");

    EXPECT_TRUE(store.writeValues("", values));
    EXPECT_EQ(store.commits, 1) << "nothing changed, nothing written";

    store.refuse = true;
    EXPECT_FALSE(store.writeValues("", {{"fullscreen", SettingValue::ofNumber(0)},
                                        {"soundvolume", SettingValue::ofNumber(7)}}));
    EXPECT_EQ(store.commits, 2);
    EXPECT_EQ(store.readNumber("", "fullscreen", 9), 1u);
    EXPECT_EQ(store.readNumber("", "soundvolume", 9), 9u);
    EXPECT_EQ(store.listValues("").size(), 3u);
}

TEST(FileSettingsStore, RoundTripThroughTheFile)
{
    TempFolder folder;
    std::string path = folder.path() + "/game/settings.xml";
    {
        FileSettingsStore store(path);
        EXPECT_TRUE(store.writeNumber("", "fullscreen", 0));
        EXPECT_TRUE(store.writeNumber("", "soundvolume", 0xFFFFFFFFu));
        EXPECT_TRUE(store.writeString("qpx", "dgfilename", "  spaced \"quoted\" <tag> & \xC3\xBC\nsecond line\t"));
        EXPECT_TRUE(store.writeString("", "empty", ""));
        EXPECT_TRUE(store.writeValue("", "raw", SettingValue::ofBytes({0, 0x7F, 0x80, 0xFF})));
    }
    FileSettingsStore again(path);
    EXPECT_EQ(again.readNumber("", "fullscreen", 1), 0u);
    EXPECT_EQ(again.readNumber("", "soundvolume", 1), 0xFFFFFFFFu);
    EXPECT_EQ(again.readString("qpx", "dgfilename", ""), "  spaced \"quoted\" <tag> & \xC3\xBC\nsecond line\t");
    SettingValue empty;
    ASSERT_TRUE(again.readValue("", "empty", empty));
    EXPECT_EQ(empty, SettingValue::ofString(""));
    SettingValue raw;
    ASSERT_TRUE(again.readValue("", "raw", raw));
    EXPECT_EQ(raw, SettingValue::ofBytes({0, 0x7F, 0x80, 0xFF}));
    EXPECT_EQ(again.listValues("").size(), 4u);
}

// The file is replaced by renaming a new one over it, so an unchanged inode
// means it was not written.
TEST(FileSettingsStore, WritingTheStoredValueAgainLeavesTheFileAlone)
{
    TempFolder folder;
    std::string path = folder.path() + "/settings.xml";
    FileSettingsStore store(path);
    auto inode = [&path] {
        struct stat info {};
        EXPECT_EQ(stat(path.c_str(), &info), 0);
        return info.st_ino;
    };
    ASSERT_TRUE(store.writeString("qpx", "dgfilename", "a"));
    const ino_t first = inode();
    EXPECT_TRUE(store.writeString("QPX", "DGFileName", "a"));
    EXPECT_EQ(inode(), first);
    // The same text as a number is another value.
    EXPECT_TRUE(store.writeNumber("qpx", "dgfilename", 0));
    EXPECT_NE(inode(), first);
    EXPECT_EQ(FileSettingsStore(path).readNumber("qpx", "dgfilename", 1), 0u);
}

TEST(FileSettingsStore, MissingFileGivesAnEmptyStore)
{
    TempFolder folder;
    FileSettingsStore store(folder.path() + "/none/settings.xml");
    EXPECT_TRUE(store.listValues("").empty());
    EXPECT_TRUE(folder.entries().empty()) << "reading creates nothing";
}

TEST(FileSettingsStore, DamagedFileIsSetAsideAndTheStoreStartsEmpty)
{
    TempFolder folder;
    std::string path = folder.path() + "/settings.xml";
    writeWhole(path, "<settings><value key=\"\" name=\"a\" type=\"number\" data=\"1\"");
    FileSettingsStore store(path);
    EXPECT_TRUE(store.listValues("").empty());
    std::vector<std::string> entries = folder.entries();
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].rfind("settings.xml.bak-", 0), 0u);
    EXPECT_TRUE(store.writeNumber("", "a", 2));
    EXPECT_EQ(folder.entries().size(), 2u);
}

TEST(FileSettingsStore, MalformedValuesAreSkippedAndTheRestKept)
{
    TempFolder folder;
    std::string path = folder.path() + "/settings.xml";
    writeWhole(path,
               "<?xml version=\"1.0\"?>\n<settings>\n"
               "<value key=\"\" name=\"good\" type=\"number\" data=\"42\"/>\n"
               "<value key=\"\" name=\"negative\" type=\"number\" data=\"-1\"/>\n"
               "<value key=\"\" name=\"huge\" type=\"number\" data=\"4294967296\"/>\n"
               "<value key=\"\" name=\"oddhex\" type=\"other\" data=\"abc\"/>\n"
               "<value key=\"\" name=\"strange\" type=\"float\" data=\"1.5\"/>\n"
               "<value key=\"\" type=\"number\" data=\"1\"/>\n"
               "<value key=\"\" name=\"GOOD\" type=\"number\" data=\"7\"/>\n"
               "</settings>\n");
    FileSettingsStore store(path);
    std::vector<SettingsStore::NamedValue> values = store.listValues("");
    ASSERT_EQ(values.size(), 1u);
    EXPECT_EQ(values[0].first, "good");
    EXPECT_EQ(values[0].second, SettingValue::ofNumber(42));
}

// A megabyte of hostile settings must not hang the start: 18,000 names are
// read in one pass (the first of a name in any case counts), and what would
// overflow the parser's stack or take its attribute search minutes is set
// aside like any damaged file.
TEST(FileSettingsStore, HostileFilesAreReadInOnePassOrSetAside)
{
    TempFolder folder;
    std::string path = folder.path() + "/settings.xml";
    std::string many = "<settings>";
    for (int i = 0; i < 18000; ++i)
        many += "<value key=\"\" name=\"v" + std::to_string(i) + "\" type=\"number\" data=\"" +
                std::to_string(i) + "\"/>";
    writeWhole(path, many + "<value key=\"\" name=\"V7\" type=\"number\" data=\"1\"/></settings>");
    FileSettingsStore store(path);
    std::vector<SettingsStore::NamedValue> values = store.listValues("");
    ASSERT_EQ(values.size(), 18000u);
    EXPECT_EQ(values[7].second, SettingValue::ofNumber(7));

    std::string attributes = "<settings><value key=\"\" name=\"a\" type=\"number\" data=\"1\"";
    for (int i = 0; i < 40000; ++i)
        attributes += " x" + std::to_string(i) + "=\"\"";
    std::string deep = "<settings>";
    for (int i = 0; i < 100000; ++i)
        deep += "<a>";
    for (const std::string& hostile : {attributes + "/></settings>", deep}) {
        TempFolder other;
        std::string file = other.path() + "/settings.xml";
        writeWhole(file, hostile);
        FileSettingsStore damaged(file);
        EXPECT_TRUE(damaged.listValues("").empty());
        EXPECT_EQ(other.entries().size(), 1u);
    }
}

TEST(FileSettingsStore, FailedWriteKeepsTheOldFileAndTheOldValue)
{
    TempFolder folder;
    std::string path = folder.path() + "/settings.xml";
    FileSettingsStore store(path);
    ASSERT_TRUE(store.writeNumber("", "musicvolume", 50));
    std::string before = readWhole(path);

    {
        FileSizeLimit limit(16);
        EXPECT_FALSE(store.writeNumber("", "musicvolume", 10));
    }
    EXPECT_EQ(store.readNumber("", "musicvolume", 99), 50u) << "the failed change is undone";

    EXPECT_EQ(readWhole(path), before);
    EXPECT_EQ(FileSettingsStore(path).readNumber("", "musicvolume", 0), 50u);
}

TEST(FileSettingsStore, FolderInPlaceOfTheFileIsLeftAloneAndSavingFails)
{
    TempFolder folder;
    std::string path = folder.path() + "/settings.xml";
    ASSERT_EQ(mkdir(path.c_str(), 0755), 0);
    writeWhole(path + "/inside", "x");
    FileSettingsStore store(path);
    EXPECT_TRUE(store.listValues("").empty());
    EXPECT_FALSE(store.writeNumber("", "fullscreen", 1));
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"settings.xml"});
    EXPECT_EQ(readWhole(path + "/inside"), "x");
}

TEST(FileSettingsStore, SettingsFileLivesUnderTheConfigHome)
{
    std::string config = std::getenv("XDG_CONFIG_HOME") ? std::getenv("XDG_CONFIG_HOME") : "";
    ASSERT_FALSE(config.empty());
    EXPECT_EQ(FileSettingsStore::settingsFileFor("tortelune"), config + "/Quillmark/Games/tortelune/settings.xml");
    // An id cannot leave its folder.
    EXPECT_EQ(FileSettingsStore::settingsFileFor("../x/y"), config + "/Quillmark/Games/_.._x_y/settings.xml");
}

TEST(FileSettingsStore, RealPlatformHandsOutOneStorePerGame)
{
    std::shared_ptr<SettingsStore> first = HostPlatform::current().openSettingsStore("store-test");
    std::shared_ptr<SettingsStore> second = HostPlatform::current().openSettingsStore("store-test");
    EXPECT_EQ(first.get(), second.get());
    EXPECT_TRUE(first->writeNumber("", "usehints", 1));
    EXPECT_EQ(second->readNumber("", "usehints", 0), 1u);
}

} // namespace
