#include <gtest/gtest.h>

#include <cstring>

#include "framework/graphics/Graphics.h"
#include "framework/graphics/Image.h"
#include "framework/scenegraph/RenderTask.h"
#include "game/effects/LettersLabel.h"
#include "support/FontFixtures.h"

namespace {

class LettersLabelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        font = loadTestFont("testfont");
        ASSERT_TRUE(font);
    }

    RefPointer<Label> label(const WString& text)
    {
        RefPointer<Label> made(new Label(font.get(), 30, 20, 200, 60, 0));
        made->setAnchorStyle(Sprite::Center);
        made->setText(text);
        return made;
    }

    // The node drawn on a cleared 240 x 100 picture.
    static RefPointer<Image> picture(GameNode* node)
    {
        RefPointer<Image> image = Image::create(240, 100, 4);
        RefPointer<Graphics> graphics = image->getGraphics();
        graphics->clear();
        RefPointer<GameNode> root(new GameNode());
        GameNode::addChild(root.get(), node);
        root->setPosition(80, 40);
        RenderTask::renderFrame(nullptr, graphics.get(), root.get());
        GameNode::removeFromParent(node);
        node->release();
        return image;
    }

    RefPointer<BitmapFont> font;
};

struct PixelComparison {
    int ink = 0;          // pixels drawn on in the first picture
    int inkOnlyInOne = 0; // pixels drawn on in one picture only
    int different = 0;    // pixels that differ at all
};

PixelComparison compare(Image* a, Image* b)
{
    PixelComparison result;
    for (int y = 0; y < a->getHeight(); ++y) {
        for (int x = 0; x < a->getWidth(); ++x) {
            const uint8_t* p = Sprite::pixelAddress(a, x, y);
            const uint8_t* q = Sprite::pixelAddress(b, x, y);
            const bool inkA = (p[0] | p[1] | p[2]) != 0;
            const bool inkB = (q[0] | q[1] | q[2]) != 0;
            result.ink += inkA ? 1 : 0;
            result.inkOnlyInOne += inkA != inkB ? 1 : 0;
            result.different += std::memcmp(p, q, 3) != 0 ? 1 : 0;
        }
    }
    return result;
}

} // namespace

TEST_F(LettersLabelTest, LettersSitExactlyWhereTheLabelDrawsItsGlyphs)
{
    RefPointer<Label> plain = label(u"Jelly Tart");
    RefPointer<LettersLabel> letters(new LettersLabel(plain.get()));
    RefPointer<Image> expected = picture(plain.get());
    RefPointer<Image> actual = picture(letters.get());
    EXPECT_EQ(letters->getLetters().size(), 9u); // the space gets no letter
    const PixelComparison compared = compare(expected.get(), actual.get());
    EXPECT_EQ(compared.inkOnlyInOne, 0);
    // Where the outlines of two neighbours overlap, each letter blends on its own.
    EXPECT_LT(compared.different * 4, compared.ink);
}

TEST_F(LettersLabelTest, ReadingOrderEmptyTextAndRebuilds)
{
    RefPointer<LettersLabel> letters(new LettersLabel(label(u"ab\\ncd").get()));
    letters->buildLetters();
    const auto& built = letters->getLetters();
    ASSERT_EQ(built.size(), 4u);
    EXPECT_LT(built[0]->getX(), built[1]->getX());
    EXPECT_GT(built[2]->getY(), built[0]->getY());
    EXPECT_EQ(built[0]->getPivotKind(), Sprite::Center);

    // The same text again replaces the letters instead of stacking a second set.
    RefPointer<Sprite> old = built[0];
    letters->setText(u"ab\\ncd");
    picture(letters.get());
    EXPECT_TRUE(old->isRemoved());
    int shown = 0;
    for (GameNode* child = letters->getFirstChild(); child; child = child->getNextSibling())
        shown += child->isRemoved() ? 0 : 1;
    EXPECT_EQ(shown, 4);
    // Unchanged, the letters stay the same from frame to frame (their effects stay on them).
    const Sprite* kept = letters->getLetters()[0].get();
    picture(letters.get());
    EXPECT_EQ(letters->getLetters()[0].get(), kept);

    letters->setText(u"");
    letters->buildLetters();
    EXPECT_TRUE(letters->getLetters().empty());
}
