#include "support/test_support.h"

namespace labarc::testing {

ReportRecorder::ReportRecorder()
    : m_previous(SetReportHandler(
          [this](HWND, std::string_view text, std::string_view caption, UINT style) {
            boxes.push_back({std::string(text), std::string(caption), style});
            return IDOK;
          })) {}

ReportRecorder::~ReportRecorder() { SetReportHandler(std::move(m_previous)); }

StoreArchive::StoreArchive(int reportErrors, const char* applName, double applVersion)
    : m_host(&m_file, CArchive::store),
      m_applName(applName),
      m_archive(std::make_unique<CArchiveEx>(&m_host, m_applName, applVersion, reportErrors)) {
  m_file.SetFilePath("/documents/store.txt");
}

std::string StoreArchive::Text() {
  m_archive->Flush();
  return std::string(m_file.Contents());
}

LoadArchive::LoadArchive(std::string_view text, int reportErrors, const char* applName,
                         double applVersion)
    : m_file(text),
      m_host(&m_file, CArchive::load),
      m_applName(applName),
      m_archive(std::make_unique<CArchiveEx>(&m_host, m_applName, applVersion, reportErrors)) {
  m_file.SetFilePath("/documents/load.txt");
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

std::string Lines(std::initializer_list<std::string_view> lines) {
  std::string text;
  for (std::string_view line : lines) {
    text += line;
    text += "\r\n";
  }
  return text;
}

}  // namespace labarc::testing
