#include <sys/resource.h>

#include <algorithm>
#include <cstring>

#include "support/test_support.h"

namespace labarc::testing {
namespace {

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

TEST(ArchiveObject, RawLinesAreBoundedLikeEveryOtherLine) {
  const std::string longest(CArchiveEx::MAX_LINE_LENGTH, 'x');
  for (const int reportErrors : {0, 1}) {
    ReportRecorder reports;
    LoadArchive ar(longest + "\r\n" + longest + "y\r\nafter", reportErrors);
    CString line;
    ASSERT_EQ(ar->ReadString(line), 1);
    EXPECT_EQ(line.GetLength(), static_cast<int>(CArchiveEx::MAX_LINE_LENGTH));
    line = "kept";
    if (reportErrors) {
      EXPECT_EQ(ThrownArchiveCause([&] { ar->ReadString(line); }), CArchiveException::badIndex);
      ASSERT_EQ(reports.boxes.size(), 1u);
      EXPECT_NE(reports.boxes[0].text.find("line 2!"), std::string::npos);
    } else {
      EXPECT_EQ(ar->ReadString(line), 0);
    }
    EXPECT_EQ(line, "kept");
    // The long line was passed over whole: the next read is in step with the file.
    ASSERT_EQ(ar->ReadString(line), 1);
    EXPECT_EQ(line, "after");
  }
}

// A file of `size` bytes without a line end, made as it is read.
class EndlessLineFile : public CFile {
 public:
  explicit EndlessLineFile(std::uint64_t size) : m_left(size) {}
  UINT Read(void* buffer, UINT count) override {
    const auto take = static_cast<UINT>(std::min<std::uint64_t>(count, m_left));
    std::memset(buffer, 'x', take);
    m_left -= take;
    return take;
  }
  std::uint64_t GetLength() const override { return m_left; }
  std::uint64_t Left() const { return m_left; }

 private:
  std::uint64_t m_left;
};

long PeakResidentKiB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

TEST(ArchiveObject, AGibibyteWithoutALineEndIsRefusedInConstantMemory) {
  EndlessLineFile file(std::uint64_t{1} << 30);
  CArchive host(&file, CArchive::load);
  CArchiveEx ar(&host, CString("Plotter"), 1, 0);
  const long before = PeakResidentKiB();
  CString line = "kept";
  EXPECT_EQ(ar.ReadString(line), 0);
  EXPECT_EQ(line, "kept");
  EXPECT_EQ(file.Left(), 0u);
  EXPECT_LT(PeakResidentKiB() - before, 64 * 1024);
}

// Write takes what it only reads by const reference, and the archive a temporary name.
TEST(ArchiveObject, ConstValuesAndATemporaryNameCanBeWritten) {
  const CRect rect(1, 2, 3, 4);
  const CSize size(5, 6);
  const POINT point{7, 8};
  const DPOINT dpoint{0.5, -1.25};
  const CDate date(2460000);
  const CRectTracker tracker(rect, 1);
  _TEXT mutableText;
  mutableText.strWording = "Wording";
  const _TEXT text = mutableText;
  const LOGFONT font = text.lfFont;
  const CCurveObj curve(2);

  CMemFile file;
  {
    CArchive host(&file, CArchive::store);
    CArchiveEx ar(&host, CString("Plotter"), 1, 0);
    EXPECT_EQ(ar.Write(rect, CString("Rect")) + ar.Write(size, CString("Size")) +
                  ar.Write(point, CString("Point")) + ar.Write(dpoint, CString("DPoint")) +
                  ar.Write(date, CString("Date")) + ar.Write(tracker) + ar.Write(text) +
                  ar.Write(font) + ar.Write(curve) + ar.WriteString(CString("End\r\n")),
              10);
  }
  CMemFile copy(file.Contents());
  CArchive host(&copy, CArchive::load);
  CArchiveEx ar(&host, CString("Plotter"), 1, 0);
  CRect rectRead;
  CSize sizeRead;
  POINT pointRead{};
  DPOINT dpointRead{};
  CDate dateRead;
  CRectTracker trackerRead;
  _TEXT textRead;
  LOGFONT fontRead{};
  CCurveObj curveRead;
  CString end;
  EXPECT_EQ(ar.Read(rectRead, CString("Rect")) + ar.Read(sizeRead, CString("Size")) +
                ar.Read(pointRead, CString("Point")) + ar.Read(dpointRead, CString("DPoint")) +
                ar.Read(dateRead, CString("Date")) + ar.Read(trackerRead) + ar.Read(textRead) +
                ar.Read(fontRead) + ar.Read(curveRead) + ar.ReadString(end),
            10);
  EXPECT_EQ(rectRead, rect);
  EXPECT_EQ(sizeRead, size);
  EXPECT_EQ(pointRead, point);
  EXPECT_EQ(dpointRead.x, dpoint.x);
  EXPECT_EQ(dpointRead.y, dpoint.y);
  EXPECT_EQ(dateRead, date);
  EXPECT_EQ(trackerRead.m_rect, tracker.m_rect);
  EXPECT_EQ(textRead, text);
  EXPECT_EQ(fontRead, font);
  EXPECT_EQ(curveRead.GetNumPoints(), 2);
  EXPECT_EQ(end, "End");
}

}  // namespace
}  // namespace labarc::testing
