// The framework's exceptions. They are thrown as heap pointers; whoever catches one calls Delete().
#pragma once

#include <labarc/framework/cstring.h>
#include <labarc/framework/export.h>
#include <labarc/framework/object.h>
#include <labarc/framework/win_types.h>

inline namespace labarc_framework {

class LABARC_API CException : public CObject {
 public:
  // Frees an exception that was caught; the pointer is invalid afterwards.
  virtual void Delete() { delete this; }
  // A short description for logs and hosts.
  virtual CString GetErrorMessage() const = 0;

 protected:
  CException() = default;
};

class LABARC_API CArchiveException : public CException {
 public:
  enum Cause {
    none = 0,
    genericException = 1,
    readOnly = 2,
    endOfFile = 3,
    writeOnly = 4,
    badIndex = 5,
    badClass = 6,
    badSchema = 7,
    bufferFull = 8,
  };

  explicit CArchiveException(int cause = none, const char* archiveName = nullptr)
      : m_cause(cause), m_strFileName(archiveName) {}
  CString GetErrorMessage() const override;

  int m_cause;
  CString m_strFileName;
};

class LABARC_API CFileException : public CException {
 public:
  enum Cause {
    none = 0,
    genericException = 1,
    fileNotFound = 2,
    badPath = 3,
    tooManyOpenFiles = 4,
    accessDenied = 5,
    invalidFile = 6,
    badSeek = 10,
    hardIO = 11,
    diskFull = 14,
    endOfFile = 15,
  };

  CFileException(int cause, LONG osError, const char* fileName, const char* detail = nullptr)
      : m_cause(cause), m_lOsError(osError), m_strFileName(fileName), m_strDetail(detail) {}
  // The file, what went wrong and the system's own words for the error number, such as
  // "/home/ann/plot.txt: the folder /home/ann cannot be written: Permission denied (cause 5,
  // system error 13)".
  CString GetErrorMessage() const override;
  // The cause that stands for the system's error number `osError` (errno).
  static int OsErrorToException(LONG osError);

  int m_cause;
  LONG m_lOsError;
  CString m_strFileName;
  CString m_strDetail;  // what the file was being used for, when more than reading or writing
};

class LABARC_API CMemoryException : public CException {
 public:
  CString GetErrorMessage() const override { return "out of memory"; }
};

class LABARC_API CInvalidArgException : public CException {
 public:
  CString GetErrorMessage() const override { return "invalid argument"; }
};

[[noreturn]] LABARC_API void AfxThrowMemoryException();
[[noreturn]] LABARC_API void AfxThrowInvalidArgException();
[[noreturn]] LABARC_API void AfxThrowArchiveException(int cause, const char* archiveName = nullptr);
[[noreturn]] LABARC_API void AfxThrowFileException(int cause, LONG osError = -1,
                                                   const char* fileName = nullptr,
                                                   const char* detail = nullptr);

}  // namespace labarc_framework
