// The error path: 0 and no box in quiet mode, else a "File Error" box and a thrown exception.
#include "support/test_support.h"

namespace {
using namespace labarc::testing;
using Kind = CArchiveEx::FailureKind;

TEST(ErrorReport, WritingNamesTheLineAndTheFileSetLast) {
  ReportRecorder reports;
  CMemFile other;
  other.SetFilePath("/documents/other.txt");
  CArchive otherHost(&other, CArchive::store);
  StoreArchive store(1);
  store->Write(1, CString("A"));
  EXPECT_EQ(ThrownArchiveCause([&] { store->HandleError(""); }), CArchiveException::badIndex);
  store->SetArchive(otherHost);  // only the file named in reports changes
  store->Write(2, CString("B"));
  EXPECT_EQ(ThrownArchiveCause([&] { store->Write(4294967296L, CString("Offset")); }),
            CArchiveException::badIndex);  // a long beyond the file's 32 bits
  EXPECT_EQ(store.Text(), "A=1\r\nB=2\r\n");
  ASSERT_EQ(reports.boxes.size(), 2u);
  EXPECT_EQ(reports.boxes[0].text,
            "An error occurred while writing to line 1!\nFile Name: /documents/store.txt");
  EXPECT_EQ(reports.boxes[1].text,
            "An error occurred while writing to line 2!\nFile Name: /documents/other.txt\n"
            "Section/Entry: Offset");
}

// Goes to `section` (none when empty), then reads a T there, with `label` when given.
template <class T, class... Label>
std::function<int(CArchiveEx&)> Reads(const char* section, Label... label) {
  return [=](CArchiveEx& ar) {
    T value{};
    return *section && ar.GoToSection(CString(section)) != 1 ? 0 : ar.Read(value, label...);
  };
}

// The same reason in both modes, a composite keeping the innermost; the report names the line and
// the entry (none when empty).
TEST(FailureReason, IsKeptAsDataAndReportedInBothModes) {
  StoreArchive store;
  CCurveObj probe(2);
  probe.SetName("Probe");
  store->Write(probe);
  std::string shortPoints = store.Text();
  shortPoints.replace(shortPoints.rfind("0, 0, "), 6, "0");
  const auto readA = Reads<int>("S", CString("A"));
  const auto readHeader = [](CArchiveEx& ar) { return ar.ReadHeader(); };
  const auto passedSection = [](CArchiveEx& ar) {
    return ar.GoToSection(CString("S")) == 1 ? ar.GoToSection(CString("R")) : 0;
  };
  const std::tuple<std::string, std::function<int(CArchiveEx&)>, Kind, int, const char*,
                   const char*, const char*, const char*>
      cases[] = {
          {Lines({"[S]", "B=1"}), readA, Kind::otherLabel, 2, "S", "A", "B=1", "A"},
          {Lines({"[S]", "A=x1"}), readA, Kind::valueRefused, 2, "S", "A", "x1", "A"},
          {Lines({"[S]"}), readA, Kind::missingEntry, 1, "S", "A", "", "A"},
          {Lines({"[T]"}), readA, Kind::sectionNotFound, 1, "", "S", "", "S"},
          {Lines({"[R]", "[S]", "x"}), passedSection, Kind::sectionNotFound, 3, "S", "R", "", "R"},
          {"[S]\r\nA=" + std::string(CArchiveEx::MAX_LINE_LENGTH, '1'), readA, Kind::lineTooLong, 2,
           "S", "A", "", "A"},
          {std::string(CArchiveEx::MAX_LINE_LENGTH + 1, '1'),
           [line = CString()](CArchiveEx& ar) mutable { return ar.ReadString(line); },
           Kind::lineTooLong, 1, "", "", "", ""},
          {"A=1", Reads<int>("", UINT{9999}), Kind::missingResource, 0, "", "", "", ""},
          {"A=1", [name = CString()](CArchiveEx& ar) mutable { return ar.ReadSectionHeader(name); },
           Kind::endOfArchive, 1, "", "", "", ""},
          {Lines({"[Archive Header]", "Archive Version Number=1.5"}), readHeader, Kind::newerFormat,
           2, "Archive Header", "Archive Version Number", "1.5", ""},
          {Lines({"[Archive Header]", "Archive Version Number=1", "Application Name=X"}),
           readHeader, Kind::otherApplication, 3, "Archive Header", "Plotter", "X", ""},
          {Lines({"[Fonts]", "Height=1", "Width=w"}), Reads<tagLOGFONTA>("Fonts"),
           Kind::valueRefused, 3, "Fonts", "Width", "w", "Width"},
          {shortPoints, Reads<CCurveObj>(""), Kind::tooFewValues, 34, "", "flags", "",
           "flags of curve \"Probe\""},
      };
  for (const auto& [text, operation, kind, line, section, expected, found, entry] : cases) {
    for (const int report : {0, 1}) {
      SCOPED_TRACE(CArchiveEx::FailureKindText(kind) + std::string(report ? " reported" : ""));
      ReportRecorder reports;
      LoadArchive ar(text, report);
      if (report)
        EXPECT_EQ(ThrownArchiveCause([&, &run = operation] { run(*ar); }),
                  CArchiveException::badIndex);
      else
        EXPECT_EQ(operation(*ar), 0);
      const CArchiveEx::Failure& f = ar->GetLastFailure();
      EXPECT_EQ(std::tie(f.kind, f.line, f.section, f.expected, f.found),
                std::tie(kind, line, section, expected, found))
          << CArchiveEx::FailureKindText(f.kind);
      const std::size_t newerBox = kind == Kind::newerFormat;
      ASSERT_EQ(reports.boxes.size(), report + newerBox);
      if (!report) continue;
      const auto& box = reports.boxes.back();
      EXPECT_EQ(box.text, "An error occurred while reading from line " + std::to_string(line) +
                              "!\nFile Name: /documents/load.txt" +
                              (*entry ? std::string("\nSection/Entry: ") + entry : "") +
                              (kind == Kind::tooFewValues
                                   ? "\nthe point line holds 1 values, the curve needs 2"
                                   : ""));
      EXPECT_TRUE(box.caption == "File Error" && box.style == (MB_OK | MB_ICONSTOP));
    }
  }
}

// The exception carries the failure and the report's text, for a host that no longer has the
// archive; the archive's own sink gets its report, and the process's handler nothing.
TEST(FailureReason, TravelsWithTheExceptionAndTheReportGoesToTheArchivesSink) {
  ReportRecorder process;
  std::vector<std::string> own;
  CArchiveException* caught = nullptr;
  {
    LoadArchive ar(Lines({"[S]", "A=x1"}), 1);
    ar->SetReportSink([&](HWND, std::string_view text, std::string_view, UINT) {
      own.emplace_back(text);
      return IDOK;
    });
    try {
      Reads<int>("S", CString("A"))(*ar);
    } catch (CArchiveException* error) {
      caught = error;
    }
  }
  ASSERT_NE(caught, nullptr);
  EXPECT_EQ(caught->m_cause, CArchiveException::badIndex);
  const CArchiveEx::Failure* f = CArchiveEx::FailureOf(caught);
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(std::tie(f->kind, f->line, f->section, f->expected, f->found, f->file),
            std::tuple(Kind::valueRefused, 2, CString("S"), CString("A"), CString("x1"),
                       CString("/documents/load.txt")));
  ASSERT_EQ(own.size(), 1u);
  EXPECT_EQ(caught->GetErrorMessage(), CString((own[0] + "\nvalue refused: \"x1\"").c_str()));
  caught->Delete();
  EXPECT_TRUE(process.boxes.empty());
  CMemoryException other;
  EXPECT_EQ(CArchiveEx::FailureOf(&other), nullptr);
}

TEST(FailureReason, LaterFailureReplacesEarlierAndLongTextIsCut) {
  LoadArchive ar(Lines({"A=1", "B=" + std::string(1000, 'y')}));
  int value = 0;
  EXPECT_TRUE(ar->Read(value, CString("Z")) == 0 && ar->Read(value, CString("B")) == 0);
  const CArchiveEx::Failure& f = ar->GetLastFailure();
  EXPECT_EQ(std::tie(f.kind, f.line, f.found),
            std::make_tuple(Kind::valueRefused, 2, CString('y', CArchiveEx::MAX_FAILURE_TEXT)));
}

}  // namespace
