// The framework's file: a disk file opened by path, or (through subclasses) any other byte store.
// Failures raise CFileException.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include <labarc/framework/cstring.h>
#include <labarc/framework/export.h>
#include <labarc/framework/object.h>

inline namespace labarc_framework {

class CArchive;
class CFileException;

class LABARC_API CFile : public CObject {
 public:
  enum OpenFlags : UINT {
    modeRead = 0x0000,
    modeWrite = 0x0001,
    modeReadWrite = 0x0002,
    modeCreate = 0x1000,
    modeNoTruncate = 0x2000,
    typeBinary = 0x8000,
  };
  enum SeekPosition : UINT { begin = 0, current = 1, end = 2 };

  CFile() = default;
  // Opens `path`; raises CFileException when it cannot.
  CFile(const char* path, UINT openFlags);
  CFile(const CFile&) = delete;
  CFile& operator=(const CFile&) = delete;
  ~CFile() override;

  // Opens `path`; on failure returns FALSE and fills `error` when given.
  virtual BOOL Open(const char* path, UINT openFlags, CFileException* error = nullptr);
  // Reads up to `count` bytes; returns how many were read, 0 at the end of the file.
  virtual UINT Read(void* buffer, UINT count);
  virtual void Write(const void* buffer, UINT count);
  virtual std::uint64_t Seek(std::int64_t offset, UINT from);
  virtual std::uint64_t GetLength() const;
  // True for a file whose reader must take no bytes beyond the lines it reads, and whose Read
  // hands over at most the rest of one line, each ended by a line feed, as they are asked for: an
  // archive then reads ahead no more lines than it was asked for.
  virtual bool HandsOverLines() const { return false; }
  virtual void Flush();
  virtual void Close();

  // The full path of the file, as resolved when it was opened.
  virtual CString GetFilePath() const { return m_strFilePath; }
  virtual void SetFilePath(const char* path) { m_strFilePath = path; }

 protected:
  // The open descriptor (-1 when closed), for files that open, sync or rename in their own way.
  // Attach adopts `handle` in place of a closed file; Detach gives the descriptor up unclosed.
  int GetHandle() const { return m_hFile; }
  void Attach(int handle, const char* path);
  int Detach() { return std::exchange(m_hFile, -1); }
  [[noreturn]] LABARC_LOCAL void ThrowLastError() const;
  // True while an archive over this file holds bytes it has not yet handed to the file: a save
  // that ended now would miss them.
  bool HasUnwrittenArchiveBytes() const;

 private:
  friend class CArchive;  // archives enrol here while they are over the file

  int m_hFile = -1;
  CString m_strFilePath;
  std::vector<CArchive*> m_archives;  // the archives now over this file
};

}  // namespace labarc_framework
