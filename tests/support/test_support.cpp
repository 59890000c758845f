#include "support/test_support.h"

#include <stdlib.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace labarc::testing {

ReportRecorder::ReportRecorder()
    : m_previous(SetReportHandler(
          [this](HWND, std::string_view text, std::string_view caption, UINT style) {
            boxes.push_back({std::string(text), std::string(caption), style});
            return IDOK;
          })) {}

ReportRecorder::~ReportRecorder() { SetReportHandler(std::move(m_previous)); }

TextArchive::TextArchive(int reportErrors, const char* applName, double applVersion)
    : m_host(&m_file, CArchive::store), m_archive(&m_host, applName, applVersion, reportErrors) {
  m_file.SetFilePath("/documents/store.txt");
}

TextArchive::TextArchive(std::string_view text, int reportErrors, const char* applName,
                         double applVersion)
    : m_file(text),
      m_host(&m_file, CArchive::load),
      m_archive(&m_host, applName, applVersion, reportErrors) {
  m_file.SetFilePath("/documents/load.txt");
}

std::string TextArchive::Text() {
  m_archive.Flush();
  return std::string(m_file.Contents());
}

int ThrownArchiveCause(const std::function<void()>& action) {
  try {
    action();
  } catch (CArchiveException* error) {
    const int cause = error->m_cause;
    error->Delete();
    return cause;
  }
  ADD_FAILURE() << "no CArchiveException was thrown";
  return -1;
}

TempFolder::TempFolder() : m_path(::testing::TempDir() + "labarc-XXXXXX") {
  if (!::mkdtemp(m_path.data())) ADD_FAILURE() << "no temporary folder";
  ::chmod(m_path.c_str(), 0777);  // reachable by an unprivileged user too
}

TempFolder::~TempFolder() { std::filesystem::remove_all(m_path); }

std::vector<std::string> TempFolder::Names() const {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(m_path))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

std::string FileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

std::string Lines(std::initializer_list<std::string_view> lines) {
  std::string text;
  for (std::string_view line : lines) text.append(line).append("\r\n");
  return text;
}

}  // namespace labarc::testing
