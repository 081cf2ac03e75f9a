#include <gtest/gtest.h>

#include "GuiFixture.h"
#include "framework/graphics/ImageLock.h"
#include "framework/gui/Button.h"
#include "framework/gui/Dialog.h"
#include "framework/gui/Scene.h"
#include "framework/scenegraph/Label.h"
#include "support/FontFixtures.h"

namespace {

// Screen colours (the screen's top byte is not drawn).
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kRed = 0xFF0000;

// Dialogs placed away from the screen's corner, drawn through their buffer
// into an 800 x 600 screen whose pixels the tests read.
class BufferedDialogTest : public GuiFixture {
protected:
    void SetUp() override
    {
        GuiFixture::SetUp();
        addResource("ui", "paper", solidImage(100, 60, 0xFF000000 | kWhite).get());
        addResource("ui", "red", solidImage(20, 20, 0xFF000000 | kRed).get());
        addResource("ui", "button", solidImage(20, 40, 0xFF808080).get());
        font = loadTestFont("testfont");
        ASSERT_TRUE(font);
        addResource("fonts", "test", font.get());
        for (const char* corner : {"tl", "tr", "bl", "br"})
            addResource("frames", corner, solidImage(10, 10, 0xFF202020).get());
        for (const char* corner : {"tl", "tr", "bl", "br"})
            addResource("wide", corner, solidImage(10, 10, 0xFF202020).get());
        for (const char* edge : {"top", "bottom", "left", "right", "centre"}) {
            addResource("frames", edge, solidImage(8, 8, 0xFF404040).get());
            addResource("wide", edge, solidImage(10, 10, 0xFF606060).get());
        }
        const std::string pieces = "<String value=\"tl\"/><String value=\"top\"/><String value=\"tr\"/>"
                                   "<String value=\"left\"/><String value=\"centre\"/><String value=\"right\"/>"
                                   "<String value=\"bl\"/><String value=\"bottom\"/><String value=\"br\"/>";
        loadSetup("<root><Node id=\"templates\">"
                  "<DialogPainter id=\"FRAME\" section=\"frames\"><Vector id=\"images\">" + pieces +
                  "</Vector></DialogPainter>"
                  "<DialogPainter id=\"WIDE\" section=\"wide\"><Vector id=\"images\">" + pieces +
                  "</Vector></DialogPainter></Node>"
                  "<Node id=\"dialogs\">"
                  "<Dialog id=\"PAPER\" x=\"200\" y=\"150\" background=\"paper\" section=\"ui\" usebuffer=\"true\">"
                  "<Vector id=\"components\">"
                  "<Sprite name=\"clipped\" image=\"red\" section=\"ui\" x=\"10\" y=\"10\"/>"
                  "<Label name=\"caption\" font=\"test\" section=\"fonts\" text=\"i\" x=\"50\" y=\"20\"/>"
                  "<Button name=\"ok\" image=\"button\" section=\"ui\" x=\"70\" y=\"40\"/>"
                  "<Panel name=\"group\"><Vector id=\"components\">"
                  "<Button name=\"inner\" image=\"button\" section=\"ui\" x=\"5\" y=\"40\"/></Vector></Panel>"
                  "</Vector></Dialog>"
                  "<Dialog id=\"FRAMED\" painterid=\"FRAME\" minwidth=\"45\" minheight=\"21\"/>"
                  "</Node><Node id=\"scenes\"><Scene id=\"S\"/></Node></root>");
        scene = SceneManager::instance->registerScene("S");
        ASSERT_NE(nullptr, scene);
        screen = Image::create(800, 600, 4);
        graphics = screen->getGraphics();
    }

    uint32_t pixel(int x, int y)
    {
        ImageLock lock(screen.get());
        const uint8_t* p = screen->getPixels() + y * screen->getPitch() + x * 4;
        return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16);
    }

    // Sum of the pixels of a screen block, to tell two drawings apart.
    uint64_t blockSum(int x, int y, int width, int height)
    {
        uint64_t sum = 0;
        for (int row = y; row < y + height; ++row)
            for (int column = x; column < x + width; ++column)
                sum = sum * 31 + pixel(column, row);
        return sum;
    }

    void draw(Dialog* dialog)
    {
        graphics->setColour(0xFF000000);
        graphics->clear();
        dialog->render(graphics.get());
    }

    Scene* scene = nullptr;
    RefPointer<BitmapFont> font;
    RefPointer<Image> screen;
    RefPointer<Graphics> graphics;
};

TEST_F(BufferedDialogTest, ClippedComponentIsCutToItsClipInsideTheBuffer)
{
    Dialog* dialog = scene->getOrCreateDialog("", "PAPER");
    ASSERT_NE(nullptr, dialog);
    ASSERT_TRUE(dialog->isUseBuffer());
    Sprite* clipped = objectCast<Sprite>(dialog->getComponent("clipped"));
    ASSERT_NE(nullptr, clipped);
    // Relative to the dialog: only the sprite's left half (x 10..19) stays.
    clipped->setClipRect(10, 10, 10, 20);
    scene->showDialog(dialog);
    draw(dialog);
    EXPECT_EQ(kWhite, pixel(200 + 2, 150 + 2));
    EXPECT_EQ(kRed, pixel(200 + 10, 150 + 10));
    EXPECT_EQ(kRed, pixel(200 + 19, 150 + 29));
    EXPECT_EQ(kWhite, pixel(200 + 20, 150 + 15)) << "the right half is clipped away";
    EXPECT_EQ(kWhite, pixel(200 + 29, 150 + 29));

    // The clip moves with the dialog.
    dialog->setPosition(300, 200);
    dialog->setBufferDirty(true);
    draw(dialog);
    EXPECT_EQ(kRed, pixel(300 + 15, 200 + 15));
    EXPECT_EQ(kWhite, pixel(300 + 25, 200 + 15));
}

TEST_F(BufferedDialogTest, RelabelledLabelIsDrawnAgain)
{
    Dialog* dialog = scene->getOrCreateDialog("", "PAPER");
    Label* caption = objectCast<Label>(dialog->getComponent("caption"));
    ASSERT_NE(nullptr, caption);
    scene->showDialog(dialog);
    draw(dialog);
    const uint64_t before = blockSum(250, 170, 45, 20);
    const int refreshes = dialog->getRefreshCount();
    EXPECT_NE(blockSum(250, 170, 45, 20), blockSum(0, 0, 45, 20)) << "the first text shows";

    caption->setText(u"MWM");
    draw(dialog);
    EXPECT_EQ(refreshes + 1, dialog->getRefreshCount());
    EXPECT_NE(before, blockSum(250, 170, 45, 20)) << "the new text replaced the old one";

    caption->setText(u"i");
    draw(dialog);
    EXPECT_EQ(before, blockSum(250, 170, 45, 20));
}

// A label draws its text moved by its padding; its clip still counts from
// the parent's origin, not from where the padding put the text.
TEST_F(BufferedDialogTest, ClippedLabelKeepsItsClipWhereItsParentPutsIt)
{
    Dialog* dialog = scene->getOrCreateDialog("", "PAPER");
    Label* caption = objectCast<Label>(dialog->getComponent("caption"));
    ASSERT_NE(nullptr, caption);
    caption->setText(u"MWMWM");
    caption->setClipRect(52, 0, 10, 60);
    scene->showDialog(dialog);
    draw(dialog);
    int inkInside = 0;
    // Right of the red sprite and above the buttons only the text can draw.
    for (int y = 150; y < 188; ++y) {
        for (int x = 232; x < 300; ++x) {
            const bool inside = x >= 252 && x < 262;
            if (pixel(x, y) != kWhite) {
                EXPECT_TRUE(inside) << x << "," << y;
                inkInside += inside ? 1 : 0;
            }
        }
    }
    EXPECT_GT(inkInside, 0);
}

// Fitting always starts from the size asked for, also after the frame picture
// became the dialog's image: a new painter fits 45 x 21, not the old 52 x 28.
TEST_F(BufferedDialogTest, DialogKeepsTheSizeItWasAskedForAfterItsPictureIsSet)
{
    Dialog* dialog = scene->getOrCreateDialog("", "FRAMED");
    ASSERT_NE(nullptr, dialog);
    // 20 pixels of corners plus whole 8-pixel edges: 45 -> 52, 21 -> 28.
    EXPECT_EQ(52, dialog->getWidth());
    EXPECT_EQ(28, dialog->getHeight());
    draw(dialog);
    ASSERT_NE(nullptr, dialog->getImage());

    RefPointer<AbstractPainter> wide =
        create<AbstractPainter>("DialogPainter", SetupStore::instance->findTemplate("WIDE"));
    ASSERT_TRUE(wide);
    dialog->setPainter(wide.get());
    // 10-pixel edges: 45 -> 20 + 3 x 10 = 50, 21 -> 20 + 10 = 30 (from 52 x 28 it would be 60 x 30).
    EXPECT_EQ(50, dialog->getWidth());
    EXPECT_EQ(30, dialog->getHeight());
}

TEST_F(BufferedDialogTest, RemovedComponentLeavesTheDialogsInputContainer)
{
    Dialog* dialog = scene->getOrCreateDialog("", "PAPER");
    GameNode* ok = dialog->bindComponent("ok", GuiMethod());
    GameNode* inner = dialog->bindComponent("inner", GuiMethod());
    ASSERT_NE(nullptr, ok);
    ASSERT_NE(nullptr, inner);
    iInputListenerContainer& container = dialog->getInputContainer();
    ASSERT_TRUE(container.containsListener(interfaceCast<iInputListener>(ok)));

    dialog->removeComponent(ok);
    EXPECT_FALSE(container.containsListener(interfaceCast<iInputListener>(ok)));
    // A removed panel takes the listeners below it along.
    dialog->removeComponent(dialog->getComponent("group"));
    EXPECT_FALSE(container.containsListener(interfaceCast<iInputListener>(inner)));
    EXPECT_TRUE(container.containsListener(dialog)) << "the dialog's own listener stays";
}

} // namespace
