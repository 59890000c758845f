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

TEST(CStringTest, FormatGrowsToAnyLength) {
  CString text;
  text.Format("%s|%d|%f", std::string(5000, 'x').c_str(), -7, 1.03);
  EXPECT_EQ(text.GetLength(), 5000 + 2 + 2 + 8);
  EXPECT_EQ(text.Right(12), "|-7|1.030000");
}

TEST(CStringTest, HoldsEmbeddedNulBytes) {
  const CString text(std::string_view("a\0b", 3));
  EXPECT_EQ(text.GetLength(), 3);
  EXPECT_EQ(text.GetAt(2), 'b');
}

TEST(CStringTest, LoadStringReadsTheStringTable) {
  AfxSetStringResource(4001, "Line Width");
  CString text = "unchanged";
  EXPECT_TRUE(text.LoadString(4001));
  EXPECT_EQ(text, "Line Width");
  AfxRemoveStringResource(4001);
  EXPECT_FALSE(text.LoadString(4001));
}

TEST(CStringTest, CheckedIndexRaisesInvalidArgument) {
  const CString text = "ab";
  try {
    (void)text[2];
    FAIL() << "no exception";
  } catch (CInvalidArgException* error) {
    error->Delete();
  }
}

}  // namespace
