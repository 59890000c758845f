#include <cstring>
#include <set>

#include "support/test_support.h"

namespace {
using namespace labarc::testing;

TEST(CStringTest, SlicesAndSearchesClipTheirIndicesToTheString) {
  const CString text = "Archive";
  const std::pair<CString, const char*> cases[] = {
      {text.Left(3), "Arc"},   {text.Left(99), "Archive"},  {text.Left(-1), ""},
      {text.Right(4), "hive"}, {text.Right(99), "Archive"}, {text.Mid(99), ""},
      {text.Mid(2, 3), "chi"}, {text.Mid(5, 99), "ve"},     {text.Mid(-2, 4), "Ar"},
      {text.Right(0), ""},     {text.Mid(2, 0), ""},        {text.Mid(2, -1), ""},
  };
  for (const auto& [slice, expected] : cases) EXPECT_EQ(slice, expected);
  const CString path = "a::b::c";
  EXPECT_TRUE(path.Find("::", 2) == 4 && path.Find("::", 5) == -1 && path.Find('a', 99) == -1 &&
              path.ReverseFind(':') == 5);
  CString buffer;
  std::strcpy(buffer.GetBuffer(8), "ab");
  buffer.ReleaseBuffer();  // up to the terminator
  EXPECT_EQ(buffer, "ab");
  buffer = 'x';
  for (int index : {-1, 1}) {  // checked access
    EXPECT_TRUE(Raises<CInvalidArgException>([&] { buffer.GetAt(index); }));
    EXPECT_TRUE(Raises<CInvalidArgException>([&] { buffer.SetAt(index, 'y'); }));
  }
  buffer.SetAt(0, buffer.GetAt(0) + 1);
  EXPECT_EQ(buffer, "y");
}

TEST(CStringTest, CaseFoldingTrimmingAndOrderTouchOnlyAsciiAndWholeText) {
  EXPECT_EQ(CString("Archive Header").CompareNoCase("ARCHIVE header"), 0);
  EXPECT_TRUE(CString("Name").CompareNoCase("Name ") && CString("\xC4").CompareNoCase("\xE4"));
  CString text = "  [X] \t\r\n";
  EXPECT_EQ(text.TrimRight(), "  [X]");
  EXPECT_EQ(CString("az9\xE4Z").MakeUpper(), "AZ9\xE4Z");
  ASSERT_FALSE(CString("a") < CString("a"));  // a strict order, else the set below is undefined
  const std::set<CString> names = {"b", "a", "b", "A", "ab", "a"};  // equal texts are one key
  EXPECT_EQ(std::vector<CString>(names.begin(), names.end()),
            (std::vector<CString>{"A", "a", "ab", "b"}));
}

}  // namespace
