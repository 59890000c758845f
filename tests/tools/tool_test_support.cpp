#include "tools/tool_test_support.h"

#include <cstdio>
#include <fstream>
#include <sstream>

namespace labarc::testing {

namespace {

CCurveObj MakeCurve(const char* name, int count, unsigned long colour) {
  CCurveObj curve(count);
  curve.SetName(name);
  curve.SetLineColor(colour);
  for (int i = 0; i < count; ++i) {
    CURVEPOINT point{1, i * 0.25, i % 3 - 1.5};
    curve.SetCurvePoint(i, point);
  }
  return curve;
}

struct Layout {
  CString title = "Run 7";
  int count = 2;
  double gain = 0.1;
  CCurveObj first = MakeCurve("First", 14, RGB(10, 20, 30));
  CCurveObj second = MakeCurve("Second", 3, RGB(200, 0, 0));
  _TEXT text;
  CRectTracker tracker{CRect(1, 2, 3, 4), 5};
  tagLOGFONTA font{};
};

// Stores or loads the whole layout, as a host's serialisation would.
void Serialize(CArchiveEx& ar, Layout& doc) {
  if (ar.IsStoring()) {
    ar.WriteHeader();
    ar.WriteSectionHeader(CString("Run"));
    ar.Write(doc.title, CString("Title"));
    ar.Write(doc.count, CString("Curve Count"));
    ar.Write(doc.gain, CString("Gain"));
    ar.WriteSectionHeader(CString("Curves"));
    ar.Write(doc.first);
    ar.Write(doc.second);
    ar.WriteSectionHeader(CString("Chart"));
    ar.Write(doc.text);
    ar.Write(doc.tracker);
    ar.Write(doc.font);
  } else {
    ar.ReadHeader();
    ar.GoToSection(CString("Run"));
    ar.Read(doc.title, CString("Title"));
    ar.Read(doc.count, CString("Curve Count"));
    ar.Read(doc.gain, CString("Gain"));
    ar.GoToSection(CString("Curves"));
    ar.Read(doc.first);
    ar.Read(doc.second);
    ar.GoToSection(CString("Chart"));
    ar.Read(doc.text);
    ar.Read(doc.tracker);
    ar.Read(doc.font);
  }
}

}  // namespace

std::string GoodDocument() {
  StoreArchive ar(0, kDocumentAppl, 3.6);
  Layout doc;
  doc.text.strWording = "Dose response";
  doc.text.crColor = RGB(0, 0, 128);
  doc.text.lfFont.lfWeight = 700;
  doc.font.lfHeight = -13;
  std::snprintf(doc.font.lfFaceName, LF_FACESIZE, "Helvetica");
  Serialize(*ar, doc);
  return ar.Text();
}

std::string HostReadReport(const std::string& text) {
  ReportRecorder reports;
  LoadArchive ar(text, 1, kDocumentAppl, 3.6);
  Layout doc;
  try {
    Serialize(*ar, doc);
  } catch (CArchiveException* error) {
    error->Delete();
  }
  return reports.boxes.empty() ? "" : reports.boxes.back().text;
}

std::string WriteTempFile(const std::string& name, const std::string& text) {
  const std::string path = ::testing::TempDir() + name;
  std::ofstream(path, std::ios::binary) << text;
  return path;
}

CommandResult RunTool(const std::string& command, const std::string& file,
                      const std::string& extra) {
  std::ostringstream out, err;
  const tool::Output output{out, err, false};
  const tool::Source source = tool::Source::File(file);
  int code = 2;
  if (command == "info") {
    code = tool::RunInfo(source, extra, output);
  } else if (command == "check") {
    tool::CheckOptions options;
    options.applName = extra;
    code = tool::RunCheck(source, options, output);
  } else if (command == "dump" || command == "dump --json") {
    tool::DumpOptions options;
    options.json = command != "dump";
    options.section = extra;
    code = tool::RunDump(source, options, output);
  }
  return {code, out.str(), err.str()};
}

}  // namespace labarc::testing
