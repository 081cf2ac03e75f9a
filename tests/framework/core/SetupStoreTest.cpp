#include <gtest/gtest.h>

#include "framework/core/BasicProperties.h"
#include "framework/core/PropertyStore.h"
#include "framework/core/PropertyValue.h"
#include "framework/core/SetupStore.h"
#include "support/LogCapture.h"
#include "support/TestFolders.h"

namespace {

class CountingListener : public SetupLoadListener {
public:
    explicit CountingListener(int* calls) : calls(calls) {}
    void load() override { ++*calls; }

private:
    int* calls;
};

class SetupStoreTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        BasicProperties::createInstance();
        SetupStore::createInstance();
    }
    void TearDown() override
    {
        SetupStore::destroyInstance();
        BasicProperties::destroyInstance();
    }
    BasicProperties& properties() { return *BasicProperties::instance; }
    SetupStore& store() { return *SetupStore::instance; }
};

TEST_F(SetupStoreTest, LaterFilesWinAndPropertiesOverrideTopLevel)
{
    const std::string first = "<root><Integer id=\"A\" value=\"1\"/><Integer id=\"B\" value=\"1\"/>"
                              "<Node id=\"properties\"><Integer id=\"C\" value=\"7\"/></Node></root>";
    const std::string second = "<root><Integer id=\"A\" value=\"2\"/><Integer id=\"C\" value=\"2\"/>"
                               "<Text id=\"T\">kept  blanks</Text></root>";
    ASSERT_TRUE(store().loadFromTexts({first, second}));
    EXPECT_FALSE(store().loadFromTexts({first, "<root><Integer id=\"A\""}));
    ASSERT_TRUE(store().loadFromTexts({first, second}));
    EXPECT_EQ(2, properties().getInt("A"));
    EXPECT_EQ(1, properties().getInt("B"));
    EXPECT_EQ(7, properties().getInt("C"));
    // The setup files keep white space inside texts.
    EXPECT_EQ(u"kept  blanks", properties().getText("T"));
}

TEST_F(SetupStoreTest, TemplatesAreInheritedAndOwnKeysWin)
{
    const std::string xml = "<root>"
                            "<Node id=\"setups\"><Node id=\"BASE\" a=\"1\" b=\"1\"><Integer id=\"deep\" value=\"5\"/>"
                            "<Node id=\"frame\" w=\"3\"/></Node></Node>"
                            "<Node id=\"dialogs\"><Dialog id=\"DIALOG_MENU\" setup=\"BASE\" b=\"2\"/>"
                            "<Dialog id=\"DIALOG_LOST\" setup=\"NOWHERE\" b=\"3\"/></Node>"
                            "</root>";
    LogCapture log;
    store().loadFromTexts({xml});
    PropertyNode* menu = store().findDialog("DIALOG_MENU");
    EXPECT_EQ(1, menu->getInt("a"));
    EXPECT_EQ(2, menu->getInt("b"));
    EXPECT_EQ(5, menu->getInt("deep"));
    EXPECT_EQ(3, menu->getNode("frame")->getInt("w"));
    EXPECT_EQ(nullptr, menu->getChild("setup"));
    // Inherited children are shared with the template, not copied.
    EXPECT_EQ(properties().getNode("BASE")->getChild("deep"), menu->getChild("deep"));

    PropertyNode* lost = store().findDialog("DIALOG_LOST");
    EXPECT_EQ(nullptr, lost->getChild("a"));
    EXPECT_EQ(3, lost->getInt("b"));
    EXPECT_TRUE(log.contains("NOWHERE"));

    EXPECT_EQ(DUMMY_NODE, store().findDialog("DIALOG_NONE"));
    EXPECT_TRUE(log.contains("DIALOG_NONE"));
}

TEST_F(SetupStoreTest, TemplateChainsResolveInAnyOrder)
{
    // MIDDLE inherits from TOP but is used before the walk reaches it.
    const std::string xml = "<root><Node id=\"scenes\"><Scene id=\"S\" setup=\"MIDDLE\"/></Node>"
                            "<Node id=\"setups\"><Node id=\"MIDDLE\" setup=\"TOP\" m=\"1\"/>"
                            "<Node id=\"TOP\" t=\"1\"/></Node></root>";
    store().loadFromTexts({xml});
    PropertyNode* scene = store().findScene("S");
    EXPECT_EQ(1, scene->getInt("m"));
    EXPECT_EQ(1, scene->getInt("t"));
}

TEST_F(SetupStoreTest, SelfReferringTemplatesDoNotLoop)
{
    LogCapture log;
    const std::string xml = "<root><Node id=\"setups\">"
                            "<Node id=\"SELF\" setup=\"SELF\" s=\"1\"/>"
                            "<Node id=\"PING\" setup=\"PONG\" p=\"1\"/>"
                            "<Node id=\"PONG\" setup=\"PING\" q=\"1\"/>"
                            "<Node id=\"OUTER\" o=\"1\"><Node id=\"INNER\" setup=\"OUTER\"/></Node>"
                            "<Node id=\"FAR\" f=\"1\"><Node id=\"MID\"><Node id=\"DEEP\" setup=\"FAR\"/></Node></Node>"
                            "</Node><Node id=\"templates\"><Node id=\"USE\" setup=\"PING\"/></Node></root>";
    store().loadFromTexts({xml});
    EXPECT_EQ(1, properties().getNode("SELF")->getInt("s"));
    PropertyNode* ping = properties().getNode("PING");
    PropertyNode* pong = properties().getNode("PONG");
    EXPECT_EQ(1, ping->getInt("q"));
    EXPECT_EQ(1, pong->getInt("p"));
    PropertyNode* use = store().findTemplate("USE");
    EXPECT_EQ(1, use->getInt("p"));
    EXPECT_EQ(1, use->getInt("q"));
    // A template that contains its own user: the user gains the plain keys,
    // never the subtree holding itself.
    PropertyNode* inner = properties().getNode("OUTER")->getNode("INNER");
    EXPECT_EQ(1, inner->getInt("o"));
    EXPECT_EQ(nullptr, inner->getChild("INNER"));
    PropertyNode* deep = properties().getNode("FAR")->getNode("MID")->getNode("DEEP");
    EXPECT_EQ(1, deep->getInt("f"));
    EXPECT_EQ(nullptr, deep->getChild("MID"));
}

TEST_F(SetupStoreTest, LaterSectionDefinitionsReplaceEarlierOnes)
{
    const std::string first = "<root><Node id=\"dialogs\"><Dialog id=\"DIALOG_MENU\" v=\"1\"/>"
                              "<Dialog id=\"DIALOG_ONLY_FIRST\"/></Node><Node id=\"setups\"/>"
                              "<Node id=\"templates\"/><Node id=\"scenes\"/></root>";
    const std::string second = "<root><Node id=\"dialogs\"><Dialog id=\"DIALOG_MENU\" v=\"2\"/></Node></root>";
    store().loadFromTexts({first, second});
    EXPECT_EQ(2, store().findDialog("DIALOG_MENU")->getInt("v"));
    EXPECT_NE(DUMMY_NODE, store().findDialog("DIALOG_ONLY_FIRST"));
    // Sections are not merged into the properties themselves.
    for (const char* section : {"setups", "templates", "dialogs", "scenes"})
        EXPECT_EQ(nullptr, properties().findNode(section)) << section;

    // A second load starts from empty sections.
    store().loadFromTexts({second});
    EXPECT_EQ(nullptr, store().getDialogs()->getChild("DIALOG_ONLY_FIRST"));
}

TEST_F(SetupStoreTest, ListenerRunsAfterEveryLoadAndBrokenFilesDoNotStopTheOthers)
{
    LogCapture log;
    int calls = 0;
    store().setLoadListener(new CountingListener(&calls));
    const std::string folder = makeTestFolder("SetupStoreFiles");
    writeTestFile(folder + "/default.xml", "<root><Integer id=\"X\" value=\"1\"/></root>");
    writeTestFile(folder + "/broken.xml", "<root><Integer id=\"Y\" value=\"1\"/>");
    writeTestFile(folder + "/text.xml", "<root><Integer id=\"X\" value=\"3\"/></root>");
    store().addFileName(folder + "/default.xml");
    store().addFileName(folder + "/broken.xml");
    store().addFileName(folder + "/missing.xml");
    store().addFileName(folder + "/text.xml");
    store().setFileMode(1);
    EXPECT_FALSE(store().load());
    EXPECT_EQ(1, calls);
    EXPECT_EQ(3, properties().getInt("X"));
    EXPECT_FALSE(properties().hasInt("Y"));
    EXPECT_TRUE(log.contains("broken.xml"));
    EXPECT_TRUE(log.contains("missing.xml"));
    store().setLoadListener(nullptr);
    store().load();
    EXPECT_EQ(1, calls);
    // Once every file reads, the load reports success.
    store().getFileNames() = {folder + "/default.xml", folder + "/text.xml"};
    EXPECT_TRUE(store().load());
}

} // namespace
