#include "support/test_support.h"

namespace labarc::testing {
namespace {

TEST(ErrorReport, QuietModeReturnsZeroAndShowsNothing) {
  ReportRecorder reports;
  LoadArchive ar(Lines({"A=1"}), 0);
  int value = 0;
  EXPECT_EQ(ar->Read(value, CString("B")), 0);
  EXPECT_EQ(ar->HandleError("Anything"), 0);
  EXPECT_TRUE(reports.boxes.empty());
}

TEST(ErrorReport, ReadingReportNamesDirectionLineFileAndEntryThenThrows) {
  ReportRecorder reports;
  LoadArchive ar(Lines({"A=1", "B=x"}), 1);
  int value = 0;
  ASSERT_EQ(ar->Read(value, CString("A")), 1);
  try {
    ar->Read(value, CString("B"));
    FAIL() << "a reported error returned";
  } catch (CException* error) {
    const auto* archiveError = dynamic_cast<CArchiveException*>(error);
    ASSERT_NE(archiveError, nullptr);
    EXPECT_EQ(archiveError->m_cause, 5);
    EXPECT_TRUE(archiveError->m_strFileName.IsEmpty());
    error->Delete();
  }
  EXPECT_EQ(value, 1);
  ASSERT_EQ(reports.boxes.size(), 1u);
  EXPECT_EQ(reports.boxes[0].caption, "File Error");
  EXPECT_EQ(reports.boxes[0].style, 16u);
  EXPECT_EQ(reports.boxes[0].text,
            "An error occurred while reading from line 2!\nFile Name: /documents/load.txt\n"
            "Section/Entry: B");
}

TEST(ErrorReport, WritingReportSaysWritingTo) {
  ReportRecorder reports;
  StoreArchive ar(1);
  ar->Write(1, CString("A"));
  ThrownArchiveCause([&] { ar->HandleError(""); });
  ThrownArchiveCause([&] { ar->HandleError(nullptr); });
  ASSERT_EQ(reports.boxes.size(), 2u);
  for (const auto& box : reports.boxes)
    EXPECT_EQ(box.text,
              "An error occurred while writing to line 1!\nFile Name: /documents/store.txt");
}

}  // namespace
}  // namespace labarc::testing
