#include <gtest/gtest.h>

#include "GuiFixture.h"
#include "framework/core/PropertyStore.h"
#include "framework/gui/InputLabel.h"
#include "host/WindowMessages.h"
#include "support/FontFixtures.h"

namespace {

int changes = 0;
int enters = 0;
int escapes = 0;
int tabs = 0;
int onChange(void*, BaseObject*)
{
    return ++changes;
}
int onEnter(void*, BaseObject*)
{
    return ++enters;
}
int onEscape(void*, BaseObject*)
{
    return ++escapes;
}
int onTab(void*, BaseObject*)
{
    return ++tabs;
}

class InputLabelTest : public GuiFixture {
protected:
    void SetUp() override
    {
        GuiFixture::SetUp();
        changes = enters = escapes = tabs = 0;
        font = loadTestFont("testfont");
        ASSERT_NE(nullptr, font);
        addResource("fonts", "face", font.get());
        addResource("ui", "caret", solidImage(2, 12, 0xFF000000).get());
    }

    RefPointer<InputLabel> field(const std::string& attributes = "")
    {
        const std::string xml = "<root><InputLabel id=\"w\" x=\"100\" y=\"50\" width=\"300\" height=\"30\" "
                                "cursorimage=\"caret\" section=\"ui\" " +
                                attributes + "><Label id=\"label\" font=\"face\" section=\"fonts\"/></InputLabel></root>";
        store = new PropertyStore();
        EXPECT_TRUE(store->loadFromBuffer(xml.data(), xml.size()));
        RefPointer<InputLabel> created = create<InputLabel>("InputLabel", store->getNode("w"));
        created->setCallback(GuiMethod(nullptr, &onChange));
        created->setOnEnter(GuiMethod(nullptr, &onEnter));
        created->setOnEscape(GuiMethod(nullptr, &onEscape));
        created->setOnTab(GuiMethod(nullptr, &onTab));
        created->setFocus(true);
        return created;
    }

    static void type(InputLabel* input, const std::u16string& text)
    {
        for (char16_t c : text)
            input->onChar(c);
    }
    static void press(InputLabel* input, int key)
    {
        input->onKeyDown(key);
        input->onKeyUp(key);
    }
    static void hold(int key, bool down) { InputHandler::keyState[key] = down ? 0x80 : 0; }

    RefPointer<BitmapFont> font;
    RefPointer<PropertyStore> store;
};

TEST_F(InputLabelTest, TypingInsertsAtTheCursorAndBackspaceAndDeleteStopAtTheEnds)
{
    RefPointer<InputLabel> input = field();
    type(input.get(), u"Tarte");
    EXPECT_EQ(u"Tarte", input->getText());
    EXPECT_EQ(u"Tarte", input->getTextNode()->getText());
    EXPECT_EQ(5, input->getCursorIndex());
    EXPECT_EQ(5, changes);
    press(input.get(), VK_HOME);
    input->onChar(0x08);
    EXPECT_EQ(u"Tarte", input->getText());
    type(input.get(), u"La ");
    EXPECT_EQ(u"La Tarte", input->getText());
    press(input.get(), VK_DELETE);
    EXPECT_EQ(u"La arte", input->getText());
    press(input.get(), VK_END);
    press(input.get(), VK_DELETE);
    EXPECT_EQ(u"La arte", input->getText());
    input->onChar(0x08);
    EXPECT_EQ(u"La art", input->getText());
    // Control characters never get in.
    for (char16_t control : {char16_t(0x01), char16_t(0x1F), char16_t(0x7F), char16_t(0x9F)})
        input->onChar(control);
    EXPECT_EQ(u"La art", input->getText());
    // The no-break space is the first character past them.
    input->onChar(0xA0);
    EXPECT_EQ(u"La art\u00A0", input->getText());
    input->onChar(0x08);
    // Without the focus nothing is typed.
    input->setFocus(false);
    EXPECT_FALSE(input->onChar(u'x'));
    EXPECT_EQ(u"La art", input->getText());
}

TEST_F(InputLabelTest, ShiftWithArrowsGrowsAndShrinksTheSelectionFromTheCursorSide)
{
    RefPointer<InputLabel> input = field();
    type(input.get(), u"abcdef");
    hold(VK_SHIFT, true);
    press(input.get(), VK_LEFT);
    press(input.get(), VK_LEFT);
    EXPECT_EQ(4, input->getSelStart());
    EXPECT_EQ(6, input->getSelEnd());
    press(input.get(), VK_RIGHT);
    EXPECT_EQ(5, input->getSelStart());
    EXPECT_EQ(6, input->getSelEnd());
    press(input.get(), VK_LEFT);
    press(input.get(), VK_LEFT);
    EXPECT_EQ(3, input->getSelStart());
    EXPECT_EQ(6, input->getSelEnd());
    // Home acts on the key's release.
    input->onKeyDown(VK_HOME);
    EXPECT_EQ(3, input->getSelStart());
    input->onKeyUp(VK_HOME);
    EXPECT_EQ(0, input->getSelStart());
    EXPECT_EQ(6, input->getSelEnd());
    hold(VK_SHIFT, false);
    press(input.get(), VK_RIGHT);
    EXPECT_FALSE(input->hasSelection());
    EXPECT_EQ(1, input->getCursorIndex());
    // Without shift an arrow drops the selection, leftwards too.
    hold(VK_SHIFT, true);
    press(input.get(), VK_RIGHT);
    press(input.get(), VK_RIGHT);
    hold(VK_SHIFT, false);
    ASSERT_TRUE(input->hasSelection());
    press(input.get(), VK_LEFT);
    EXPECT_FALSE(input->hasSelection());
    EXPECT_EQ(2, input->getCursorIndex());
    press(input.get(), VK_HOME);
    press(input.get(), VK_RIGHT);
    hold(VK_SHIFT, true);
    press(input.get(), VK_END);
    hold(VK_SHIFT, false);
    input->onChar(u'Z');
    EXPECT_EQ(u"aZ", input->getText());
    EXPECT_FALSE(input->hasSelection());
}

TEST_F(InputLabelTest, MouseSelectsByDraggingAndWordsByDoubleClick)
{
    RefPointer<InputLabel> input = field();
    input->setText(u"pie, tart and cake", true);
    const int inTart = input->caretX(6) + 100 + 1;
    // A dialog hands it the pointer as one of its input listeners.
    EXPECT_EQ(static_cast<iInputListener*>(input.get()), interfaceCast<iInputListener>(input.get()));
    // Moving without a press selects nothing.
    input->onMouseMove(inTart, 55, 0);
    EXPECT_FALSE(input->hasSelection());
    input->onLeftDown(101, 55, 1, false);
    input->onMouseMove(inTart, 55, 1);
    input->onLeftUp(inTart, 55, 0);
    EXPECT_EQ(0, input->getSelStart());
    EXPECT_EQ(6, input->getSelEnd());
    // The release itself ends the selection where it happens.
    input->onLeftDown(101, 55, 1, false);
    input->onMouseMove(inTart, 55, 1);
    input->onLeftUp(input->caretX(10) + 100 + 1, 55, 0);
    EXPECT_EQ(0, input->getSelStart());
    EXPECT_EQ(10, input->getSelEnd());

    // A word followed by a comma: the comma stays out.
    input->onLeftDown(input->caretX(1) + 100 + 1, 55, 1, true);
    EXPECT_EQ(0, input->getSelStart());
    EXPECT_EQ(3, input->getSelEnd());
    input->onLeftUp(input->caretX(1) + 100 + 1, 55, 0);
    // A word followed by a space: the space comes along.
    input->onLeftDown(inTart, 55, 1, true);
    EXPECT_EQ(5, input->getSelStart());
    EXPECT_EQ(10, input->getSelEnd());
    input->onLeftUp(inTart, 55, 0);
    // Its release keeps the word.
    EXPECT_EQ(5, input->getSelStart());
    EXPECT_EQ(10, input->getSelEnd());
    input->onMouseMove(101, 55, 0);
    EXPECT_EQ(5, input->getSelStart());

    // A press outside takes the focus away.
    input->onLeftDown(700, 500, 1, false);
    EXPECT_FALSE(input->isFocused());
    EXPECT_FALSE(input->getCursorSprite()->isVisible());
}

TEST_F(InputLabelTest, ClipboardCopyCutAndPaste)
{
    RefPointer<InputLabel> input = field();
    type(input.get(), u"crumble");
    hold(VK_CONTROL, true);
    press(input.get(), 'C');
    EXPECT_EQ("crumble", platform.clipboard);
    hold(VK_SHIFT, true);
    press(input.get(), VK_LEFT);
    press(input.get(), VK_LEFT);
    hold(VK_SHIFT, false);
    press(input.get(), 'X');
    EXPECT_EQ("le", platform.clipboard);
    EXPECT_EQ(u"crumb", input->getText());
    press(input.get(), VK_HOME);
    platform.clipboard = "apple\t\n ";
    press(input.get(), 'V');
    // Pasted text passes the same filter as typed text.
    EXPECT_EQ(u"apple crumb", input->getText());
    // Cut without a selection takes everything.
    press(input.get(), 'X');
    EXPECT_EQ(u"", input->getText());
    EXPECT_EQ("apple crumb", platform.clipboard);
    hold(VK_CONTROL, false);
}

TEST_F(InputLabelTest, MaximumLengthAndWidthLimitInsertions)
{
    RefPointer<InputLabel> input = field("maxlength=\"8\"");
    type(input.get(), u"12345678");
    input->onChar(u'9');
    EXPECT_EQ(u"12345678", input->getText());
    input->setText(u"1234", true);
    platform.clipboard = "abcdefg";
    hold(VK_CONTROL, true);
    press(input.get(), 'V');
    hold(VK_CONTROL, false);
    EXPECT_EQ(u"1234", input->getText());
    // Set directly, a longer text stays.
    input->setText(u"1234567890", true);
    EXPECT_EQ(u"1234567890", input->getText());

    RefPointer<InputLabel> narrow = field("maxwidth=\"30\"");
    narrow->setText(u"wwwwwwwwwwww", true);
    EXPECT_LT(narrow->getText().size(), 12u);
    EXPECT_FALSE(narrow->getText().empty());
    EXPECT_EQ(static_cast<int>(narrow->getText().size()), narrow->getCursorIndex());

    // Zero sets no limit.
    RefPointer<InputLabel> unlimited = field("maxlength=\"0\" maxwidth=\"0\"");
    type(unlimited.get(), u"ab");
    EXPECT_EQ(u"ab", unlimited->getText());

    RefPointer<InputLabel> stripped = field("stripspaces=\"true\"");
    type(stripped.get(), u" a b");
    EXPECT_EQ(u"a b", stripped->getText());
}

TEST_F(InputLabelTest, EnterEscapeAndTabTakeTheFocusAndCallBack)
{
    RefPointer<InputLabel> input = field();
    EXPECT_TRUE(input->onKeyUp(VK_RETURN));
    EXPECT_FALSE(input->isFocused());
    EXPECT_EQ(1, enters);
    input->setFocus(true);
    EXPECT_TRUE(input->onKeyUp(VK_ESCAPE));
    EXPECT_EQ(1, escapes);
    input->setFocus(true);
    EXPECT_TRUE(input->onKeyUp(VK_TAB));
    EXPECT_EQ(1, tabs);
    EXPECT_FALSE(input->onKeyUp(VK_RETURN));
    // With no callbacks the keys are still taken.
    input->setFocus(true);
    input->setOnEnter(GuiMethod());
    EXPECT_TRUE(input->onKeyUp(VK_RETURN));
}

} // namespace
