// A small host program: saves a document to a file on disk, loads it back into a fresh document
// and prints what it read, then shows the error report for a damaged copy, which leaves the
// loaded document as it was.
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>

#include <labarc/labarc.h>

#include "example_document.h"
#include "host_document.h"

// The demonstrations of the other value kinds, each in its own file.
void RunValuesDemo();
void RunCurveDemo();
void RunObjectsDemo();
void RunGraphDemo();
bool WriteGraphDocument(const char* path);

namespace {

// Each section is described once (host_document.h): the same lists store and load.
void Serialize(CArchiveEx& ar, Document& doc) {
  if (ar.IsStoring()) {
    ar.WriteHeader();
    labarc::StoreSections(ar, doc, kDocumentSections);
  } else {
    ar.ReadHeader();
    labarc::LoadSections(ar, doc, kDocumentSections);
  }
}

// Saves `doc` to the file at `path`. The old file is replaced only when the whole document was
// written and synced: a failure or a crash half-way leaves it as it was.
// [save]
bool Save(const char* path, Document& doc) {
  try {
    CSaveFile file(path);  // raises CFileException when the folder is not writable
    {
      CArchive host(&file, CArchive::store);
      CArchiveEx ar(&host, CString(kApplName), 3.6, TRUE);
      Serialize(ar, doc);
      ar.Close();    // the text archive's last buffered text reaches the file; errors raise here
      host.Close();  // and the host archive's
    }
    file.Commit();  // the old document is replaced only here
    return true;
  } catch (CException* error) {  // the old document is untouched
    std::printf("Saving failed: %s\n", error->GetErrorMessage().GetString());
    error->Delete();
    return false;
  }
}
// [/save]

// Loads the document in `file` into `live`. It is read into a fresh document and swapped in only
// when the whole of it was read: a damaged file leaves the live document as it was, never half
// replaced.
// [load]
bool Load(CFile& file, Document& live) {
  Document fresh;
  try {
    CArchive host(&file, CArchive::load);
    CArchiveEx ar(&host, CString(kApplName), 3.6, TRUE);
    Serialize(ar, fresh);
  } catch (CException* error) {  // the report was shown; the live document is untouched
    if (const CArchiveEx::Failure* failure = CArchiveEx::FailureOf(error))
      std::printf("Not loaded: %s at line %d of %s, entry \"%s\", found \"%s\"\n",
                  CArchiveEx::FailureKindText(failure->kind), failure->line,
                  failure->file.GetString(), failure->expected.GetString(),
                  failure->found.GetString());
    else
      std::printf("Not loaded: %s\n", error->GetErrorMessage().GetString());
    error->Delete();
    return false;
  }
  std::swap(live, fresh);
  return true;
}
// [/load]

bool Load(const char* path, Document& live) {
  CFileException error(CFileException::none, 0, path);
  CFile file;
  if (!file.Open(path, CFile::modeRead, &error)) {
    std::printf("Cannot open %s: %s\n", path, error.GetErrorMessage().GetString());
    return false;
  }
  return Load(file, live);
}

void Print(const char* heading, const Document& doc) {
  std::printf("%s: title \"%s\", %d samples, gain %g, channel %d, offset %ld, operator %s\n",
              heading, doc.title.GetString(), doc.sampleCount, doc.gain, doc.channel, doc.offset,
              doc.operatorName.GetString());
}

}  // namespace

// With a file name, also writes the example document there, for the labarc tool; with a second,
// the host's schema there, for `labarc check --schema`; with a third, the graph window document
// there.
int main(int argc, char** argv) {
  SetReportHandler([](HWND, std::string_view text, std::string_view caption, UINT) {
    std::printf("[%.*s box]\n%.*s\n", static_cast<int>(caption.size()), caption.data(),
                static_cast<int>(text.size()), text.data());
    return IDOK;
  });

  // Named for this process, as several runs (the test suites' among them) may run at once.
  const std::string path = (std::filesystem::temp_directory_path() /
                            ("labarc-example-run-" + std::to_string(::getpid()) + ".txt"))
                               .string();
  Document original;
  if (!Save(path.c_str(), original)) return 1;
  std::ifstream stored(path, std::ios::binary);
  const std::string text{std::istreambuf_iterator<char>(stored), {}};
  std::printf("Stored document (%s):\n%s\n", path.c_str(), text.c_str());

  Document live;
  live.title = "";
  if (!Load(path.c_str(), live)) return 1;
  Print("Loaded", live);

  std::string damaged = text;
  damaged.replace(damaged.find("Gain=2.5"), 8, "Gain=2,5");
  std::printf("\nLoading a copy whose gain reads \"2,5\":\n");
  CMemFile damagedFile(damaged);
  damagedFile.SetFilePath("/examples/damaged.txt");
  if (Load(damagedFile, live)) return 1;
  Print("\nThe damaged copy was refused; the live document is unchanged", live);
  std::filesystem::remove(path);
  RunValuesDemo();
  RunCurveDemo();
  RunObjectsDemo();
  RunGraphDemo();
  if (argc > 1) {
    if (!WriteExampleDocument(argv[1])) return 1;
    std::printf("\nWrote the example document to %s\n", argv[1]);
  }
  if (argc > 2) {
    std::ofstream(argv[2], std::ios::binary) << DocumentSchema();
    std::printf("Wrote the host's schema to %s\n", argv[2]);
  }
  if (argc > 3) {
    if (!WriteGraphDocument(argv[3])) return 1;
    std::printf("Wrote the graph window document to %s\n", argv[3]);
  }
  return 0;
}
