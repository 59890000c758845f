#include <functional>
#include <string>

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

namespace labarc::testing {
namespace {

using Kind = CArchiveEx::FailureKind;

struct FailureCase {
  const char* what;
  std::string text;
  std::function<int(CArchiveEx&)> operation;
  Kind kind;
  int line;
  const char* section;
  const char* expected;
  const char* found;
};

// Every failure leaves its reason, the same after a quiet 0 and after the reported exception;
// the composite's own calls without a name keep the innermost reason.
TEST(FailureReason, IsKeptAsDataInBothModes) {
  const std::string header = Lines({"[Archive Header]", "Archive Version Number=1.03",
                                    "Application Name=Plotter", "Application Version Number=4"});
  const auto readInt = [](const char* label) {
    return [label](CArchiveEx& ar) {
      int value = 0;
      return ar.GoToSection(CString("S")) == 1 ? ar.Read(value, CString(label)) : 0;
    };
  };
  StoreArchive store;
  CCurveObj stored(2);
  store->Write(stored);
  std::string shortPoints = store.Text();
  shortPoints.replace(shortPoints.rfind("0, 0, "), 6, "0");
  const FailureCase cases[] = {
      {"other label", Lines({"[S]", "B=1"}), readInt("A"), Kind::otherLabel, 2, "S", "A", "B=1"},
      {"value", Lines({"[S]", "A=x1"}), readInt("A"), Kind::valueRefused, 2, "S", "A", "x1"},
      {"end", Lines({"[S]"}), readInt("A"), Kind::missingEntry, 1, "S", "A", ""},
      {"resource", Lines({"A=1"}),
       [](CArchiveEx& ar) {
         int value = 0;
         return ar.Read(value, UINT{9999});
       },
       Kind::missingResource, 0, "", "", ""},
      {"section", Lines({"[T]"}), readInt("A"), Kind::sectionNotFound, 1, "", "S", ""},
      {"long line", "[S]\r\nA=" + std::string(CArchiveEx::MAX_LINE_LENGTH, '1'), readInt("A"),
       Kind::lineTooLong, 2, "S", "A", ""},
      {"next section", Lines({"A=1"}),
       [](CArchiveEx& ar) {
         CString name;
         return ar.ReadSectionHeader(name);
       },
       Kind::endOfArchive, 1, "", "", ""},
      {"newer", Lines({"[Archive Header]", "Archive Version Number=1.5"}),
       [](CArchiveEx& ar) { return ar.ReadHeader(); }, Kind::newerFormat, 2, "Archive Header",
       "Archive Version Number", "1.5"},
      {"application", Lines({"[Archive Header]", "Archive Version Number=1", "Application Name=X"}),
       [](CArchiveEx& ar) { return ar.ReadHeader(); }, Kind::otherApplication, 3, "Archive Header",
       "Plotter", "X"},
      {"font in a section", header + Lines({"[Fonts]", "Height=1", "Width=w"}),
       [](CArchiveEx& ar) {
         tagLOGFONTA font{};
         return ar.ReadHeader() == 1 && ar.GoToSection(CString("Fonts")) == 1 ? ar.Read(font) : 0;
       },
       Kind::valueRefused, 7, "Fonts", "Width", "w"},
      {"short point line", shortPoints,
       [](CArchiveEx& ar) {
         CCurveObj curve;
         return ar.Read(curve);
       },
       Kind::tooFewValues, 34, "", "", ""},
  };
  for (const FailureCase& c : cases) {
    for (const int report : {0, 1}) {
      SCOPED_TRACE(std::string(c.what) + (report ? " reported" : " quiet"));
      ReportRecorder reports;
      LoadArchive ar(c.text, report);
      if (report)
        EXPECT_EQ(ThrownArchiveCause([&] { c.operation(*ar); }), 5);
      else
        EXPECT_EQ(c.operation(*ar), 0);
      const CArchiveEx::Failure& failure = ar->GetLastFailure();
      EXPECT_EQ(failure.kind, c.kind) << CArchiveEx::FailureKindText(failure.kind);
      EXPECT_EQ(failure.line, c.line);
      EXPECT_EQ(failure.section, c.section);
      EXPECT_EQ(failure.expected, c.expected);
      EXPECT_EQ(failure.found, c.found);
    }
  }
}

TEST(FailureReason, LaterFailureReplacesEarlierAndLongTextIsCut) {
  LoadArchive ar(Lines({"A=1", "B=" + std::string(1000, 'y')}));
  int value = 0;
  EXPECT_EQ(ar->Read(value, CString("Z")), 0);
  EXPECT_EQ(ar->Read(value, CString("B")), 0);
  EXPECT_EQ(ar->GetLastFailure().kind, Kind::valueRefused);
  EXPECT_EQ(ar->GetLastFailure().line, 2);
  EXPECT_EQ(ar->GetLastFailure().found.GetLength(), static_cast<int>(CArchiveEx::MAX_FAILURE_TEXT));
}

}  // namespace
}  // namespace labarc::testing
