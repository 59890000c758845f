#include <labarc/framework/exceptions.h>

inline namespace labarc_framework {

CString CArchiveException::GetErrorMessage() const {
  CString text;
  text.Format("archive exception, cause %d%s%s", m_cause, m_strFileName.IsEmpty() ? "" : ", file ",
              m_strFileName.GetString());
  return text;
}

CString CFileException::GetErrorMessage() const {
  CString text;
  text.Format("file exception, cause %d, system error %d%s%s", m_cause,
              static_cast<int>(m_lOsError), m_strFileName.IsEmpty() ? "" : ", file ",
              m_strFileName.GetString());
  return text;
}

void AfxThrowMemoryException() { throw new CMemoryException; }

void AfxThrowInvalidArgException() { throw new CInvalidArgException; }

void AfxThrowArchiveException(int cause, const char* archiveName) {
  throw new CArchiveException(cause, archiveName);
}

void AfxThrowFileException(int cause, LONG osError, const char* fileName) {
  throw new CFileException(cause, osError, fileName);
}

}  // namespace labarc_framework
