// A small host program: stores a document, loads it back and prints what it read, then shows
// the error report for a damaged copy.
#include <cstdio>
#include <string>

#include <labarc/labarc.h>

// The demonstrations of the other value kinds, each in its own file.
void RunValuesDemo();
void RunCurveDemo();
void RunObjectsDemo();
void RunGraphDemo();
bool WriteExampleDocument(const char* path);

namespace {

struct Document {
  CString title = "Calibration run";
  int sampleCount = 12;
  double gain = 2.5;
  BYTE channel = 3;
  long offset = -40;
  CString operatorName = "R. Ames";
};

void Serialize(CArchiveEx& ar, Document& doc) {
  if (ar.IsStoring()) {
    ar.WriteHeader();
    ar.WriteSectionHeader(CString("Run"));
    ar.Write(doc.title, CString("Title"));
    ar.Write(doc.sampleCount, CString("Sample Count"));
    ar.Write(doc.gain, CString("Gain"));
    ar.WriteSectionHeader(CString("Instrument"));
    ar.Write(doc.channel, CString("Channel"));
    ar.Write(doc.offset, CString("Offset"));
    ar.Write(doc.operatorName, CString("Operator"));
  } else {
    ar.ReadHeader();
    ar.GoToSection(CString("Run"));
    ar.Read(doc.title, CString("Title"));
    ar.Read(doc.sampleCount, CString("Sample Count"));
    ar.Read(doc.gain, CString("Gain"));
    ar.GoToSection(CString("Instrument"));
    ar.Read(doc.channel, CString("Channel"));
    ar.Read(doc.offset, CString("Offset"));
    ar.Read(doc.operatorName, CString("Operator"));
  }
}

// Stores `doc` into a new in-memory file and returns its text.
std::string Store(Document& doc) {
  CMemFile file;
  {
    CArchive host(&file, CArchive::store);
    CString applName = "Example Plotter";
    CArchiveEx ar(&host, applName, 3.6, TRUE);
    Serialize(ar, doc);
  }  // the archives flush when they go
  return std::string(file.Contents());
}

// Loads `text` into `doc`; false (after the error report) when the text is damaged.
bool Load(const std::string& text, Document& doc) {
  CMemFile file(text);
  file.SetFilePath("/examples/damaged.txt");
  CArchive host(&file, CArchive::load);
  CString applName = "Example Plotter";
  CArchiveEx ar(&host, applName, 3.6, TRUE);
  try {
    Serialize(ar, doc);
    return true;
  } catch (CArchiveException* error) {
    error->Delete();
    return false;
  }
}

}  // namespace

// With a file name, also writes the example document there, for the labarc tool.
int main(int argc, char** argv) {
  SetReportHandler([](HWND, std::string_view text, std::string_view caption, UINT) {
    std::printf("[%.*s box]\n%.*s\n", static_cast<int>(caption.size()), caption.data(),
                static_cast<int>(text.size()), text.data());
    return IDOK;
  });

  Document original;
  const std::string text = Store(original);
  std::printf("Stored document:\n%s\n", text.c_str());

  Document loaded;
  loaded.title = "";
  if (!Load(text, loaded)) return 1;
  std::printf("Loaded: title \"%s\", %d samples, gain %g, channel %d, offset %ld, operator %s\n\n",
              loaded.title.GetString(), loaded.sampleCount, loaded.gain, loaded.channel,
              loaded.offset, loaded.operatorName.GetString());

  std::string damaged = text;
  damaged.replace(damaged.find("Gain=2.5"), 8, "Gain=2,5");
  std::printf("Loading a copy whose gain reads \"2,5\":\n");
  if (Load(damaged, loaded)) return 1;
  std::printf("\nThe damaged copy was refused.\n");
  RunValuesDemo();
  RunCurveDemo();
  RunObjectsDemo();
  RunGraphDemo();
  if (argc > 1) {
    if (!WriteExampleDocument(argv[1])) return 1;
    std::printf("\nWrote the example document to %s\n", argv[1]);
  }
  return 0;
}
