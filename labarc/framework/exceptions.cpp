#include <labarc/framework/exceptions.h>

#include <system_error>

inline namespace labarc_framework {

CString CArchiveException::GetErrorMessage() const {
  CString text;
  text.Format("archive exception, cause %d%s%s", m_cause, m_strFileName.IsEmpty() ? "" : ", file ",
              m_strFileName.GetString());
  return text;
}

CString CFileException::GetErrorMessage() const {
  CString text = m_strFileName.IsEmpty() ? CString("file") : m_strFileName;
  if (!m_strDetail.IsEmpty()) text += ": " + m_strDetail;
  if (m_lOsError > 0) text += ": " + CString(std::system_category().message(m_lOsError).c_str());
  CString numbers;
  numbers.Format(" (cause %d, system error %d)", m_cause, static_cast<int>(m_lOsError));
  return text + numbers;
}

void AfxThrowMemoryException() { throw new CMemoryException; }

void AfxThrowInvalidArgException() { throw new CInvalidArgException; }

void AfxThrowArchiveException(int cause, const char* archiveName) {
  throw new CArchiveException(cause, archiveName);
}

void AfxThrowFileException(int cause, LONG osError, const char* fileName, const char* detail) {
  throw new CFileException(cause, osError, fileName, detail);
}

}  // namespace labarc_framework
