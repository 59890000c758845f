#include "archive/archive_ex.h"
#include "framework/exceptions.h"
#include "framework/message_box.h"

int CArchiveEx::HandleError(const char* name) {
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
