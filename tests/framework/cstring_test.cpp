#include <gtest/gtest.h>

#include "labarc.h"

namespace {

TEST(CStringTest, SlicesClipTheirCountsToTheString) {
  const CString text = "Archive";
  EXPECT_EQ(text.Left(3), "Arc");
  EXPECT_EQ(text.Left(99), "Archive");
  EXPECT_EQ(text.Left(-1), "");
  EXPECT_EQ(text.Right(4), "hive");
  EXPECT_EQ(text.Right(99), "Archive");
  EXPECT_EQ(text.Mid(4), "ive");
  EXPECT_EQ(text.Mid(99), "");
  EXPECT_EQ(text.Mid(2, 3), "chi");
  EXPECT_EQ(text.Mid(5, 99), "ve");
  EXPECT_EQ(text.Mid(-2, 4), "Ar");
}

TEST(CStringTest, FindGivesMinusOneWhenAbsent) {
  const CString text = "a::b::c";
  EXPECT_EQ(text.Find("::"), 1);
  EXPECT_EQ(text.Find("::", 2), 4);
  EXPECT_EQ(text.Find("::", 5), -1);
  EXPECT_EQ(text.Find('c'), 6);
  EXPECT_EQ(text.Find('z'), -1);
  EXPECT_EQ(text.Find('a', 99), -1);
  EXPECT_EQ(text.Find(""), 0);
}

TEST(CStringTest, ComparisonsFoldOnlyAsciiLetters) {
  EXPECT_EQ(CString("Archive Header").CompareNoCase("ARCHIVE header"), 0);
  EXPECT_NE(CString("Name").CompareNoCase("Name "), 0);
  EXPECT_LT(CString("abc").Compare("abd"), 0);
  EXPECT_NE(CString("\xC4").CompareNoCase("\xE4"), 0);
}

TEST(CStringTest, TrimRightRemovesTrailingWhiteSpaceOnly) {
  CString text = "  [X] \t\r\n";
  EXPECT_EQ(text.TrimRight(), "  [X]");
}

}  // namespace
