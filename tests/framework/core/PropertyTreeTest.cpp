#include <gtest/gtest.h>

#include "framework/core/PropertyNode.h"
#include "framework/core/PropertyValue.h"
#include "framework/core/PropertyVector.h"

namespace {

int intOf(const char* text)
{
    return PropertyValue::parseInt(toWide(text));
}

TEST(PropertyValueTest, IntegerTextForms)
{
    EXPECT_EQ(255, intOf("#ff"));
    EXPECT_EQ(16, intOf("0x10"));
    EXPECT_EQ(31, intOf("0X1f"));
    EXPECT_EQ(0, intOf("0x"));
    EXPECT_EQ(12, intOf("  12abc"));
    EXPECT_EQ(-7, intOf("-7"));
    EXPECT_EQ(0, intOf("#"));
    EXPECT_EQ(0, intOf(""));
    EXPECT_EQ(-1, intOf("#FFFFFFFF"));
    EXPECT_EQ(0x7FFFFFFF, intOf("#7fffffff"));
    // Hexadecimal keeps the low 32 bits of what it reads, as "%x" does.
    EXPECT_EQ(-1, intOf("#FFFFFFFFFFFFFFFFFFFF"));
    EXPECT_EQ(0, intOf("abc"));
    EXPECT_EQ(0, intOf("x10"));
    EXPECT_EQ(42, intOf("+42"));
    EXPECT_EQ(10, intOf("010"));
    // Out of range decimals saturate instead of wrapping.
    EXPECT_EQ(2147483647, intOf("99999999999"));
    EXPECT_EQ(-2147483647 - 1, intOf("-99999999999"));
}

TEST(PropertyValueTest, FloatDoubleAndBooleanReads)
{
    EXPECT_FLOAT_EQ(1.5f, PropertyValue::parseFloat(toWide("1.5")));
    EXPECT_FLOAT_EQ(0.0f, PropertyValue::parseFloat(toWide("abc")));
    EXPECT_FLOAT_EQ(-2.0f, PropertyValue::parseFloat(toWide(" -2xyz")));
    EXPECT_FLOAT_EQ(0.0f, PropertyValue::parseFloat(WString()));
    EXPECT_DOUBLE_EQ(0.125, PropertyValue::parseDouble(toWide("0.125")));
    EXPECT_DOUBLE_EQ(0.0, PropertyValue::parseDouble(toWide("zz")));

    EXPECT_TRUE(PropertyValue::parseBool(toWide("False")));
    EXPECT_FALSE(PropertyValue::parseBool(WString()));
    EXPECT_TRUE(PropertyValue::parseBool(toWide("0")));
    EXPECT_TRUE(PropertyValue::parseBool(toWide("no")));
    EXPECT_FALSE(PropertyValue::parseBool(toWide("false")));
    EXPECT_TRUE(PropertyValue::parseBool(toWide("false ")));
}

TEST(PropertyValueTest, FloatTextDropsTrailingZeros)
{
    EXPECT_EQ("0.5", PropertyValue::formatFloat(0.5f));
    EXPECT_EQ("3", PropertyValue::formatFloat(3.0f));
    EXPECT_EQ("100", PropertyValue::formatFloat(100.0f));
    EXPECT_EQ("-0.25", PropertyValue::formatFloat(-0.25f));
    EXPECT_EQ("0", PropertyValue::formatFloat(0.0f));
}

TEST(PropertyValueTest, ConstructorsSetTypeNameAndText)
{
    RefPointer<PropertyValue> integer(new PropertyValue("a", 12));
    EXPECT_EQ("Integer", integer->getTypeName());
    EXPECT_EQ("12", integer->getString());
    RefPointer<PropertyValue> untyped(new PropertyValue("a", -3, true));
    EXPECT_TRUE(untyped->isUntypedValue());
    RefPointer<PropertyValue> custom(PropertyValue::makeTyped("a", "Double", 4));
    EXPECT_EQ("Double", custom->getTypeName());
    EXPECT_EQ("4", custom->getString());
    RefPointer<PropertyValue> literal(new PropertyValue("l", "plain"));
    EXPECT_EQ("String", literal->getTypeName());
    EXPECT_EQ("plain", literal->getString());
    RefPointer<PropertyValue> floating(new PropertyValue("f", 2.5f));
    EXPECT_EQ("Float", floating->getTypeName());
    EXPECT_EQ("2.5", floating->getString());
    RefPointer<PropertyValue> narrow(new PropertyValue("s", "caf\xC3\xA9"));
    EXPECT_EQ("String", narrow->getTypeName());
    EXPECT_EQ(u"caf\u00e9", narrow->getWString());
    RefPointer<PropertyValue> wide(new PropertyValue("t", WString(u"\u00e9t\u00e9")));
    EXPECT_EQ("Text", wide->getTypeName());
    EXPECT_EQ("\xC3\xA9t\xC3\xA9", wide->getString());
    RefPointer<PropertyValue> flag(PropertyValue::makeBoolean("b", false));
    EXPECT_EQ("Boolean", flag->getTypeName());
    EXPECT_EQ("false", flag->getString());
    EXPECT_FALSE(flag->getBool());
}

TEST(PropertyNodeTest, UnnamedAndDuplicateChildrenReplaceTheEarlierOne)
{
    RefPointer<PropertyNode> node(new PropertyNode("n", "Node"));
    node->addChild(new PropertyValue("keep", 1));
    node->addChild(new PropertyValue("", 2));
    node->addChild(new PropertyValue("", 3));
    ASSERT_EQ(2, node->getCount());
    EXPECT_EQ(3, node->getAt(1)->getInt());

    node->addChild(new PropertyValue("keep", 9));
    ASSERT_EQ(2, node->getCount());
    EXPECT_EQ("", node->getAt(0)->getName());
    EXPECT_EQ(9, node->getAt(1)->getInt());
    EXPECT_EQ(9, node->getInt("keep"));

    // Re-adding the very child that is already there keeps it alive.
    AbstractProperty* same = node->getChild("keep");
    node->addChild(same);
    EXPECT_EQ(9, node->getInt("keep"));
    EXPECT_EQ(2, node->getCount());

    // A named child also replaces an entry of that name put in by add().
    RefPointer<PropertyNode> listed(new PropertyNode("l", "Node"));
    listed->add(new PropertyValue("x", 1));
    listed->add(new PropertyValue("y", 2));
    listed->addChild(new PropertyValue("x", 3));
    ASSERT_EQ(2, listed->getCount());
    EXPECT_EQ("y", listed->getAt(0)->getName());
    EXPECT_EQ(3, listed->getAt(1)->getInt());
}

TEST(PropertyNodeTest, UntypedValuesAreFoundByNameButNotCounted)
{
    RefPointer<PropertyNode> node(new PropertyNode("n", "Sprite"));
    node->setInt("x", 40, true);
    node->setInt("typed", 5);
    EXPECT_EQ(1, node->getCount());
    EXPECT_EQ(2, node->getNamedCount());
    EXPECT_EQ(40, node->getInt("x"));
    ASSERT_NE(nullptr, node->getChild("x"));
    EXPECT_TRUE(node->getChild("x")->isUntypedValue());
    EXPECT_TRUE(node->removeChild("x"));
    EXPECT_EQ(nullptr, node->getChild("x"));
    EXPECT_FALSE(node->removeChild("x"));
}

TEST(PropertyNodeTest, TypedLookupsFallBackToNullObjects)
{
    RefPointer<PropertyNode> node(new PropertyNode("n", "Node"));
    node->setInt("number", 7);
    node->addNode("child", "Node")->setWString("label", u"hi");
    node->addVector("list")->addBoolean(true);

    EXPECT_EQ(nullptr, node->getChild("missing"));
    EXPECT_EQ(DUMMY_NODE, node->getNode("missing"));
    EXPECT_EQ(DUMMY_NODE, node->getNode("number"));
    EXPECT_EQ(DUMMY_VALUE, node->getValue("child"));
    EXPECT_EQ(DUMMY_VECTOR, node->getVector("child"));
    EXPECT_EQ(u"hi", node->getNode("child")->getWString("label"));
    EXPECT_TRUE(node->getVector("list")->getAt(0)->getBool());

    // A chain through missing entries ends in empty text and zeros.
    EXPECT_EQ(WString(), node->getNode("a")->getNode("b")->getValue("c")->getWString());
    EXPECT_EQ(0, node->getNode("a")->getInt("c"));
    EXPECT_EQ(0, node->getNode("child")->getInt());
    EXPECT_EQ(0.0f, node->getNode("child")->getFloat());

    // Fallbacks apply only where no value of that name exists.
    EXPECT_EQ(5, node->getInt("missing", 5));
    EXPECT_EQ(5, node->getInt("child", 5));
    EXPECT_EQ(u"fb", node->getWString("child", u"fb"));
    EXPECT_EQ(u"fb", node->getWString("missing", u"fb"));
    EXPECT_EQ(7, node->getInt("number", 5));
    EXPECT_TRUE(node->getBool("missing", true));
    EXPECT_EQ("dflt", node->getString("missing", "dflt"));
}

TEST(PropertyNodeTest, NullObjectsStayEmpty)
{
    DUMMY_NODE->addChild(new PropertyValue("x", 1));
    DUMMY_NODE->setInt("y", 2);
    DUMMY_NODE->add(new PropertyValue("z", 3));
    DUMMY_VECTOR->add(new PropertyValue("x", 1));
    DUMMY_VECTOR->addBoolean(true);
    DUMMY_VALUE->setValue(u"changed");
    DUMMY_NODE->setName("renamed");
    EXPECT_EQ(0, DUMMY_NODE->getCount());
    EXPECT_EQ(0, DUMMY_NODE->getNamedCount());
    EXPECT_EQ(0, DUMMY_VECTOR->getCount());
    EXPECT_EQ(WString(), DUMMY_VALUE->getWString());
    EXPECT_EQ("DUMMY_NODE", DUMMY_NODE->getName());
    EXPECT_EQ("DUMMY_VALUE", DUMMY_VALUE->getName());
    EXPECT_EQ("DUMMY_VECTOR", DUMMY_VECTOR->getName());
    // Chained building on a null node goes on harmlessly.
    DUMMY_NODE->addNode("a", "Node")->setInt("b", 1);
    EXPECT_EQ(0, DUMMY_NODE->getNamedCount());
}

TEST(PropertyNodeTest, OrderAndIndexRanges)
{
    RefPointer<PropertyVector> vector(new PropertyVector("v"));
    vector->add(new PropertyValue("same", 1));
    vector->add(new PropertyValue("same", 2));
    vector->add(new PropertyValue("", 3));
    EXPECT_EQ(3, vector->getCount());
    EXPECT_EQ(nullptr, vector->getAt(-1));
    EXPECT_EQ(nullptr, vector->getAt(3));
    EXPECT_EQ(DUMMY_NODE, vector->getNodeAt(0));
    int sum = 0;
    for (const RefPointer<AbstractProperty>& element : *vector)
        sum = sum * 10 + element->getInt();
    EXPECT_EQ(123, sum);

    RefPointer<PropertyNode> node(new PropertyNode("n", "Node"));
    node->setInt("a", 1);
    node->setInt("b", 2, true);
    node->setInt("c", 3);
    node->setInt("a", 4);
    std::string order;
    for (AbstractProperty* child : node->getNamedChildren())
        order += child->getName();
    EXPECT_EQ("bca", order);
    EXPECT_EQ("c", node->getAt(0)->getName());
    EXPECT_EQ("a", node->getAt(1)->getName());
}

TEST(PropertyNodeTest, KeywordIndex)
{
    // Only the first `count` words are searched.
    static const char* const words[] = {"left", "center", "right", "beyond"};
    RefPointer<PropertyNode> node(new PropertyNode("n", "Label"));
    node->setString("align", "right", true);
    node->setString("other", "Right", true);
    node->addNode("nested", "Node");
    EXPECT_EQ(2, node->getKeywordIndex("align", words, 3, -1));
    EXPECT_EQ(-1, node->getKeywordIndex("other", words, 3, -1));
    EXPECT_EQ(0, node->getKeywordIndex("missing", words, 3, 0));
    EXPECT_EQ(-1, node->getKeywordIndex("nested", words, 3, -1));
    node->setString("far", "beyond", true);
    EXPECT_EQ(-1, node->getKeywordIndex("far", words, 3, -1));
    EXPECT_EQ(3, node->getKeywordIndex("far", words, 4, -1));
}

TEST(PropertyNodeTest, SharedChildrenLiveAsLongAsAHolder)
{
    RefPointer<PropertyNode> first(new PropertyNode("a", "Node"));
    RefPointer<PropertyValue> value(new PropertyValue("v", 5));
    first->addChild(value.get());
    {
        RefPointer<PropertyNode> second(new PropertyNode("b", "Node"));
        second->addChild(value.get());
        // Each node holds it twice: in its name map and in its ordered list.
        EXPECT_EQ(5, value->getReferenceCount());
    }
    EXPECT_EQ(3, value->getReferenceCount());
    first.reset();
    EXPECT_EQ(1, value->getReferenceCount());
}

TEST(PropertyNodeTest, ClassRecordsAndKinds)
{
    RefPointer<PropertyNode> node(new PropertyNode("n", "Node"));
    EXPECT_TRUE(node->isKindOf<AbstractProperty>());
    EXPECT_TRUE(node->isNode());
    EXPECT_EQ(node.get(), node->asNode());
    EXPECT_EQ(DUMMY_VECTOR, node->asVector());
    RefPointer<PropertyVector> vector(new PropertyVector("v"));
    EXPECT_EQ("Vector", vector->getTypeName());
    EXPECT_EQ(vector.get(), vector->asVector());
}

} // namespace
