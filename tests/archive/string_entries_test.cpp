#include "support/test_support.h"

namespace {
using namespace labarc::testing;

// A value and a label (null: none) give one line, or nothing when a line end or the length forbids.
TEST(StringEntryWrite, GivesOneLineOrNothing) {
  const std::string limit(CArchiveEx::MAX_LINE_LENGTH, 'x'), longest(limit.size() - 2, 'x');
  const std::tuple<std::string, const char*, std::string> cases[] = {
      {"abc", "Name", "Name=abc"}, {"abc", nullptr, "abc"},       {"abc", "", "=abc"},
      {"", "Name", "Name="},       {"x = y", "A=B", "A=B=x = y"}, {"two\r\nlines", "Text", ""},
      {"x", "Bad\nLabel", ""},     {"cr\r", nullptr, ""},         {longest, "T", "T=" + longest},
      {longest + "x", "T", ""},    {limit, nullptr, limit},       {limit + "x", nullptr, ""},
  };
  for (const auto& [value, labelText, line] : cases) {
    StoreArchive ar;
    CString label = labelText;
    EXPECT_EQ(ar->Write(CString(value), labelText ? &label : nullptr), line.empty() ? 0 : 1);
    EXPECT_EQ(ar->GetCurLineNum(), line.empty() ? 0 : 1);
    EXPECT_EQ(ar.Text(), line.empty() ? "" : line + "\r\n");
  }
  StoreArchive ar;  // a label from a missing string resource
  EXPECT_EQ((std::tuple{ar->Write(CString("x"), 7999u), ar.Text(), ar->GetCurLineNum()}),
            (std::tuple{0, std::string(), 0}));
}

// A line, a label (null: none), then the value and label taken (null: refused, both kept).
TEST(StringEntryRead, MatchesTheLabelWithoutRegardToCase) {
  // clang-format off
  const std::tuple<const char*, const char*, const char*, const char*> cases[] = {
      {"Name=abc", "Name", "abc", "Name"},      {"NAME=x", "name", "x", "NAME"},
      {"Name=", "Name", "", "Name"},            {"A=B=C", "A", "B=C", "A"},
      {"Name= x ", "Name", " x ", "Name"},      {"Key=Val", "", "Val", "Key"},
      {"=Val", "", "Val", ""},                  {"plain text", "", "plain text", ""},
      {"A=B", nullptr, "A=B", ""},              {"N\xC4me=v", "n\xC4ME", "v", "N\xC4me"},
      {"Name = x", "Name", nullptr, nullptr},   {"Name", "Name", nullptr, nullptr},
      {"Names=x", "Name", nullptr, nullptr},    {"Other=x", "Name", nullptr, nullptr},
      {"N\xE4me=v", "N\xC4me", nullptr, nullptr},
  };
  // clang-format on
  for (const auto& [line, labelText, valueAfter, labelAfter] : cases) {
    LoadArchive ar(Lines({line}));
    CString label = labelText;
    CString value = "old";
    EXPECT_EQ(ar->Read(value, labelText ? &label : nullptr), valueAfter ? 1 : 0) << line;
    EXPECT_EQ(value, valueAfter ? valueAfter : "old") << line;
    EXPECT_TRUE(!labelText || label == (valueAfter ? labelAfter : labelText)) << line;
    EXPECT_EQ(ar->GetCurLineNum(), 1);
  }
  LoadArchive ar(Lines({"NAME=2"}));  // the reference form never takes the file's spelling
  const CString label = "name";
  CString value;
  EXPECT_EQ((std::tuple{ar->Read(value, label), ar->Read(value, label), value, label}),
            (std::tuple{1, 0, CString("2"), CString("name")}));  // then the end
}

}  // namespace
