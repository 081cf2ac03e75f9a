#include <gtest/gtest.h>

#include <map>
#include <sys/stat.h>

#include "framework/graphics/Graphics.h"
#include "framework/gui/DialogPainter.h"
#include "framework/gui/StyleLabel.h"
#include "framework/resources/ResourceLookup.h"
#include "framework/scenegraph/Label.h"
#include "framework/scenegraph/LabelLayout.h"
#include "support/FontFixtures.h"

// Writes pictures of labels and styled texts in the game's fonts into the
// build folder (pictures/text_*.png), for a person to look at.

namespace {

std::map<std::string, RefPointer<BaseObject>> resources;

RefPointer<BaseObject> lookUp(const std::string& name, const std::string& section)
{
    auto it = resources.find(section + "/" + name);
    return it == resources.end() ? nullptr : it->second;
}

std::string picturePath(const std::string& name)
{
    const std::string folder = std::string(TORTELUNE_BINARY_DIR) + "/pictures";
    mkdir(folder.c_str(), 0755);
    return folder + "/" + name;
}

class TextPictures : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* name : {"title", "header", "button", "numbers", "dialog", "dialogbold", "small"}) {
            RefPointer<BitmapFont> font =
                loadFontFile(std::string(TORTELUNE_SOURCE_DIR) + "/media/fonts/" + name + ".xml");
            ASSERT_TRUE(font) << name;
            fonts[name] = font;
            resources[std::string("fonts/") + name] = font.get();
        }
        // A small cherry for inline pictures.
        RefPointer<Image> cherry = Image::create(18, 18, 4);
        cherry->lock();
        for (int y = 0; y < 18; ++y)
            for (int x = 0; x < 18; ++x) {
                const int dx = x - 9, dy = y - 10;
                const int d = dx * dx + dy * dy;
                cherry->row32(y)[x] = d < 49 ? 0xFFC8243C : (d < 64 ? 0x80C8243C : 0);
            }
        cherry->unlock();
        resources["pics/cherry"] = cherry.get();
        previous = ResourceLookup::install(&lookUp);

        canvas = Image::create(800, 600, 4);
        g = canvas->getGraphics();
        g->setColour(0xFFF6E7C8);
        g->clear();
        g->fillChannel(Graphics::ChannelAlpha, 255, 0, 0);
    }
    void TearDown() override
    {
        ResourceLookup::install(previous);
        resources.clear();
    }

    // A cream panel with a chocolate border, as a dialog would have.
    void panel(int x, int y, int w, int h)
    {
        g->setColour(0xFF5B3219);
        g->fillRect(x, y, w, h);
        g->setColour(0xFFFFF8EA);
        g->fillRect(x + 3, y + 3, w - 6, h - 6);
    }

    RefPointer<Label> label(const char* font, const WString& text, int x, int y, int wrap = 0, int width = 0)
    {
        RefPointer<Label> result(new Label(fonts[font].get(), x, y, width, 0, wrap));
        result->setText(text);
        result->render(g.get());
        return result;
    }

    std::map<std::string, RefPointer<BitmapFont>> fonts;
    RefPointer<Image> canvas;
    RefPointer<Graphics> g;
    ResourceLookup::Function previous = nullptr;
};

} // namespace

TEST_F(TextPictures, Labels)
{
    RefPointer<Label> title(new Label(fonts["title"].get(), 400, 14, 0, 0, 0));
    title->setAnchorPoint(Sprite::Top);
    title->setText(u"Tortelune Bakery");
    title->render(g.get());
    EXPECT_GT(title->getWidth(), 200);

    panel(20, 80, 370, 250);
    label("header", u"Level Complete!", 40, 92);
    label("numbers", u"Score: 12,345", 40, 135);
    label("dialog", u"Three éclairs and a crème brûlée — the customers are delighted… “Bravo!”", 40, 180,
          LabelLayout::WrapWordWrap, 330);
    RefPointer<Label> coloured(new Label(fonts["dialogbold"].get(), 40, 250, 330, 0, LabelLayout::WrapTruncate));
    coloured->setLayerColor(0xFFC0306A, 0);
    coloured->setText(u"Raspberry tart with a very long name that is cut");
    coloured->render(g.get());
    label("small", u"© 2026 Quillmark · Tortelune™ · €4.99 · 100% butter", 40, 290);

    panel(410, 80, 370, 250);
    for (int align = 0; align < 3; ++align) {
        RefPointer<Label> l(new Label(fonts["dialog"].get(), 430, 95 + align * 75, 330, 0, LabelLayout::WrapWordWrap));
        l->setAlignH(align);
        l->setText(align == 0   ? u"Left aligned text that wraps over two lines."
                   : align == 1 ? u"Centred text that wraps over two lines."
                                : u"Right aligned text that wraps, too.");
        l->render(g.get());
    }

    g->setColour(0xFF8A4B2A);
    g->fillRect(40, 360, 160, 44);
    RefPointer<Label> button(new Label(fonts["button"].get(), 120, 382, 0, 0, 0));
    button->setAnchorPoint(Sprite::Center);
    button->setText(u"Play");
    button->render(g.get());

    label("title", u"AVATAR Typo", 230, 355);
    label("dialog", u"Missing glyph: 漢 ← box", 40, 420);
    ASSERT_TRUE(writePng(canvas.get(), picturePath("text_labels.png")));
}

TEST_F(TextPictures, StyledText)
{
    panel(20, 20, 760, 560);
    RefPointer<StyleLabel> styled(new StyleLabel(fonts["dialog"].get(), 40, 40, 720, 0, StyleLabel::WrapWordWrap));
    styled->setText(
        u"[font=header,fonts]Recipe of the day[/font][br][alignv=baseline]"
        u"Mix [font=dialogbold,fonts]flour[/font], [color=#ffc0306a]raspberries[/color] and "
        u"[color=#ff3d8a3d]pistachio[/color] cream, then bake for [font=numbers,fonts]25[/font] minutes.[br]"
        u"A cherry [image=cherry,pics,inline,single] goes on top of every tart.[/alignv][br]"
        u"[alignh=center]This line is centred.[br][/alignh]"
        u"[alignh=right]And this one sits on the right.[br][/alignh]"
        u"[tabs=0,300,520]Item[tab=2]Count[tab=3]Price[br]"
        u"Éclair[tab=2]12[tab=3]€1.50[br]"
        u"Croissant[tab=2]7[tab=3]€0.90[br]"
        u"[image=cherry,pics,right,multi]Long running text flows round a picture placed on the right: the "
        u"words wrap before they reach it, line after line, until the picture ends and the text takes the "
        u"whole width again.[br]"
        u"[wrapstyle=truncate]A truncated line is cut with dots when it does not fit into the width of the "
        u"label at all[/wrapstyle][br]"
        u"Escaped \\[brackets] show as text; [unknown]tags vanish.");
    styled->render(g.get());
    EXPECT_GT(styled->getHeight(), 200);
    ASSERT_TRUE(writePng(canvas.get(), picturePath("text_styled.png")));
}

TEST_F(TextPictures, TestFonts)
{
    RefPointer<BitmapFont> test = loadTestFont("testfont");
    RefPointer<BitmapFont> mask = loadTestFont("testmask");
    RefPointer<Label> a(new Label(test.get(), 20, 20, 0, 0, 0));
    a->setText(u"testfont: The quick brown fox jumps over the lazy dog. 0123456789 AV To");
    a->render(g.get());
    RefPointer<Label> b(new Label(mask.get(), 20, 50, 0, 0, 0));
    b->setLayerColor(0xFF5B3219, 0);
    b->setText(u"testmask: The quick brown fox jumps over the lazy dog. 0123456789 AV To");
    b->render(g.get());
    ASSERT_TRUE(writePng(canvas.get(), picturePath("text_testfonts.png")));
}
