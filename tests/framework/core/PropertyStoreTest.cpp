#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <vector>
#include <string>
#include <thread>

#include "support/FileSizeLimit.h"
#include "support/LogCapture.h"
#include "support/TestFolders.h"
#include "framework/core/PropertyStore.h"
#include "framework/core/PropertyValue.h"
#include "framework/resources/FileCipher.h"
#include "framework/resources/FileModes.h"

namespace {

RefPointer<PropertyStore> parse(const std::string& xml, bool* ok = nullptr)
{
    RefPointer<PropertyStore> store(new PropertyStore());
    const bool loaded = store->loadFromBuffer(xml.data(), xml.size());
    if (ok)
        *ok = loaded;
    return store;
}

TEST(PropertyStoreTest, ValuesTakeTextContentOverTheValueAttribute)
{
    bool ok = false;
    auto store = parse("<root><Integer id=\"a\" value=\"1\">5</Integer>"
                       "<Float id=\"f\" value=\"2.5\"/><Text id=\"t\">Hello &amp; caf\xC3\xA9</Text>"
                       "<Double id=\"d\" value=\"0.25\"/><Boolean id=\"b\" value=\"false\"/></root>",
                       &ok);
    ASSERT_TRUE(ok);
    EXPECT_EQ(5, store->getInt("a"));
    EXPECT_EQ("Integer", store->getChild("a")->getTypeName());
    EXPECT_FLOAT_EQ(2.5f, store->getFloat("f"));
    EXPECT_EQ(u"Hello & caf\u00e9", store->getWString("t"));
    EXPECT_DOUBLE_EQ(0.25, store->getDouble("d"));
    EXPECT_FALSE(store->getBool("b", true));
}

TEST(PropertyStoreTest, NodeAttributesAndTextBecomeUntypedChildren)
{
    auto store = parse("<root><Sprite id=\"s\" x=\"10\" y=\"-4\">label<Integer id=\"z\" value=\"3\"/></Sprite></root>");
    PropertyNode* sprite = store->getNode("s");
    ASSERT_NE(DUMMY_NODE, sprite);
    EXPECT_EQ("Sprite", sprite->getTypeName());
    EXPECT_EQ(10, sprite->getInt("x"));
    EXPECT_EQ(-4, sprite->getInt("y"));
    EXPECT_EQ(u"label", sprite->getWString("value"));
    EXPECT_TRUE(sprite->getChild("value")->isUntypedValue());
    EXPECT_EQ(1, sprite->getCount());
    EXPECT_EQ(4, sprite->getNamedCount());

    // Written back, the text becomes a "value" attribute beside the others.
    const std::string text = store->toXmlText();
    EXPECT_NE(std::string::npos, text.find("<Sprite id=\"s\" x=\"10\" y=\"-4\" value=\"label\">")) << text;
}

TEST(PropertyStoreTest, UnnamedSiblingsInNodesAndVectors)
{
    auto store = parse("<root><Node id=\"n\"><Integer value=\"1\"/><Integer value=\"2\"/></Node>"
                       "<Vector id=\"v\"><Integer value=\"1\"/><Integer value=\"2\"/><Node/></Vector></root>");
    EXPECT_EQ(1, store->getNode("n")->getCount());
    EXPECT_EQ(2, store->getNode("n")->getAt(0)->getInt());
    PropertyVector* vector = store->getVector("v");
    ASSERT_EQ(3, vector->getCount());
    EXPECT_EQ(1, vector->getAt(0)->getInt());
    EXPECT_EQ(2, vector->getAt(1)->getInt());
    EXPECT_TRUE(vector->getAt(2)->isNode());
}

TEST(PropertyStoreTest, EveryTopLevelElementIsRead)
{
    auto store = parse("<?xml version=\"1.0\"?><!-- c --><a ignored=\"1\"><Integer id=\"x\" value=\"1\"/>"
                       "<Integer id=\"y\" value=\"2\"/></a><b><Integer id=\"z\" value=\"3\"/></b>");
    EXPECT_EQ(1, store->getInt("x"));
    EXPECT_EQ(2, store->getInt("y"));
    EXPECT_EQ(3, store->getInt("z"));
    EXPECT_EQ(nullptr, store->getChild("ignored"));
}

TEST(PropertyStoreTest, SyntaxErrorsLeaveTheTreeUnchanged)
{
    LogCapture log;
    RefPointer<PropertyStore> store(new PropertyStore());
    const std::string good = "<root><Integer id=\"a\" value=\"1\"/></root>";
    ASSERT_TRUE(store->loadFromBuffer(good.data(), good.size()));
    const std::string bad = "<root><Integer id=\"b\" value=\"2\"/><Node></root>";
    EXPECT_FALSE(store->loadFromBuffer(bad.data(), bad.size(), "bad.xml"));
    EXPECT_EQ(nullptr, store->getChild("b"));
    EXPECT_EQ(1, store->getNamedCount());
    EXPECT_NE(std::string::npos, store->getLastError().find("bad.xml"));
    EXPECT_TRUE(log.contains("bad.xml"));
    EXPECT_FALSE(store->loadFromBuffer("", 0));
    EXPECT_FALSE(store->loadFromBuffer(nullptr, 0));
}

TEST(PropertyStoreTest, MalformedUtf8IsReplacedBeforeParsing)
{
    // A lead byte right before the closing quote must not swallow the quote.
    auto store = parse("<root><Text id=\"t\" value=\"a\xE0\"/><Integer id=\"n\" value=\"2\"/></root>");
    EXPECT_EQ(u"a\uFFFD", store->getWString("t"));
    EXPECT_EQ(2, store->getInt("n"));
    bool ok = true;
    parse(std::string("<root><Node id=\"x\xF0"), &ok);
    EXPECT_FALSE(ok);
}

TEST(PropertyStoreTest, DeepNestingIsRefusedNotOverflowed)
{
    LogCapture log;
    std::string xml;
    for (int i = 0; i < 5000; ++i)
        xml += "<a>";
    RefPointer<PropertyStore> store(new PropertyStore());
    EXPECT_FALSE(store->loadFromBuffer(xml.data(), xml.size()));

    std::string fine = "<root>";
    for (int i = 0; i < 50; ++i)
        fine += "<n id=\"x\">";
    for (int i = 0; i < 50; ++i)
        fine += "</n>";
    fine += "</root>";
    EXPECT_TRUE(store->loadFromBuffer(fine.data(), fine.size()));
}

// A damaged or hostile saved game must not hang the start: reading is linear
// in the number of entries under one node, whether their names are new or
// repeat (a repeated name replaces the earlier entry and moves to the end).
// Read in quadratic time, these sizes take minutes and run into the timeout.
TEST(PropertyStoreTest, ManyEntriesUnderOneNodeAreReadInOnePass)
{
    constexpr int kCount = 100000;
    std::string xml = "<root><Node id=\"big\">";
    xml.reserve(kCount * 80);
    for (int i = 0; i < kCount; ++i)
        xml += "<Integer id=\"k" + std::to_string(i) + "\" value=\"" + std::to_string(i) + "\"/>";
    // The first half again, in the same order: each one replaces its twin.
    for (int i = 0; i < kCount / 2; ++i)
        xml += "<Integer id=\"k" + std::to_string(i) + "\" value=\"" + std::to_string(-i) + "\"/>";
    xml += "<Integer id=\"k0\" value=\"7\" /></Node></root>";
    bool ok = false;
    auto store = parse(xml, &ok);
    ASSERT_TRUE(ok);
    PropertyNode* big = store->getNode("big");
    ASSERT_EQ(kCount, big->getCount());
    ASSERT_EQ(kCount, big->getNamedCount());
    // Untouched second half first, then the replaced first half, k0 last.
    EXPECT_EQ("k50000", big->getAt(0)->getName());
    EXPECT_EQ("k1", big->getAt(kCount / 2)->getName());
    EXPECT_EQ(-1, big->getInt("k1"));
    EXPECT_EQ("k0", big->getAt(kCount - 1)->getName());
    EXPECT_EQ(7, big->getInt("k0"));
    EXPECT_EQ(99999, big->getInt("k99999"));
    EXPECT_EQ("k0", big->getNamedChildren().back()->getName());
}

TEST(PropertyStoreTest, AnElementWithAbsurdlyManyAttributesIsRefusedClearly)
{
    LogCapture log;
    auto element = [](int attributes) {
        std::string xml = "<root><Node id=\"n\"";
        for (int i = 0; i < attributes; ++i)
            xml += " a" + std::to_string(i) + "=\"" + std::to_string(i) + "\"";
        return xml + "/></root>";
    };
    // The most our files may hold, "id" included, still reads.
    const int most = PropertyStore::kMaxAttributes - 1;
    bool ok = false;
    auto store = parse(element(most), &ok);
    ASSERT_TRUE(ok);
    EXPECT_EQ(most - 1, store->getNode("n")->getInt("a" + std::to_string(most - 1)));

    RefPointer<PropertyStore> refused(new PropertyStore());
    const std::string hostile = element(40000);
    EXPECT_FALSE(refused->loadFromBuffer(hostile.data(), hostile.size(), "players.xml"));
    EXPECT_NE(std::string::npos, refused->getLastError().find("more than 1024 attributes"));
    EXPECT_TRUE(log.contains("players.xml"));
    // Equals signs inside values, text and comments are not attributes.
    std::string quoted = "<root><!-- " + std::string(5000, '=') + " --><Node id=\"q\" v=\"" +
                         std::string(5000, '=') + "\">" + std::string(5000, '=') + "</Node></root>";
    EXPECT_TRUE(parse(quoted, &ok)->hasChild("q"));
    EXPECT_TRUE(ok);
}

TEST(PropertyStoreTest, WhiteSpaceIsKeptWhenCondensingIsOff)
{
    const std::string xml = "<root><Text id=\"t\">two  blanks\n line</Text></root>";
    RefPointer<PropertyStore> condensed(new PropertyStore());
    condensed->loadFromBuffer(xml.data(), xml.size());
    EXPECT_EQ(u"two blanks line", condensed->getWString("t"));
    RefPointer<PropertyStore> kept(new PropertyStore());
    kept->setCondenseWhiteSpace(false);
    kept->loadFromBuffer(xml.data(), xml.size());
    EXPECT_EQ(u"two  blanks\n line", kept->getWString("t"));
}

TEST(PropertyStoreTest, ParsesOnTwoThreadsKeepTheirOwnWhiteSpaceSetting)
{
    const std::string xml = "<root><Text id=\"t\">a  b</Text></root>";
    std::atomic<int> wrong {0};
    auto parseMany = [&](bool condense) {
        for (int i = 0; i < 300; ++i) {
            RefPointer<PropertyStore> store(new PropertyStore());
            store->setCondenseWhiteSpace(condense);
            store->loadFromBuffer(xml.data(), xml.size());
            if (store->getWString("t") != (condense ? u"a b" : u"a  b"))
                ++wrong;
        }
    };
    std::thread loader(parseMany, false);
    parseMany(true);
    loader.join();
    EXPECT_EQ(0, wrong.load());
}

TEST(PropertyStoreTest, WritingKeepsInsertionOrderAndForm)
{
    RefPointer<PropertyStore> store(new PropertyStore());
    PropertyNode* player = store->addNode("p1", "Player");
    player->setString("name", "Ann", true);
    player->setInt("score", 12);
    player->setBoolean("seen", true, true);
    PropertyVector* list = player->addVector("slots");
    list->add(new PropertyValue("", -1));
    list->add(new PropertyValue("", 3));
    store->setFloat("speed", 0.5f);

    const std::string expected = "<root>\n"
                                 "    <Player id=\"p1\" name=\"Ann\" seen=\"true\">\n"
                                 "        <Integer id=\"score\" value=\"12\" />\n"
                                 "        <Vector id=\"slots\">\n"
                                 "            <Integer value=\"-1\" />\n"
                                 "            <Integer value=\"3\" />\n"
                                 "        </Vector>\n"
                                 "    </Player>\n"
                                 "    <Float id=\"speed\" value=\"0.5\" />\n"
                                 "</root>\n";
    EXPECT_EQ(expected, store->toXmlText());
}

TEST(PropertyStoreTest, ElementFormWithoutAttributeValues)
{
    RefPointer<PropertyStore> store(new PropertyStore());
    store->setValuesAsAttributes(false);
    const std::string xml = "<root><name>Ann</name><empty/><Player id=\"p\" x=\"1\"><score>12</score></Player></root>";
    ASSERT_TRUE(store->loadFromBuffer(xml.data(), xml.size()));
    EXPECT_EQ("Ann", store->getString("name"));
    EXPECT_TRUE(store->getChild("name")->isUntypedValue());
    EXPECT_TRUE(store->getChild("empty")->isUntypedValue());
    PropertyNode* player = store->getNode("p");
    EXPECT_EQ(12, player->getInt("score"));
    // Attributes are not values in this form.
    EXPECT_EQ(nullptr, player->getChild("x"));

    // Written back, untyped values become elements with text again.
    const std::string text = store->toXmlText();
    EXPECT_NE(std::string::npos, text.find("<name>Ann</name>")) << text;
    EXPECT_NE(std::string::npos, text.find("<score>12</score>")) << text;
    RefPointer<PropertyStore> again(new PropertyStore());
    again->setValuesAsAttributes(false);
    ASSERT_TRUE(again->loadFromBuffer(text.data(), text.size()));
    EXPECT_EQ(12, again->getNode("p")->getInt("score"));
}

TEST(PropertyStoreTest, NamesXmlCannotCarryAreKeptAsTextElements)
{
    RefPointer<PropertyStore> store(new PropertyStore());
    PropertyNode* node = store->addNode("n", "");
    node->setString("two words", "kept", true);
    node->setString("", "unnamed", true);
    // Colons and non-ASCII letters are fine in names: those stay attributes.
    node->setString("ns:key", "a", true);
    node->setString("_caf\xC3\xA9", "b", true);
    node->setString("9lives", "c", true);  // no name starts with a digit
    const std::string text = store->toXmlText();
    EXPECT_NE(std::string::npos, text.find(" ns:key=\"a\"")) << text;
    EXPECT_NE(std::string::npos, text.find(" _caf\xC3\xA9=\"b\"")) << text;
    auto back = parse(text);
    PropertyNode* read = back->getNode("n");
    EXPECT_EQ("Node", read->getTypeName());
    EXPECT_EQ("kept", read->getString("two words"));
    EXPECT_EQ("unnamed", read->getString(""));
    EXPECT_EQ("c", read->getString("9lives"));

    // Broken UTF-8 in a name would let the parser swallow the closing quote.
    RefPointer<PropertyStore> broken(new PropertyStore());
    broken->addNode("m\xFF\xE0", "Node\xE0")->setInt("a\xE0", 1, true);
    const std::string written = broken->toXmlText();
    RefPointer<PropertyStore> reread(new PropertyStore());
    EXPECT_TRUE(reread->loadFromBuffer(written.data(), written.size())) << written;
    EXPECT_EQ(1, reread->getNamedCount());
}

std::vector<std::string> entriesOf(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    return names;
}

class PropertyStoreFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        shutdownArchive();
        folder = makeTestFolder("files");
    }
    void TearDown() override { shutdownArchive(); }

    RefPointer<PropertyStore> sample()
    {
        RefPointer<PropertyStore> store(new PropertyStore());
        PropertyNode* node = store->addNode("profile", "TortelunePlayer");
        node->setWString("name", u"Zo\u00e9 <&> \"q\"", true);
        node->setInt("rank", 3);
        node->addVector("tools")->add(new PropertyValue("", 7));
        store->setWString("greeting", u"line\\nnext \u20ac");
        return store;
    }

    void expectSample(PropertyStore& store)
    {
        PropertyNode* node = store.getNode("profile");
        EXPECT_EQ(u"Zo\u00e9 <&> \"q\"", node->getWString("name"));
        EXPECT_EQ(3, node->getInt("rank"));
        EXPECT_EQ(7, node->getVector("tools")->getAt(0)->getInt());
        EXPECT_EQ(u"line\\nnext \u20ac", store.getWString("greeting"));
    }

    std::string folder;
};

TEST_F(PropertyStoreFileTest, RoundTripInPlainMode)
{
    auto store = sample();
    store->setSavePath(folder + "/plain.xml");
    store->setFileMode(FILE_MODE_FILE);
    ASSERT_TRUE(store->save()) << store->getLastError();
    EXPECT_EQ(store->toXmlText(), readTestFile(folder + "/plain.xml"));

    RefPointer<PropertyStore> back(new PropertyStore(folder + "/plain.xml"));
    back->setFileMode(FILE_MODE_FILE);
    ASSERT_TRUE(back->load());
    expectSample(*back);
    EXPECT_TRUE(back->isReadable(folder + "/plain.xml"));
}

TEST_F(PropertyStoreFileTest, RoundTripInEncipheredMode)
{
    auto store = sample();
    store->setSavePath(folder + "/players.plrs");
    store->setFileMode(FILE_MODE_ENCRYPT_FILE);
    ASSERT_TRUE(store->save());
    EXPECT_FALSE(testFileExists(folder + "/players.plrs"));
    std::string onDisk = readTestFile(folder + "/players.plrs.!");
    ASSERT_FALSE(onDisk.empty());
    EXPECT_NE(store->toXmlText(), onDisk);
    applyFileCipher(&onDisk[0], onDisk.size());
    EXPECT_EQ(store->toXmlText(), onDisk);

    RefPointer<PropertyStore> back(new PropertyStore(folder + "/players.plrs"));
    back->setFileMode(FILE_MODE_ENCRYPT_FILE);
    ASSERT_TRUE(back->load());
    expectSample(*back);
    EXPECT_TRUE(back->isReadable(folder + "/players.plrs"));

    // Read without deciphering, the same bytes are no XML.
    LogCapture log;
    RefPointer<PropertyStore> plain(new PropertyStore(folder + "/players.plrs.!"));
    plain->setFileMode(FILE_MODE_FILE);
    EXPECT_FALSE(plain->load());
    EXPECT_FALSE(plain->isReadable(folder + "/players.plrs.!"));
}

TEST_F(PropertyStoreFileTest, FailedSaveKeepsTheOldFile)
{
    LogCapture log;
    auto store = sample();
    store->setSavePath(folder + "/keep.xml");
    store->setFileMode(FILE_MODE_FILE);
    ASSERT_TRUE(store->save());
    const std::string before = readTestFile(folder + "/keep.xml");

    // A path whose folder does not exist cannot be written: reported, nothing made.
    RefPointer<PropertyStore> other(new PropertyStore());
    other->setSavePath(folder + "/missing/keep.xml");
    EXPECT_FALSE(other->save());
    EXPECT_FALSE(other->getLastError().empty());
    EXPECT_TRUE(log.contains("missing/keep.xml"));

    RefPointer<PropertyStore> noPath(new PropertyStore());
    EXPECT_FALSE(noPath->save());
    EXPECT_EQ(before, readTestFile(folder + "/keep.xml"));

    // A write that fails half-way (as on a full disk) leaves the old file whole.
    store->getNode("profile")->setWString("name", WString(5000, u'x'), true);
    {
        FileSizeLimit limit(64);
        EXPECT_FALSE(store->save());
    }
    EXPECT_EQ(before, readTestFile(folder + "/keep.xml"));
    EXPECT_EQ(std::vector<std::string> {"keep.xml"}, entriesOf(folder));
    EXPECT_TRUE(store->save());
    EXPECT_NE(before, readTestFile(folder + "/keep.xml"));
}

TEST_F(PropertyStoreFileTest, MissingAndEmptyFilesFailWithoutStoppingTheOthers)
{
    LogCapture log;
    writeTestFile(folder + "/a.xml", "<root><Integer id=\"a\" value=\"1\"/></root>");
    writeTestFile(folder + "/empty.xml", "");
    writeTestFile(folder + "/c.xml", "<root><Integer id=\"c\" value=\"3\"/></root>");
    RefPointer<PropertyStore> store(new PropertyStore(folder + "/a.xml"));
    store->addFileName(folder + "/nothere.xml");
    store->addFileName(folder + "/empty.xml");
    store->addFileName(folder + "/c.xml");
    EXPECT_FALSE(store->load());
    EXPECT_EQ(1, store->getInt("a"));
    EXPECT_EQ(3, store->getInt("c"));
    EXPECT_FALSE(store->isReadable(folder + "/nothere.xml"));
    EXPECT_FALSE(store->isReadable(folder + "/empty.xml"));
}

TEST_F(PropertyStoreFileTest, BackslashesInPathsAreFolderSeparators)
{
    writeTestFile(folder + "/slash.xml", "<root><Integer id=\"a\" value=\"4\"/></root>");
    std::string windowsStyle = folder + "\\slash.xml";
    RefPointer<PropertyStore> store(new PropertyStore(windowsStyle));
    ASSERT_TRUE(store->load());
    EXPECT_EQ(4, store->getInt("a"));
}

} // namespace
