#include <gtest/gtest.h>

#include "framework/platform/FileNames.h"

namespace {

TEST(FileNamesTest, FileSafeNames)
{
    EXPECT_EQ("-41-nn", fileSafeName("Ann"));
    EXPECT_EQ("ann-20-2", fileSafeName("ann 2"));
    EXPECT_EQ("", fileSafeName(""));
    EXPECT_EQ("-FFFFFFE9-", fileSafeName("\xE9"));
    EXPECT_EQ("zo-FFFFFFC3--FFFFFFA9-", fileSafeName("zo\xC3\xA9"));
    EXPECT_EQ("-2F--2E--2E--5C-", fileSafeName("/..\\"));
    EXPECT_EQ("09az", fileSafeName("09az"));
}

TEST(FileNamesTest, PathNormalising)
{
    EXPECT_EQ("a/b/c/d", normalizePath("a\\b//c/./d"));
    EXPECT_EQ("a/b", normalizePath("a\\\\\\b"));
    EXPECT_EQ("a", normalizePath("./a"));
    EXPECT_EQ("", normalizePath(""));
    // Parent segments survive; only "." segments go.
    EXPECT_EQ("../media/x.xml", normalizePath("..\\media\\.\\x.xml"));
    EXPECT_EQ("/abs/file.xml", normalizePath("//abs//file.xml"));
    EXPECT_EQ("dir./file", normalizePath("dir./file"));

    EXPECT_EQ("media/images/a.png", normalizeResourcePath("\\Media\\Images\\A.PNG"));
    EXPECT_EQ("media/images/a.png", normalizeResourcePath(".\\Media\\Images\\A.PNG"));
    EXPECT_EQ("font.xml", getDirectoryPart("font.xml"));
    EXPECT_EQ("media/fonts", getDirectoryPart("media/fonts/big.xml"));
    EXPECT_EQ("media/fonts", getDirectoryPart("media\\fonts\\big.xml"));
}

} // namespace
