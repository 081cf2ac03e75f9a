#include <gtest/gtest.h>

#include "framework/core/StringUtils.h"

TEST(StringUtils, SplitKeepsEmptyPartsOnlyWhenAsked)
{
    std::vector<WString> parts;
    splitString(u"a,,b", parts, u",", false);
    EXPECT_EQ(parts, (std::vector<WString>{u"a", u"b"}));
    parts.clear();
    splitString(u"a,,b", parts, u",", true);
    EXPECT_EQ(parts, (std::vector<WString>{u"a", u"", u"b"}));
    parts.clear();
    splitString(u",a", parts, u",", false);
    EXPECT_EQ(parts, (std::vector<WString>{u"a"}));
    parts.clear();
    splitString(u",a", parts, u",", true);
    EXPECT_EQ(parts, (std::vector<WString>{u"", u"a"}));
    parts.clear();
    splitString(u"a,", parts, u",", true);
    EXPECT_EQ(parts, (std::vector<WString>{u"a"}));
    parts.clear();
    splitString(u"abc", parts, u"", false);
    EXPECT_EQ(parts, (std::vector<WString>{u"abc"}));
    parts.clear();
    splitString(u"", parts, u"", true);
    EXPECT_TRUE(parts.empty());
    // Multi-character delimiters and appending to an existing list.
    std::vector<std::string> narrow{"x"};
    splitString(std::string("1::2::3"), narrow, std::string("::"), false);
    EXPECT_EQ(narrow, (std::vector<std::string>{"x", "1", "2", "3"}));
}

TEST(StringUtils, TrimReportsWhetherAnythingWasRemoved)
{
    WString blanks = u" \t \t";
    EXPECT_TRUE(trimWhitespace(blanks));
    EXPECT_TRUE(blanks.empty());
    WString plain = u"word";
    EXPECT_FALSE(trimWhitespace(plain));
    EXPECT_EQ(plain, u"word");
    WString both = u"  mid dle\t";
    EXPECT_TRUE(trimWhitespace(both, true, false));
    EXPECT_EQ(both, u"mid dle\t");
    EXPECT_TRUE(trimWhitespace(both, false, true));
    EXPECT_EQ(both, u"mid dle");
    std::string digits = "007100";
    EXPECT_TRUE(trim(digits, "0", true, true));
    EXPECT_EQ(digits, "71");
}

TEST(StringUtils, ReplaceDoesNotRescanInsertedText)
{
    WString text = u"one\\ntwo\\nthree";
    EXPECT_TRUE(replaceAll(text, u"\\n", u"\n", true));
    EXPECT_EQ(text, u"one\ntwo\nthree");

    WString as = u"banana";
    EXPECT_TRUE(replaceAll(as, u"a", u"aa", true));
    EXPECT_EQ(as, u"baanaanaa");

    WString once = u"aaa";
    EXPECT_TRUE(replaceAll(once, u"a", u"b", false));
    EXPECT_EQ(once, u"baa");

    WString unchanged = u"abc";
    EXPECT_FALSE(replaceAll(unchanged, u"", u"x", true));
    EXPECT_FALSE(replaceAll(unchanged, u"z", u"x", true));

    std::string path = "media\\levels\\a.xml";
    EXPECT_TRUE(replaceInString(path, "\\", "/", true));
    EXPECT_EQ(path, "media/levels/a.xml");
}

TEST(StringUtils, Utf8AndUtf16RoundTrip)
{
    const std::string narrow = "P\xC3\xA2tisserie \xE2\x82\xAC \xF0\x9F\x8D\xB0";
    const WString wide = toWideString(narrow);
    EXPECT_EQ(wide, u"P\u00E2tisserie \u20AC \U0001F370");
    EXPECT_EQ(toNarrowString(wide), narrow);
    // The edges of each encoding length, both ways.
    const struct {
        std::string narrow;
        WString wide;
    } edges[] = {
        {"\xEF\xBF\xBF", u"\uFFFF"},
        {"\xF0\x90\x80\x80", u"\U00010000"},
        {"\xF0\x90\x8F\xBF", u"\U000103FF"},
        {"\xF4\x8F\xBF\xBF", u"\U0010FFFF"},
    };
    for (const auto& edge : edges) {
        EXPECT_EQ(toWideString(edge.narrow), edge.wide) << edge.narrow;
        EXPECT_EQ(toNarrowString(edge.wide), edge.narrow) << edge.narrow;
    }
    EXPECT_EQ(intToString(-42), "-42");
    EXPECT_EQ(intToWString(2147483647), u"2147483647");
}

TEST(StringUtils, MalformedTextBecomesReplacementCharacters)
{
    // A lone continuation byte, a truncated sequence and an overlong encoding.
    EXPECT_EQ(toWideString("a\x80" "b"), u"a\uFFFDb");
    EXPECT_EQ(toWideString("x\xE2\x82"), u"x\uFFFD");
    EXPECT_EQ(toWideString("\xC0\xAF"), u"\uFFFD");
    // Encoded surrogates (first and last) and a code beyond the last plane.
    EXPECT_EQ(toWideString("\xED\xA0\x80"), u"\uFFFD");
    EXPECT_EQ(toWideString("\xED\xBF\xBF"), u"\uFFFD");
    EXPECT_EQ(toWideString("\xF4\x90\x80\x80"), u"\uFFFD");
    WString lone;
    lone += static_cast<char16_t>(0xD800);
    lone += u'z';
    EXPECT_EQ(toNarrowString(lone), "\xEF\xBF\xBDz");
}

TEST(StringUtils, AsciiCaseHelpers)
{
    EXPECT_EQ(toLowerAscii("Media/LEVELS/L1.XML"), "media/levels/l1.xml");
    EXPECT_EQ(toUpperAscii("text_ok"), "TEXT_OK");
    // Both ends of the alphabet, and the characters just outside it.
    EXPECT_EQ(toLowerAscii("@AZ["), "@az[");
    EXPECT_EQ(toUpperAscii("`az{"), "`AZ{");
    EXPECT_TRUE(equalsIgnoreCaseAscii("-UnitTest", "-unittest"));
    EXPECT_FALSE(equalsIgnoreCaseAscii("abc", "abcd"));
    EXPECT_FALSE(equalsIgnoreCaseAscii("abc", "abd"));
}
