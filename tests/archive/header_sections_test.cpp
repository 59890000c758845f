#include "support/test_support.h"

namespace labarc::testing {
namespace {

std::string Header(const char* version, const char* name, const char* applVersion) {
  return Lines({"[Archive Header]", std::string("Archive Version Number=") + version,
                std::string("Application Name=") + name,
                std::string("Application Version Number=") + applVersion});
}

TEST(ArchiveHeader, WritesFourLinesAndReadsThemBack) {
  StoreArchive store(0, "Plotter", 3.51);
  ASSERT_EQ(store->WriteHeader(), 1);
  EXPECT_EQ(store->GetCurLineNum(), 4);
  const std::string text = store.Text();
  EXPECT_EQ(text, Header("1.03", "Plotter", "3.51"));

  LoadArchive load(text, 0, "Plotter", 9.0);
  ASSERT_EQ(load->ReadHeader(), 1);
  EXPECT_EQ(load->GetArchiveVersion(), 1.03);
  EXPECT_EQ(load->GetApplVersion(), 3.51);
  EXPECT_EQ(load->GetCurLineNum(), 4);
}

TEST(ArchiveHeader, AcceptsOlderFormatsAndContainingNames) {
  const std::pair<std::string, bool> cases[] = {
      {Header("1.03", "Plotter", "4"), true},
      {Header("1.0", "Plotter", "4"), true},
      {Header("1.03", "Plotter Pro 64", "4"), true},
      {Header("1.03", "The Plotter", "4"), true},
      {"junk\r\n[Other]\r\nX=1\r\n" + Header("1.03", "Plotter", "4"), true},
      {Header("1.03", "PLOTTER", "4"), false},
      {Header("1.03", "Spreadsheet", "4"), false},
      {Header("1.04", "Plotter", "4"), false},
      {Header("new", "Plotter", "4"), false},
      {Lines({"[Data]", "X=1"}), false},
      {Lines({"[Archive Header]", "Archive Version Number=1.03"}), false},
      {Lines({"[Archive Header]", "Application Name=Plotter", "Archive Version Number=1.03",
              "Application Version Number=4"}),
       false},
  };
  for (const auto& [text, accepted] : cases) {
    LoadArchive load(text, 0, "Plotter");
    EXPECT_EQ(load->ReadHeader(), accepted ? 1 : 0) << text;
  }
}

TEST(ArchiveHeader, AnApplicationNameThatCannotBeWrittenFailsTheHeader) {
  StoreArchive store(0, "Two\nLines");
  EXPECT_EQ(store->WriteHeader(), 0);
  EXPECT_EQ(store.Text(), Lines({"[Archive Header]", "Archive Version Number=1.03"}));
}

TEST(ArchiveHeader, NewerFormatShowsItsOwnBoxEvenInQuietMode) {
  ReportRecorder reports;
  LoadArchive load(Header("1.04", "Plotter", "4"), 0);
  EXPECT_EQ(load->ReadHeader(), 0);
  ASSERT_EQ(reports.boxes.size(), 1u);
  EXPECT_EQ(reports.boxes[0].caption, "ERROR");
  EXPECT_EQ(reports.boxes[0].style, 4112u);
  EXPECT_EQ(reports.boxes[0].text,
            "The File Archive Version Number 1.040000 is greater than the Archive Libraries "
            "Version Number 1.030000!");
  EXPECT_EQ(load->GetArchiveVersion(), 1.04);

  // With reports on, the usual "File Error" report follows and the exception is thrown.
  LoadArchive reporting(Header("2", "Plotter", "4"), 1);
  EXPECT_EQ(ThrownArchiveCause([&] { reporting->ReadHeader(); }), CArchiveException::badIndex);
  ASSERT_EQ(reports.boxes.size(), 3u);
  EXPECT_EQ(reports.boxes[2].caption, "File Error");
}

TEST(ArchiveHeader, RefusedNameKeepsTheCallersApplicationVersion) {
  LoadArchive load(Header("1.01", "Other", "2"), 0, "Plotter", 7.5);
  EXPECT_EQ(load->ReadHeader(), 0);
  EXPECT_EQ(load->GetArchiveVersion(), 1.01);
  EXPECT_EQ(load->GetApplVersion(), 7.5);
}

TEST(Sections, WriteSectionHeaderWritesTheNameUnchanged) {
  AfxSetStringResource(6001, "Curves");
  StoreArchive ar;
  EXPECT_EQ(ar->WriteSectionHeader(CString("Graph [1]")), 1);
  EXPECT_EQ(ar->WriteSectionHeader(CString("")), 1);
  EXPECT_EQ(ar->WriteSectionHeader(6001u), 1);
  EXPECT_EQ(ar->WriteSectionHeader(6999u), 0);
  EXPECT_EQ(ar.Text(), Lines({"[Graph [1]]", "[]", "[Curves]"}));
  LoadArchive load(ar.Text());
  EXPECT_EQ(load->GoToSection(6999u), 0);  // a missing name scans nothing
  EXPECT_EQ(load->GetCurLineNum(), 0);
  EXPECT_EQ(load->GoToSection(6001u), 1);
  EXPECT_EQ(load->GetCurLineNum(), 3);
  AfxRemoveStringResource(6001);
}

TEST(Sections, ReadSectionHeaderSkipsEverythingButBracketedLines) {
  LoadArchive ar(Lines({"A=1", "", "[]", " [Indented]", "[X]  ", "[A]B]", "[Last"}));
  CString name;
  ASSERT_EQ(ar->ReadSectionHeader(name), 1);
  EXPECT_EQ(name, "X");
  EXPECT_EQ(ar->GetCurLineNum(), 5);
  ASSERT_EQ(ar->ReadSectionHeader(name), 1);
  EXPECT_EQ(name, "A]B");
  EXPECT_EQ(ar->ReadSectionHeader(name), 0);
  EXPECT_EQ(ar->GetCurLineNum(), 7);
}

TEST(Sections, GoToSectionMatchesWholeLinesOnlyGoingForward) {
  LoadArchive ar(Lines({"[archive header] ", "[First]", "x", "[ARCHIVE HEADER]", "[Second]"}));
  EXPECT_EQ(ar->GoToSection(CString("Archive Header")), 1);
  EXPECT_EQ(ar->GetCurLineNum(), 4);
  EXPECT_EQ(ar->GoToSection(CString("Second")), 1);
  EXPECT_EQ(ar->GetCurLineNum(), 5);
}

TEST(Sections, GoToSectionPassedAlreadyFailsAtTheEndNamingIt) {
  ReportRecorder reports;
  LoadArchive ar(Lines({"[First]", "[Second]", "a", "b"}), 1);
  ASSERT_EQ(ar->GoToSection(CString("Second")), 1);
  EXPECT_EQ(ThrownArchiveCause([&] { ar->GoToSection(CString("First")); }),
            CArchiveException::badIndex);
  EXPECT_EQ(ar->GetCurLineNum(), 4);
  ASSERT_EQ(reports.boxes.size(), 1u);
  EXPECT_NE(reports.boxes[0].text.find("line 4!"), std::string::npos);
  EXPECT_NE(reports.boxes[0].text.find("Section/Entry: First"), std::string::npos);
}

}  // namespace
}  // namespace labarc::testing
