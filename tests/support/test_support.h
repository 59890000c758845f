// Shared test fixtures: archives over in-memory files, a recorder for report boxes, exceptions
// and temporary folders.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include <labarc/labarc.h>

// Failed checks print a CString as its text. Runs of calls are checked as one braced
// std::tuple{...}, which evaluates in order and prints every result.
inline void PrintTo(const CString& text, std::ostream* out) { *out << '"' << text.View() << '"'; }

namespace labarc::testing {

// Captures every message box while it lives, instead of printing it.
class ReportRecorder {
 public:
  struct Box {
    std::string text;
    std::string caption;
    UINT style;
  };
  ReportRecorder();
  ~ReportRecorder();
  ReportRecorder(const ReportRecorder&) = delete;
  ReportRecorder& operator=(const ReportRecorder&) = delete;
  std::vector<Box> boxes;

 private:
  ReportHandler m_previous;
};

inline constexpr char kApplName[] = "Plotter";
inline constexpr double kApplVersion = 4.2;

// A text archive over an in-memory file: storing (/documents/store.txt) when made without text,
// else loading `text` (/documents/load.txt). Text() flushes and returns what the file holds.
class TextArchive {
 public:
  explicit TextArchive(int reportErrors = 0, const char* applName = kApplName,
                       double applVersion = kApplVersion);
  explicit TextArchive(std::string_view text, int reportErrors = 0,
                       const char* applName = kApplName, double applVersion = kApplVersion);
  CArchiveEx& operator*() { return m_archive; }
  CArchiveEx* operator->() { return &m_archive; }
  std::string Text();

 private:
  CMemFile m_file;
  CArchive m_host;
  CArchiveEx m_archive;
};
using StoreArchive = TextArchive;
using LoadArchive = TextArchive;

// Runs `action`, which must throw the archive's reported error; returns the exception's cause.
int ThrownArchiveCause(const std::function<void()>& action);

// True when `action` throws a framework exception of type Exception (which is then deleted).
template <class Exception>
bool Raises(const std::function<void()>& action) {
  try {
    action();
  } catch (Exception* error) {
    error->Delete();
    return true;
  }
  return false;
}

// A new folder under the test's temporary folder, removed with its contents at the end.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  std::string operator/(std::string_view name) const { return m_path + "/" + std::string(name); }
  const std::string& Path() const { return m_path; }
  std::vector<std::string> Names() const;  // sorted

 private:
  std::string m_path;
};

// The whole contents of the file at `path` ("" when it cannot be read).
std::string FileText(const std::string& path);

// Joins lines with the "\r\n" line ends the archive writes.
std::string Lines(std::initializer_list<std::string_view> lines);

}  // namespace labarc::testing
