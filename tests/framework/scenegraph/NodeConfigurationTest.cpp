#include <gtest/gtest.h>

#include <string>

#include "support/LogCapture.h"
#include "TestModifiers.h"
#include "framework/core/ObjectFactoryContainer.h"
#include "framework/core/PropertyStore.h"
#include "framework/core/RefPointer.h"

namespace {

// A modifier class that layouts can name, for the "modifiers" key.
class ConfiguredModifier : public RecordingModifier {
    TT_CLASS_RECORD(ConfiguredModifier)
public:
    explicit ConfiguredModifier(AbstractProperty* configuration)
        : RecordingModifier(configuration->asNode()->getInt("duration", 10))
    {
    }
};
TT_DEFINE_RECORD(ConfiguredModifier, &Modifier::classRecord);
TT_REGISTER_CLASS(ConfiguredModifier);

RefPointer<PropertyStore> parse(const std::string& xml)
{
    RefPointer<PropertyStore> store(new PropertyStore());
    EXPECT_TRUE(store->loadFromBuffer(xml.data(), xml.size()));
    return store;
}

} // namespace

TEST(NodeConfiguration, ReadsEveryKey)
{
    RefPointer<PropertyStore> store = parse(R"(<root>
        <GameNode id="panel" name="PANEL" tag="7" x="-4" y="12" suspended="true" visible="false"/>
    </root>)");
    RefPointer<GameNode> node(new GameNode(store->getChild("panel")));
    EXPECT_EQ(node->getName(), "PANEL");
    EXPECT_EQ(node->getTag(), 7);
    EXPECT_EQ(node->getX(), -4);
    EXPECT_EQ(node->getY(), 12);
    EXPECT_TRUE(node->isSuspended());
    EXPECT_FALSE(node->isVisible());
}

TEST(NodeConfiguration, AValueInsteadOfANodeGivesTheDefaults)
{
    RefPointer<PropertyStore> store = parse(R"(<root><Integer id="n" value="5"/></root>)");
    RefPointer<GameNode> node(new GameNode(store->getChild("n")));
    EXPECT_EQ(node->getX(), 0);
    EXPECT_TRUE(node->isVisible());
    EXPECT_EQ(node->getName(), "");
}

TEST(NodeConfiguration, ChildrenAreCreatedByClassNameInOrder)
{
    RefPointer<PropertyStore> store = parse(R"(<root>
        <GameNode id="n">
          <Vector id="children">
            <GameNode name="first" x="1"/>
            <GameTree name="second">
              <Vector id="children"><GameNode name="inner"/></Vector>
            </GameTree>
            <NoSuchClass name="ignored"/>
            <Integer value="3"/>
            <GameNode name="third"/>
          </Vector>
        </GameNode>
    </root>)");
    LogCapture log;
    RefPointer<GameNode> node(new GameNode(store->getChild("n")));
    std::string names;
    for (GameNode* child = node->getFirstChild(); child; child = child->getNextSibling())
        names += child->getName() + ",";
    EXPECT_EQ(names, "first,second,third,");
    EXPECT_NE(node->findNode("inner"), nullptr);
    EXPECT_TRUE(node->getFirstChild()->getNextSibling()->isKindOf<GameTree>());
    EXPECT_EQ(node->getFirstChild()->getReferenceCount(), 1);
    EXPECT_TRUE(log.contains("NoSuchClass"));
}

TEST(NodeConfiguration, ChildrenThatAreNotAVectorAreIgnored)
{
    RefPointer<PropertyStore> store = parse(R"(<root>
        <GameNode id="n"><GameNode id="children" name="x"/></GameNode>
    </root>)");
    RefPointer<GameNode> node(new GameNode(store->getChild("n")));
    EXPECT_EQ(node->getFirstChild(), nullptr);
}

TEST(NodeConfiguration, ModifiersBecomeOwnModifiersTargetingTheNode)
{
    RefPointer<PropertyStore> store = parse(R"(<root>
        <GameNode id="n">
          <Vector id="modifiers">
            <ConfiguredModifier duration="20"/>
            <GameNode name="not a modifier"/>
          </Vector>
        </GameNode>
    </root>)");
    RefPointer<GameNode> node(new GameNode(store->getChild("n")));
    ASSERT_EQ(node->getOwnModifiers().size(), 1u);
    Modifier* modifier = node->getOwnModifiers()[0].get();
    EXPECT_EQ(modifier->getTarget(), node.get());
    EXPECT_FALSE(modifier->isInTree());
    GameNode::updateModifiers(node.get(), 20);
    EXPECT_TRUE(node->getOwnModifiers().empty());
}
