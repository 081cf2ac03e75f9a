#include <gtest/gtest.h>

#include "support/FontFixtures.h"
#include "framework/scenegraph/LabelLayout.h"

using namespace LabelLayout;

namespace {

class LabelLayoutTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        font = loadTestFont("testfont");
        ASSERT_TRUE(font);
    }
    int32_t width(const WString& text) const { return textWidth(*font, text); }
    std::vector<WString> wrap(const WString& text, int32_t w) const
    {
        return breakLines(*font, text, WrapWordWrap, w);
    }

    RefPointer<BitmapFont> font;
};

} // namespace

TEST(LabelLayoutParagraphs, KeepInnerEmptyPiecesButNotATrailingBreak)
{
    EXPECT_TRUE(splitParagraphs(u"").empty());
    EXPECT_EQ(splitParagraphs(u"word\n"), (std::vector<WString>{u"word"}));
    EXPECT_EQ(splitParagraphs(u"one\n\ntwo"), (std::vector<WString>{u"one", u"", u"two"}));
    EXPECT_EQ(splitParagraphs(u"\nlead"), (std::vector<WString>{u"", u"lead"}));
    EXPECT_EQ(splitParagraphs(u"\n\n"), (std::vector<WString>{u"", u""}));
}

TEST_F(LabelLayoutTest, AutoWidthKeepsParagraphsWhole)
{
    EXPECT_EQ(breakLines(*font, u"a long line\nb", WrapAutoWidth, 1), (std::vector<WString>{u"a long line", u"b"}));
    EXPECT_TRUE(breakLines(*font, u"text", -1, 100).empty());
}

TEST_F(LabelLayoutTest, WordWrapBreaksAtTheLastBlankThatFits)
{
    const int32_t w = width(u"Hello World") - 1;
    EXPECT_EQ(wrap(u"Hello World", w), (std::vector<WString>{u"Hello", u"World"}));
    // The break is at the last blank that fits; blanks after it start no line.
    EXPECT_EQ(wrap(u"Hello  \t World", width(u"Hello  ")), (std::vector<WString>{u"Hello  ", u"World"}));
    EXPECT_EQ(wrap(u"a  b", 1000), (std::vector<WString>{u"a  b"}));
    // Three words, two per line.
    EXPECT_EQ(wrap(u"one two three", width(u"one two")), (std::vector<WString>{u"one two", u"three"}));
    EXPECT_EQ(wrap(u"Hi\n\nthere", 1000), (std::vector<WString>{u"Hi", u"", u"there"}));
}

TEST_F(LabelLayoutTest, WordWrapCutsALongWordAfterItsLongestFittingPrefix)
{
    const int32_t w = width(u"Abcd");
    const std::vector<WString> lines = wrap(u"Abcdefghij", w);
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[0], u"Abcd");
    WString joined;
    for (const WString& line : lines) {
        EXPECT_LE(width(line), w) << toNarrowString(line);
        joined += line;
    }
    EXPECT_EQ(joined, u"Abcdefghij");
}

TEST_F(LabelLayoutTest, WordWrapNarrowerThanACharacterGivesOnePerLine)
{
    EXPECT_EQ(wrap(u"WMW", 1), (std::vector<WString>{u"W", u"M", u"W"}));
    EXPECT_EQ(wrap(u"a b", 0), (std::vector<WString>{u"a", u"b"}));
}

TEST_F(LabelLayoutTest, TruncateEndsInDotsNeverAfterABlank)
{
    EXPECT_EQ(truncateParagraph(*font, u"Hello World", 1000), u"Hello World");
    EXPECT_EQ(truncateParagraph(*font, u"Hello World", width(u"Hello W...")), u"Hello W...");
    // Room for "Hello ..." but not for "Hello W...": the blank is not kept.
    const int32_t justShort = width(u"Hello W...") - 1;
    EXPECT_EQ(truncateParagraph(*font, u"Hello World", justShort), u"Hello...");
    EXPECT_EQ(truncateParagraph(*font, u"Hello   ", width(u"Hello...")), u"Hello...");
    EXPECT_EQ(truncateParagraph(*font, u"Hello World", width(u"H...") - 1), u"");
    EXPECT_EQ(breakLines(*font, u"Hello World\nBye", WrapTruncate, width(u"Hel...")),
              (std::vector<WString>{u"Hel...", u"Bye"}));
}

TEST_F(LabelLayoutTest, PlacesLinesByAlignment)
{
    const std::vector<WString> texts{u"Wide line here", u"ab"};
    std::vector<LabelLine> lines;
    const int32_t widest = placeLines(*font, texts, AlignCenter, 15, lines);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(widest, width(u"Wide line here"));
    EXPECT_EQ(lines[0].x, 0);
    EXPECT_EQ(lines[1].x, (widest - width(u"ab")) / 2);
    EXPECT_EQ(lines[1].y, 15);
    EXPECT_EQ(lines[1].width, width(u"ab"));
    placeLines(*font, texts, AlignRight, 15, lines);
    EXPECT_EQ(lines[1].x, widest - width(u"ab"));
    placeLines(*font, texts, -1, 15, lines);
    EXPECT_EQ(lines[1].x, 0);
    EXPECT_EQ(placeLines(*font, {}, AlignLeft, 15, lines), 0);
    EXPECT_TRUE(lines.empty());
}
