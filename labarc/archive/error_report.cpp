#include <algorithm>
#include <cstdint>
#include <string_view>

#include <labarc/archive/archive_ex.h>
#include <labarc/archive/internal/entry_io.h>
#include <labarc/archive/number_text.h>
#include <labarc/framework/exceptions.h>
#include <labarc/framework/message_box.h>

int CArchiveEx::HandleError(const char* name) {
  // The first call of a chain that no entry operation explained: a composite's own check.
  if (!m_bFailureOpen) {
    const std::string_view expected = name ? std::string_view(name) : std::string_view();
    NoteFailure(FailureKind::other, expected, {});
  }
  if (!m_bReportErrors) return 0;
  CString message;
  message.Format("An error occurred while %s line %d!", IsStoring() ? "writing to" : "reading from",
                 m_nCurLineNum);
  message += "\nFile Name: ";
  if (m_pArchiveFile) message += m_pArchiveFile->GetFilePath();
  if (name && *name) {
    message += "\nSection/Entry: ";
    message += name;
  }
  if (!m_failure.detail.IsEmpty()) {
    message += "\n";
    message += m_failure.detail;
  }
  if (!m_failure.allowed.IsEmpty()) {
    message += "\nthe allowed values are ";
    message += m_failure.allowed;
  }
  ShowReport(message, "File Error", MB_OK | MB_ICONSTOP);
  throw new Exception(m_failure, message);
}

void CArchiveEx::ShowReport(const char* text, const char* caption, UINT style) const {
  if (m_reportSink)
    m_reportSink(GetActiveWindow(), text, caption, style);
  else
    MessageBoxA(GetActiveWindow(), text, caption, style);
}

int CArchiveEx::Fail(FailureKind kind, std::string_view expected, std::string_view found,
                     const char* name, std::string_view detail) {
  NoteFailure(kind, expected, found, detail);
  return HandleError(name);
}

void CArchiveEx::NoteFailure(FailureKind kind, std::string_view expected, std::string_view found,
                             std::string_view detail) {
  m_failure.kind = kind;
  m_failure.line = m_nCurLineNum;
  m_failure.section = m_strSection;
  m_failure.expected = expected;
  m_failure.found = found.substr(0, std::min(found.size(), MAX_FAILURE_TEXT));
  m_failure.allowed.Empty();
  m_failure.index = -1;
  m_failure.file = m_pArchiveFile ? m_pArchiveFile->GetFilePath() : CString();
  m_failure.detail = detail;
  m_bFailureOpen = true;
}

bool CArchiveEx::RefuseOutOfRange(const char* label, long value, long least, long most) {
  labarc::ValueText text;
  text.AppendInteger(value);
  NoteFailure(FailureKind::outOfRange, label, text.View());
  text.Clear();
  text.AppendInteger(least);
  text.Append(" to ");
  text.AppendInteger(most);
  m_failure.allowed = text.View();
  HandleError(label);
  return false;
}

bool CArchiveEx::CheckCount(const char* label, int count, std::uint64_t leastBytes) {
  std::string_view detail;
  if (count >= 0) {
    if (count <= labarc::kItemsReservedUnasked) return true;
    // The file's last line needs no line end: one byte less than the items' least.
    const auto left = GetBytesLeft();
    if (!left || static_cast<std::uint64_t>(count) <= (*left + 1) / leastBytes) return true;
    detail = "the rest of the file cannot hold that many";
  }
  labarc::ValueText text;
  text.AppendInteger(count);
  Fail(FailureKind::valueRefused, label, text.View(), label, detail);
  return false;
}

CString CArchiveEx::Exception::GetErrorMessage() const {
  CString text = m_strReport + "\n" + FailureKindText(m_failure.kind);
  if (!m_failure.found.IsEmpty()) text += ": \"" + m_failure.found + "\"";
  return text;
}

const CArchiveEx::Failure* CArchiveEx::FailureOf(const CException* error) {
  const auto* exception = dynamic_cast<const Exception*>(error);
  return exception ? &exception->m_failure : nullptr;
}

const char* CArchiveEx::FailureKindText(FailureKind kind) {
  switch (kind) {
    case FailureKind::none:
      return "no failure";
    case FailureKind::missingEntry:
      return "missing entry at the end of the file";
    case FailureKind::otherLabel:
      return "other label";
    case FailureKind::valueRefused:
      return "value refused";
    case FailureKind::tooFewValues:
      return "too few values";
    case FailureKind::endOfArchive:
      return "end of archive";
    case FailureKind::sectionNotFound:
      return "section not found";
    case FailureKind::lineTooLong:
      return "line too long";
    case FailureKind::newerFormat:
      return "newer format";
    case FailureKind::otherApplication:
      return "other application";
    case FailureKind::missingResource:
      return "missing string resource";
    case FailureKind::valueNotStorable:
      return "value cannot be stored";
    case FailureKind::outOfRange:
      return "value out of range";
    case FailureKind::other:
      break;
  }
  return "refused by the composite's check";
}
