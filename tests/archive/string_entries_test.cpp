#include "support/test_support.h"

namespace labarc::testing {
namespace {

TEST(StringEntryWrite, LabelFormsGiveTheirLines) {
  StoreArchive ar;
  CString name = "Name";
  CString empty;
  EXPECT_EQ(ar->Write(CString("abc"), &name), 1);
  EXPECT_EQ(ar->Write(CString("abc"), static_cast<CString*>(nullptr)), 1);
  EXPECT_EQ(ar->Write(CString("abc"), &empty), 1);
  EXPECT_EQ(ar->Write(CString(""), CString("Name")), 1);
  EXPECT_EQ(ar->Write(CString("x = y"), CString("A=B")), 1);
  EXPECT_EQ(ar.Text(), Lines({"Name=abc", "abc", "=abc", "Name=", "A=B=x = y"}));
  EXPECT_EQ(ar->GetCurLineNum(), 5);
}

// A line read with a label (null: none): accepted or not, the value and the label afterwards.
TEST(StringEntryRead, MatchesTheLabelWithoutRegardToCase) {
  const std::tuple<const char*, const char*, bool, const char*, const char*> cases[] = {
      {"Name=abc", "Name", true, "abc", "Name"},
      {"NAME=x", "name", true, "x", "NAME"},
      {"Name=", "Name", true, "", "Name"},
      {"A=B=C", "A", true, "B=C", "A"},
      {"Name= x ", "Name", true, " x ", "Name"},
      {"Name = x", "Name", false, "", ""},
      {"Name", "Name", false, "", ""},
      {"Names=x", "Name", false, "", ""},
      {"Other=x", "Name", false, "", ""},
      {"Key=Val", "", true, "Val", "Key"},
      {"=Val", "", true, "Val", ""},
      {"plain text", "", true, "plain text", ""},
      {"A=B", nullptr, true, "A=B", ""},
      {"N\xC4me=v", "n\xC4ME", true, "v", "N\xC4me"},
      {"N\xE4me=v", "N\xC4me", false, "", ""},
  };
  for (const auto& [line, labelText, accepted, valueAfter, labelAfter] : cases) {
    LoadArchive ar(Lines({line}));
    CString label = labelText ? labelText : "";
    CString value = "old";
    EXPECT_EQ(ar->Read(value, labelText ? &label : nullptr), accepted ? 1 : 0) << line;
    EXPECT_EQ(value, accepted ? valueAfter : "old") << line;
    EXPECT_TRUE(!labelText || label == (accepted ? labelAfter : labelText)) << line;
    EXPECT_EQ(ar->GetCurLineNum(), 1);
  }
}

TEST(StringEntryRead, FailuresConsumeOnlyTheLineTheyRead) {
  LoadArchive ar(Lines({"Wrong=1", "NAME=2"}));
  const CString label = "name";
  CString value = "old";
  EXPECT_EQ(ar->Read(value, label), 0);  // mismatch: the line is consumed
  EXPECT_EQ(ar->Read(value, label), 1);
  EXPECT_EQ(value, "2");
  EXPECT_EQ(label, "name");              // the reference form never takes the file's spelling
  EXPECT_EQ(ar->Read(value, label), 0);  // end of file
  EXPECT_EQ(value, "2");
  EXPECT_EQ(ar->GetCurLineNum(), 2);
}

TEST(StringEntryResource, MissingResourceReportsNoNameAndTouchesNothing) {
  ReportRecorder reports;
  LoadArchive load(Lines({"A=1"}), 1);
  CString value = "old";
  EXPECT_EQ(ThrownArchiveCause([&] { load->Read(value, 7999u); }), CArchiveException::badIndex);
  EXPECT_EQ(load->GetCurLineNum(), 0);
  EXPECT_EQ(value, "old");
  StoreArchive store(1);
  EXPECT_EQ(ThrownArchiveCause([&] { store->Write(value, 7999u); }), CArchiveException::badIndex);
  EXPECT_EQ(store.Text(), "");
  EXPECT_EQ(store->GetCurLineNum(), 0);
  ASSERT_EQ(reports.boxes.size(), 2u);
  for (const auto& box : reports.boxes) EXPECT_EQ(box.text.find("Section/Entry"), box.text.npos);
}

TEST(StringEntryWrite, RefusesLineEndsThatWouldSplitTheEntry) {
  StoreArchive ar;
  EXPECT_EQ(ar->Write(CString("two\r\nlines"), CString("Text")), 0);
  EXPECT_EQ(ar->Write(CString("x"), CString("Bad\nLabel")), 0);
  EXPECT_EQ(ar->Write(CString("cr\r"), static_cast<CString*>(nullptr)), 0);
  EXPECT_EQ(ar.Text(), "");
  EXPECT_EQ(ar->GetCurLineNum(), 0);
}

TEST(StringEntryWrite, RefusesLinesLongerThanTheReaderAccepts) {
  StoreArchive ar;
  const auto text = [](std::size_t length) { return CString(std::string(length, 'x')); };
  const std::size_t limit = CArchiveEx::MAX_LINE_LENGTH;
  const CString longest = text(limit - 2);
  EXPECT_EQ(ar->Write(text(limit - 1), CString("T")), 0);  // one character over, with "T="
  EXPECT_EQ(ar->Write(longest, CString("T")), 1);
  EXPECT_EQ(ar->Write(text(limit), static_cast<CString*>(nullptr)), 1);
  EXPECT_EQ(ar->Write(text(limit + 1), static_cast<CString*>(nullptr)), 0);
  LoadArchive load(ar.Text());
  CString value;
  EXPECT_EQ(load->Read(value, CString("T")), 1);
  EXPECT_EQ(value, longest);
  EXPECT_EQ(load->Read(value, static_cast<CString*>(nullptr)), 1);
  EXPECT_EQ(value.GetLength(), static_cast<int>(CArchiveEx::MAX_LINE_LENGTH));
}

}  // namespace
}  // namespace labarc::testing
