#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "host/MessageBoxText.h"

namespace {

struct WrapCase {
    const char* name;
    std::string text;
    size_t columns;
    std::string wrapped;
};

// Named in test lists by its name, not by its bytes.
void PrintTo(const WrapCase& wrapCase, std::ostream* out)
{
    *out << wrapCase.name;
}

class MessageBoxTextTest : public ::testing::TestWithParam<WrapCase> {};

TEST_P(MessageBoxTextTest, WrapsToTheColumns)
{
    EXPECT_EQ(GetParam().wrapped, wrapMessageBoxText(GetParam().text, GetParam().columns));
}

const std::string kLongPath = "/home/someone/.local/share/Quillmark/Games/Tortelune/players/players.plrs.!.bak-1765";

INSTANTIATE_TEST_SUITE_P(
    Texts, MessageBoxTextTest,
    ::testing::Values(
        WrapCase{"Empty", "", 10, ""},
        WrapCase{"FitsAsItIs", "one two", 7, "one two"},
        WrapCase{"BreaksAtTheLastSpaceThatFits", "one two three four", 10, "one two\nthree four"},
        WrapCase{"ASpaceJustPastTheEndIsABreak", "abcde fghij", 5, "abcde\nfghij"},
        WrapCase{"OwnBreaksAndEmptyLinesStay", "first line\n\nthird one\n", 20, "first line\n\nthird one\n"},
        WrapCase{"CarriageReturnsGo", "a b\r\nc d\r\n", 20, "a b\nc d\n"},
        WrapCase{"ALongWordIsCut", "abcdefghijkl mn", 5, "abcde\nfghij\nkl mn"},
        WrapCase{"ALeadingSpaceIsNoBreak", " abcdefgh", 4, " abc\ndefg\nh"},
        WrapCase{"NoColumnsAreOne", "ab", 0, "a\nb"},
        WrapCase{"APathBreaksAfterItsSlashes", "/usr/local/share/games", 12, "/usr/local/\nshare/games"},
        WrapCase{"APathAfterWordsStartsItsOwnLine", "kept as: /a/bb/ccc", 12, "kept as:\n/a/bb/ccc"},
        WrapCase{"ALongPath", kLongPath, 24,
                 "/home/someone/.local/\nshare/Quillmark/Games/\nTortelune/players/\nplayers.plrs.!.bak-1765"},
        WrapCase{"MultiByteCharactersCountOnce", "\xC3\xA9\xC3\xA9\xC3\xA9 \xC3\xA9\xC3\xA9", 3,
                 "\xC3\xA9\xC3\xA9\xC3\xA9\n\xC3\xA9\xC3\xA9"},
        WrapCase{"ACutNeverSplitsACharacter", "\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC", 2,
                 "\xE2\x82\xAC\xE2\x82\xAC\n\xE2\x82\xAC"}),
    [](const ::testing::TestParamInfo<WrapCase>& info) { return std::string(info.param.name); });

// Every line of a real box's text fits the default columns, and no
// character but the spaces at the breaks is lost.
TEST(MessageBoxText, TheDamagedPlayersNoticeFitsAndKeepsItsWords)
{
    const std::string text =
        "The bakers' file was damaged, and the progress of some bakers could not be read back. Everything that "
        "could be read was kept. The damaged file was kept aside as:\n" +
        kLongPath + kLongPath;
    const std::string wrapped = wrapMessageBoxText(text);
    size_t lineStart = 0;
    for (;;) {
        const size_t end = wrapped.find('\n', lineStart);
        const size_t length = (end == std::string::npos ? wrapped.size() : end) - lineStart;
        EXPECT_LE(length, kMessageBoxColumns) << wrapped.substr(lineStart, length);
        if (end == std::string::npos)
            break;
        lineStart = end + 1;
    }
    std::string withoutBreaks;
    for (char c : text)
        if (c != ' ' && c != '\n')
            withoutBreaks += c;
    std::string wrappedWithoutBreaks;
    for (char c : wrapped)
        if (c != ' ' && c != '\n')
            wrappedWithoutBreaks += c;
    EXPECT_EQ(withoutBreaks, wrappedWithoutBreaks);
}

// A text longer than a screen holds ends in a line that says there was more.
TEST(MessageBoxText, TooManyLinesEndInAnEllipsis)
{
    std::string text;
    for (int line = 0; line < 40; ++line)
        text += "line " + std::to_string(line) + "\n";
    const std::string wrapped = wrapMessageBoxText(text, 64, 5);
    EXPECT_EQ("line 0\nline 1\nline 2\nline 3\n...", wrapped);
    // No limit at all keeps every line.
    EXPECT_EQ(text, wrapMessageBoxText(text, 64, 0));
}

} // namespace
