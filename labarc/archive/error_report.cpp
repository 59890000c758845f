#include <algorithm>

#include <labarc/archive/archive_ex.h>
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
  MessageBoxA(GetActiveWindow(), message, "File Error", MB_OK | MB_ICONSTOP);
  throw new CArchiveException(CArchiveException::badIndex);
}

int CArchiveEx::Fail(FailureKind kind, std::string_view expected, std::string_view found,
                     const char* name) {
  NoteFailure(kind, expected, found);
  return HandleError(name);
}

void CArchiveEx::NoteFailure(FailureKind kind, std::string_view expected, std::string_view found) {
  m_failure.kind = kind;
  m_failure.line = m_nCurLineNum;
  m_failure.section = m_strSection;
  m_failure.expected = expected;
  m_failure.found = found.substr(0, std::min(found.size(), MAX_FAILURE_TEXT));
  m_failure.allowed.Empty();
  m_failure.index = -1;
  m_bFailureOpen = true;
}

void CArchiveEx::RefuseCount(const char* label, int count) {
  labarc::ValueText text;
  text.AppendInteger(count);
  Fail(FailureKind::valueRefused, label, text.View(), label);
}

void CArchiveEx::NoteOutOfRange(const char* label, long value, long least, long most) {
  labarc::ValueText text;
  text.AppendInteger(value);
  NoteFailure(FailureKind::outOfRange, label, text.View());
  text.Clear();
  text.AppendInteger(least);
  text.Append(" to ");
  text.AppendInteger(most);
  m_failure.allowed = text.View();
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
