#include "support/test_support.h"

namespace {
using namespace labarc::testing;

std::string Header(const char* version, const char* name, const char* applVersion = "3.51") {
  return Lines({"[Archive Header]", std::string("Archive Version Number=") + version,
                std::string("Application Name=") + name,
                std::string("Application Version Number=") + applVersion});
}

TEST(ArchiveHeader, WritesFourLinesOrFailsWhenTheNameCannotBeWritten) {
  StoreArchive store(0, "Plotter", 3.51), unwritable(0, "Two\nLines");
  EXPECT_EQ((std::tuple{store->WriteHeader(), store->GetCurLineNum()}), (std::tuple{1, 4}));
  EXPECT_EQ(store.Text(), Header("1.03", "Plotter"));
  EXPECT_EQ(unwritable->WriteHeader(), 0);  // and nothing after the name
  EXPECT_EQ(unwritable.Text(), Lines({"[Archive Header]", "Archive Version Number=1.03"}));
}

// Read whole, or the caller's version stays. A newer format shows its own box even when quiet.
TEST(ArchiveHeader, AcceptsOlderFormatsAndContainingNames) {
  ReportRecorder reports;
  // clang-format off
  const std::pair<std::string, bool> cases[] = {
      {Header("1.03", "Plotter"), true},        {Header("1.0", "Plotter"), true},
      {Header("1.03", "Plotter Pro 64"), true}, {Header("1.03", "The Plotter"), true},
      {Header("1.03", "PLOTTER"), false},       {Header("1.03", "Spreadsheet"), false},
      {Header("new", "Plotter"), false},        {Header("1.03", "Plotter", "x"), false},
      {Lines({"[Data]", "X=1"}), false},        {Header("1.04", "Plotter"), false},
      {Lines({"[Archive Header]", "Archive Version Number=1.03"}), false},
      {Lines({"[Archive Header]", "Application Name=Plotter", "Archive Version Number=1.03",
              "Application Version Number=3.51"}), false},
  };
  // clang-format on
  for (const auto& [text, accepted] : cases) {
    LoadArchive load(text, 0, "Plotter", 7.5);
    EXPECT_EQ(load->ReadHeader(), accepted ? 1 : 0) << text;
    EXPECT_EQ(load->GetApplVersion(), accepted ? 3.51 : 7.5) << text;
  }
  ASSERT_EQ(reports.boxes.size(), 1u);  // for 1.04 alone
  EXPECT_EQ(reports.boxes[0].caption + reports.boxes[0].text,
            "ERRORThe File Archive Version Number 1.040000 is greater than the Archive Libraries "
            "Version Number 1.030000!");
  EXPECT_EQ(reports.boxes[0].style, 4112u);
}

TEST(Sections, HeadersAreWrittenAsNamedAndReadWhenBracketed) {
  AfxSetStringResource(6001, "Curves");
  StoreArchive ar;
  EXPECT_EQ((std::vector<int>{ar->WriteSectionHeader(CString("Graph [1]")),
                              ar->WriteSectionHeader(CString("")), ar->WriteSectionHeader(6001u),
                              ar->WriteSectionHeader(6999u)}),  // in order: a braced list
            (std::vector<int>{1, 1, 1, 0}));
  EXPECT_EQ(ar.Text(), Lines({"[Graph [1]]", "[]", "[Curves]"}));
  LoadArchive load(ar.Text());
  EXPECT_EQ((std::tuple{load->GoToSection(6999u), load->GetCurLineNum()}),  // nothing scanned
            (std::tuple{0, 0}));
  EXPECT_EQ((std::tuple{load->GoToSection(6001u), load->GetCurLineNum()}), (std::tuple{1, 3}));
  AfxRemoveStringResource(6001);

  LoadArchive read(Lines({"A=1", "", "[]", " [Indented]", "[X]  ", "[A]B]", "[Last"}));
  CString name;
  EXPECT_EQ((std::tuple{read->ReadSectionHeader(name), name, read->GetCurLineNum()}),
            (std::tuple{1, CString("X"), 5}));
  EXPECT_EQ((std::tuple{read->ReadSectionHeader(name), name}), (std::tuple{1, CString("A]B")}));
  EXPECT_EQ((std::tuple{read->ReadSectionHeader(name), read->GetCurLineNum()}), (std::tuple{0, 7}));
}

// Whole lines in any case, passing over lines too long to hold, only going forward.
TEST(Sections, GoToSectionMatchesWholeLinesOnlyGoingForward) {
  LoadArchive ar(std::string(3 << 20, '[') + "\r\n" +
                 Lines({"[archive header] ", "[First]", "[ARCHIVE HEADER]", "[Second]", "a"}));
  EXPECT_EQ((std::tuple{ar->GoToSection(CString("Archive Header")), ar->GetCurLineNum()}),
            (std::tuple{1, 4}));
  EXPECT_EQ(ar->GoToSection(CString("Second")), 1);
  EXPECT_EQ((std::tuple{ar->GoToSection(CString("First")), ar->GetCurLineNum()}),  // passed
            (std::tuple{0, 6}));
}

}  // namespace
