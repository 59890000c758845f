#include "support/test_support.h"

namespace labarc::testing {
namespace {

TEST(ArchiveObject, StartsWithItsSettingsAndNoLines) {
  StoreArchive ar(0, "Plotter", 3.6);
  EXPECT_EQ(ar->GetCurLineNum(), 0);
  EXPECT_EQ(ar->GetArchiveVersion(), 1.03);
  EXPECT_EQ(ar->GetApplVersion(), 3.6);
  ar->SetApplVersion(3.7);
  EXPECT_EQ(ar->GetApplVersion(), 3.7);
  EXPECT_TRUE(ar->IsStoring());
}

TEST(ArchiveObject, RawLinesCountOneEachAndStopAtTheEnd) {
  LoadArchive ar("one\r\ntwo");
  CString line;
  EXPECT_EQ(ar->ReadString(line), 1);
  EXPECT_EQ(ar->ReadString(line), 1);
  EXPECT_EQ(line, "two");
  EXPECT_EQ(ar->ReadString(line), 0);
  EXPECT_EQ(ar->GetCurLineNum(), 2);

  StoreArchive store;
  CString text = "a\r\nb\r\n";
  EXPECT_EQ(store->WriteString(text), 1);
  EXPECT_EQ(store->GetCurLineNum(), 1);
  EXPECT_EQ(store.Text(), "a\r\nb\r\n");
}

TEST(ArchiveObject, DestroyingAStoringArchiveFlushesItsText) {
  CMemFile file;
  {
    CArchive host(&file, CArchive::store);
    CString name = "Plotter";
    CArchiveEx ar(&host, name, 1, 0);
    ar.Write(5, CString("N"));
    EXPECT_TRUE(file.Contents().empty());
  }
  EXPECT_EQ(file.Contents(), "N=5\r\n");
}

TEST(ArchiveObject, SetArchiveOnlyChangesTheReportedFile) {
  ReportRecorder reports;
  CMemFile other;
  other.SetFilePath("/documents/other.txt");
  CArchive otherHost(&other, CArchive::store);
  StoreArchive ar(1);
  ar->Write(1, CString("A"));
  ar->SetArchive(otherHost);
  ar->Write(2, CString("B"));
  ThrownArchiveCause([&] { ar->HandleError(nullptr); });
  EXPECT_EQ(ar.Text(), "A=1\r\nB=2\r\n");
  ASSERT_EQ(reports.boxes.size(), 1u);
  EXPECT_EQ(reports.boxes[0].text,
            "An error occurred while writing to line 2!\nFile Name: /documents/other.txt");
}

TEST(ArchiveObject, AssignmentTakesSettingsAndCountButKeepsItsOwnFile) {
  LoadArchive source(Lines({"A=1", "B=2", "C=3"}), 0, "Source", 2.0);
  int value = 0;
  source->Read(value, CString("A"));
  source->Read(value, CString("B"));
  StoreArchive target(0, "Target", 1.0);
  *target = *source;
  EXPECT_EQ(target->GetCurLineNum(), 2);
  EXPECT_EQ(target->GetApplVersion(), 2.0);
  target->Write(9, CString("Z"));
  EXPECT_EQ(target->GetCurLineNum(), 3);
  EXPECT_EQ(target.Text(), "Z=9\r\n");
}

TEST(ArchiveObject, CopyKeepsSettingsButCannotReadAndIsSafeToDestroy) {
  LoadArchive source(Lines({"A=1"}), 0, "Source", 2.0);
  CArchiveEx copy(*source);
  EXPECT_EQ(copy.GetApplVersion(), 2.0);
  EXPECT_TRUE(copy.IsLoading());
  CString line;
  EXPECT_EQ(copy.ReadString(line), 0);
  int value = 0;
  EXPECT_EQ(source->Read(value, CString("A")), 1);
}

}  // namespace
}  // namespace labarc::testing
