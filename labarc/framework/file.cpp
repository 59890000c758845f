#include <labarc/framework/file.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>

#include <labarc/framework/archive.h>
#include <labarc/framework/exceptions.h>

inline namespace labarc_framework {

int CFileException::OsErrorToException(LONG error) {
  switch (error) {
    case ENOENT:
      return CFileException::fileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
      return CFileException::badPath;
    case EMFILE:
    case ENFILE:
      return CFileException::tooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EROFS:
      return CFileException::accessDenied;
    case EBADF:
      return CFileException::invalidFile;
    case ENOSPC:
      return CFileException::diskFull;
    case EIO:
      return CFileException::hardIO;
    default:
      return CFileException::genericException;
  }
}

namespace {

CString FullPath(const char* path) {
  char resolved[PATH_MAX];
  return realpath(path, resolved) ? CString(resolved) : CString(path);
}

}  // namespace

CFile::CFile(const char* path, UINT openFlags) {
  CFileException error(CFileException::none, 0, path);
  if (!Open(path, openFlags, &error))
    AfxThrowFileException(error.m_cause, error.m_lOsError, error.m_strFileName);
}

CFile::~CFile() {
  // An archive that outlives its file finds no file, instead of a dangling one.
  for (CArchive* archive : m_archives) archive->m_pFile = nullptr;
  if (m_hFile >= 0) ::close(m_hFile);
}

bool CFile::HasUnwrittenArchiveBytes() const {
  for (const CArchive* archive : m_archives)
    if (archive->IsStoring() && archive->m_position > 0) return true;
  return false;
}

BOOL CFile::Open(const char* path, UINT openFlags, CFileException* error) {
  Close();
  int flags = (openFlags & modeReadWrite) ? O_RDWR : (openFlags & modeWrite) ? O_WRONLY : O_RDONLY;
  if (openFlags & modeCreate) flags |= O_CREAT | ((openFlags & modeNoTruncate) ? 0 : O_TRUNC);
  m_hFile = ::open(path, flags | O_CLOEXEC, 0666);
  if (m_hFile < 0) {
    if (error) *error = CFileException(CFileException::OsErrorToException(errno), errno, path);
    return FALSE;
  }
  m_strFilePath = FullPath(path);
  return TRUE;
}

void CFile::Attach(int handle, const char* path) {
  if (m_hFile >= 0) ::close(m_hFile);
  m_hFile = handle;
  m_strFilePath = FullPath(path);
}

UINT CFile::Read(void* buffer, UINT count) {
  for (;;) {
    const ssize_t got = ::read(m_hFile, buffer, count);
    if (got >= 0) return static_cast<UINT>(got);
    if (errno != EINTR) ThrowLastError();
  }
}

void CFile::Write(const void* buffer, UINT count) {
  const char* bytes = static_cast<const char*>(buffer);
  while (count > 0) {
    const ssize_t put = ::write(m_hFile, bytes, count);
    if (put < 0) {
      if (errno == EINTR) continue;
      ThrowLastError();
    }
    bytes += put;
    count -= static_cast<UINT>(put);
  }
}

std::uint64_t CFile::Seek(std::int64_t offset, UINT from) {
  const int whence = from == end ? SEEK_END : from == current ? SEEK_CUR : SEEK_SET;
  const off_t position = ::lseek(m_hFile, offset, whence);
  if (position < 0) ThrowLastError();
  return static_cast<std::uint64_t>(position);
}

std::uint64_t CFile::GetLength() const {
  struct stat info {};
  if (::fstat(m_hFile, &info) != 0) ThrowLastError();
  return static_cast<std::uint64_t>(info.st_size);
}

void CFile::Flush() {}

void CFile::Close() {
  if (m_hFile < 0) return;
  const int handle = m_hFile;
  m_hFile = -1;
  if (::close(handle) != 0 && errno != EINTR) ThrowLastError();
}

void CFile::ThrowLastError() const {
  const int error = errno;
  AfxThrowFileException(CFileException::OsErrorToException(error), error, m_strFilePath);
}

}  // namespace labarc_framework
