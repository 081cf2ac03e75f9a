#include <gtest/gtest.h>

#include "framework/core/BasicProperties.h"
#include "framework/core/PropertyStore.h"
#include "framework/core/PropertyValue.h"

namespace {

class BasicPropertiesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        BasicProperties::createInstance();
        resetGameIdentityCache();
    }
    void TearDown() override
    {
        BasicProperties::destroyInstance();
        resetGameIdentityCache();
    }
};

TEST_F(BasicPropertiesTest, MergeFillsOneMapPerType)
{
    const std::string xml = "<root><Integer id=\"I\" value=\"#10\"/><Double id=\"D\" value=\"1.25\"/>"
                            "<Float id=\"F\" value=\"0.5\"/><Boolean id=\"B\" value=\"0\"/>"
                            "<String id=\"S\" value=\"abc\"/><Text id=\"T\">caf\xC3\xA9</Text>"
                            "<Node id=\"N\" a=\"1\"/><Vector id=\"V\"><Integer value=\"2\"/></Vector>"
                            "<Sprite id=\"ignored\"/></root>";
    RefPointer<PropertyStore> store(new PropertyStore());
    ASSERT_TRUE(store->loadFromBuffer(xml.data(), xml.size()));
    BasicProperties& properties = *BasicProperties::instance;
    properties.mergeChildren(store.get());
    EXPECT_EQ(16, properties.getInt("I"));
    EXPECT_DOUBLE_EQ(1.25, properties.getDouble("D"));
    EXPECT_FLOAT_EQ(0.5f, properties.getFloat("F"));
    EXPECT_TRUE(properties.getBool("B"));
    EXPECT_EQ("abc", properties.getString("S"));
    EXPECT_EQ(u"caf\u00e9", properties.getText("T"));
    // Nodes and vectors are shared with the tree, not copied.
    EXPECT_EQ(store->getNode("N"), properties.getNode("N"));
    EXPECT_EQ(1, properties.getNode("N")->getInt("a"));
    EXPECT_EQ(2, properties.getVector("V")->getAt(0)->getInt());
    EXPECT_EQ(nullptr, properties.findNode("ignored"));
}

TEST_F(BasicPropertiesTest, MissingKeysReadAsDefaultsAndAreAdded)
{
    BasicProperties& properties = *BasicProperties::instance;
    EXPECT_FALSE(properties.hasText("TEXT_NOWHERE"));
    EXPECT_EQ(WString(), properties.getText("TEXT_NOWHERE"));
    EXPECT_TRUE(properties.hasText("TEXT_NOWHERE"));
    EXPECT_EQ(0, properties.getInt("NOPE"));
    EXPECT_TRUE(properties.hasInt("NOPE"));
    EXPECT_EQ(DUMMY_NODE, properties.getNode("NO_NODE"));
    EXPECT_EQ(nullptr, properties.findNode("NO_NODE"));
    EXPECT_EQ(DUMMY_VECTOR, properties.getVector("NO_VECTOR"));
}

TEST_F(BasicPropertiesTest, LaterMergesWin)
{
    BasicProperties& properties = *BasicProperties::instance;
    RefPointer<PropertyValue> first(new PropertyValue("K", 1));
    RefPointer<PropertyValue> second(new PropertyValue("K", 2));
    properties.merge(first.get());
    properties.merge(second.get());
    EXPECT_EQ(2, properties.getInt("K"));
}

TEST_F(BasicPropertiesTest, GameNameIsCachedOnceFound)
{
    BasicProperties::destroyInstance();
    EXPECT_EQ("", getGameName());
    BasicProperties::createInstance();
    EXPECT_EQ("", getGameName());
    EXPECT_FALSE(BasicProperties::instance->hasString("GAME_NAME"));
    BasicProperties::instance->setString("GAME_NAME", "Tortelune");
    BasicProperties::instance->setString("GAME_ID", "tortelune");
    EXPECT_EQ("Tortelune", getGameName());
    EXPECT_EQ("tortelune", getGameId());
    BasicProperties::instance->setString("GAME_NAME", "Other");
    EXPECT_EQ("Tortelune", getGameName());
}

} // namespace
