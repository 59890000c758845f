#include <labarc/archive/archive_ex.h>

#include <climits>

#include <labarc/archive/internal/entry_io.h>

namespace {

// The archive's own buffer: large enough that a document costs few reads and writes of the file,
// small enough to stay a bounded extra on every load.
constexpr int kBufferSize = 64 * 1024;

}  // namespace

CArchiveEx::CArchiveEx(CArchive* pArchive, const CString& applName, double applVersion,
                       int reportErrors)
    : CArchive(pArchive->GetFile(), pArchive->IsLoading() ? CArchive::load : CArchive::store,
               kBufferSize),
      m_strApplName(applName),
      m_dApplVersion(applVersion),
      m_bReportErrors(reportErrors) {
  SetArchive(*pArchive);
}

CArchiveEx::CArchiveEx(const CArchiveEx& src)
    : CArchive(src.IsLoading() ? CArchive::load : CArchive::store),
      m_pArchiveFile(src.m_pArchiveFile),
      m_dArchiveVersion(src.m_dArchiveVersion),
      m_strApplName(src.m_strApplName),
      m_dApplVersion(src.m_dApplVersion),
      m_bReportErrors(src.m_bReportErrors),
      m_nCurLineNum(src.m_nCurLineNum),
      m_reportSink(src.m_reportSink) {}

CArchiveEx& CArchiveEx::operator=(const CArchiveEx& src) {
  m_pArchiveFile = src.m_pArchiveFile;
  m_dArchiveVersion = src.m_dArchiveVersion;
  m_strApplName = src.m_strApplName;
  m_dApplVersion = src.m_dApplVersion;
  m_bReportErrors = src.m_bReportErrors;
  m_nCurLineNum = src.m_nCurLineNum;
  return *this;
}

CArchiveEx::~CArchiveEx() = default;

void CArchiveEx::SetArchive(CArchive& ar) { m_pArchiveFile = ar.GetFile(); }

void CArchiveEx::CountLine() {
  // Saturates instead of overflowing on files of more than two billion lines.
  if (m_nCurLineNum < INT_MAX) ++m_nCurLineNum;
}

void CArchiveEx::SkipLines(const std::vector<std::string_view>& lines, std::size_t count) {
  if (count == 0) return;
  StartLine();
  SkipPeekedLines(lines[count - 1]);
  for (std::size_t line = 0; line < count; ++line) CountLine();
}

int CArchiveEx::ReadString(CString& line) {
  StartLine();
  std::string_view text;
  switch (NextLine(text)) {
    case LineStatus::line:
      line = text;
      return 1;
    case LineStatus::end:
      line.Empty();
      return 0;
    case LineStatus::tooLong:
      break;
  }
  return Fail(FailureKind::lineTooLong, {}, {}, nullptr);
}

int CArchiveEx::WriteString(const CString& text) {
  StartLine();
  CArchive::Write(text.View());
  CountLine();
  return 1;
}

CArchive::LineStatus CArchiveEx::NextLine(std::string_view& line) {
  StartLine();
  const LineStatus status = ReadLine(line, MAX_LINE_LENGTH);
  if (status != LineStatus::end) CountLine();
  return status;
}
