#include <labarc/framework/save_file.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <random>

#include <labarc/framework/exceptions.h>

inline namespace labarc_framework {

namespace {

std::string FolderOf(const std::string& path) {
  const auto slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// Creates a new file named after `target` in the same folder, so that the final rename stays
// within one file system. Returns the descriptor, or -1 with errno set.
int CreateTemporary(const std::string& target, std::string& name) {
  std::random_device random;
  for (int attempt = 0; attempt < 16; ++attempt) {
    name = target + ".tmp" + std::to_string(random() % 1000000);
    const int handle = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (handle >= 0 || errno != EEXIST) return handle;
  }
  return -1;
}

int SyncFolder(const std::string& folder) {
  const int handle = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (handle < 0) return -1;
  const int result = ::fsync(handle);
  const int error = errno;
  ::close(handle);
  errno = error;
  return result;
}

}  // namespace

CSaveFile::CSaveFile(const char* path) {
  CFileException error(CFileException::none, 0, path);
  if (!Open(path, modeCreate | modeWrite, &error))
    AfxThrowFileException(error.m_cause, error.m_lOsError, error.m_strFileName);
}

CSaveFile::~CSaveFile() { Abandon(); }

BOOL CSaveFile::Open(const char* path, UINT, CFileException* error) {
  Abandon();
  m_target = path ? path : "";
  std::string temporary;
  const int handle = m_target.empty() ? (errno = ENOENT, -1) : CreateTemporary(m_target, temporary);
  if (handle < 0) {
    if (error) *error = CFileException(CFileException::OsErrorToException(errno), errno, path);
    return FALSE;
  }
  m_temporary = temporary;
  // The new document keeps the old one's permissions.
  struct stat old {};
  if (::stat(m_target.c_str(), &old) == 0) ::fchmod(handle, old.st_mode & 07777);
  Attach(handle, m_temporary.c_str());
  SetFilePath(m_target.c_str());
  return TRUE;
}

void CSaveFile::Write(const void* buffer, UINT count) {
  try {
    CFile::Write(buffer, count);
  } catch (CFileException*) {
    Abandon();  // the new contents are incomplete: drop them now, so that Commit() refuses
    throw;
  }
}

void CSaveFile::Commit() {
  const auto fail = [this](int cause, int osError) {
    Abandon();
    AfxThrowFileException(cause, osError, m_target.c_str());
  };
  if (m_temporary.empty() || GetHandle() < 0) fail(CFileException::invalidFile, EBADF);
  if (::fsync(GetHandle()) != 0) fail(CFileException::hardIO, errno);
  if (::close(Detach()) != 0) fail(CFileException::hardIO, errno);
  if (::rename(m_temporary.c_str(), m_target.c_str()) != 0)
    fail(CFileException::accessDenied, errno);
  m_temporary.clear();
  if (SyncFolder(FolderOf(m_target)) != 0)
    AfxThrowFileException(CFileException::hardIO, errno, m_target.c_str());
}

void CSaveFile::Abandon() noexcept {
  if (const int handle = Detach(); handle >= 0) ::close(handle);
  if (!m_temporary.empty()) ::unlink(m_temporary.c_str());
  m_temporary.clear();
}

}  // namespace labarc_framework
