#include <labarc/framework/save_file.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string_view>

#include <labarc/framework/exceptions.h>

inline namespace labarc_framework {

namespace {

constexpr int kMaxLinksFollowed = 40;  // as the system's own path lookup
constexpr std::string_view kTemporarySuffix = ".tmp";
constexpr std::size_t kTemporaryDigits = 6;

std::string FolderOf(const std::string& path) {
  const auto slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// The file that `path` stands for once every symbolic link on its last part is followed; the path
// itself when it names no link (or nothing yet). Returns 0 or the system error.
int FollowLinks(std::string path, std::string& target) {
  for (int depth = 0; depth < kMaxLinksFollowed; ++depth) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
      target = std::move(path);
      return 0;
    }
    char link[PATH_MAX];
    const ssize_t length = ::readlink(path.c_str(), link, sizeof link);
    if (length < 0) return errno;
    if (static_cast<std::size_t>(length) == sizeof link) return ENAMETOOLONG;
    const std::string next(link, static_cast<std::size_t>(length));
    path = next.starts_with('/') ? next : FolderOf(path) + "/" + next;
  }
  return ELOOP;
}

std::string TemporaryName(const std::string& target, std::random_device& random) {
  char digits[kTemporaryDigits + 1];
  std::snprintf(digits, sizeof digits, "%06u", static_cast<unsigned>(random() % 1000000));
  return target + std::string(kTemporarySuffix) + digits;
}

// A temporary file with no name in `folder`, or -1 with errno set; EOPNOTSUPP when this system
// could not give it a name later (no /proc to reach it through).
int CreateUnnamed(const std::string& folder, mode_t mode) {
  if (::access("/proc/self/fd", X_OK) != 0) {
    errno = EOPNOTSUPP;
    return -1;
  }
  return ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
}

// The errors by which a kernel or file system says it has no unnamed files.
bool UnnamedUnsupported(int error) {
  return error == EOPNOTSUPP || error == EISDIR || error == EINVAL;
}

// A new file named after `target` in its folder, so that the final rename stays within one file
// system. Returns the descriptor, or -1 with errno set.
int CreateNamed(const std::string& target, std::string& name, mode_t mode) {
  std::random_device random;
  for (int attempt = 0; attempt < 16; ++attempt) {
    name = TemporaryName(target, random);
    const int handle = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (handle >= 0) return handle;
    if (errno != EEXIST) break;
  }
  name.clear();
  return -1;
}

// Gives the unnamed file `handle` a new temporary name beside `target`. Linking through /proc
// needs no privilege, unlike linking the descriptor itself (AT_EMPTY_PATH).
bool NameUnnamed(int handle, const std::string& target, std::string& name) {
  const std::string open = "/proc/self/fd/" + std::to_string(handle);
  std::random_device random;
  for (int attempt = 0; attempt < 16; ++attempt) {
    name = TemporaryName(target, random);
    if (::linkat(AT_FDCWD, open.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0)
      return true;
    if (errno != EEXIST) break;
  }
  name.clear();
  return false;
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

CSaveFile::CSaveFile(const char* path, UINT openFlags) {
  CFileException error(CFileException::none, 0, path);
  if (!Open(path, openFlags, &error))
    AfxThrowFileException(error.m_cause, error.m_lOsError, error.m_strFileName, error.m_strDetail);
}

CSaveFile::~CSaveFile() { Abandon(); }

BOOL CSaveFile::Open(const char* path, UINT openFlags, CFileException* error) {
  Abandon();
  m_nFailedCause = m_nFailedOsError = 0;
  m_target.clear();
  const auto refuse = [&](int osError, const std::string& detail) {
    if (error)
      *error = CFileException(CFileException::OsErrorToException(osError), osError, path,
                              detail.empty() ? nullptr : detail.c_str());
    return FALSE;
  };
  if (!path || !*path) return refuse(ENOENT, {});
  if (const int failed = FollowLinks(path, m_target))
    return refuse(failed, "its symbolic links cannot be followed");
  const std::string folder = FolderOf(m_target);
  struct stat old {};
  const bool exists = ::stat(m_target.c_str(), &old) == 0;
  if (exists && S_ISREG(old.st_mode) && old.st_nlink > 1)
    return refuse(EMLINK, "the document has other hard links, which a save would part from it");

  // Until it has the old document's owner and mode, only the saving user may read the new text.
  const mode_t mode = exists ? 0600 : 0666;
  int handle =
      (openFlags & modeNamedTemporary) ? (errno = EOPNOTSUPP, -1) : CreateUnnamed(folder, mode);
  if (handle < 0 && UnnamedUnsupported(errno)) handle = CreateNamed(m_target, m_temporary, mode);
  if (handle < 0) return refuse(errno, "no new file can be made in the folder " + folder);
  if (exists) {
    // Root may give the file to the document's owner; others may at least keep its group.
    if (::fchown(handle, old.st_uid, old.st_gid) != 0 &&
        ::fchown(handle, static_cast<uid_t>(-1), old.st_gid) != 0) {
      // the saving user's own group it is
    }
    ::fchmod(handle, old.st_mode & 07777);
  }
  Attach(handle, m_target.c_str());
  SetFilePath(path);
  m_bOpen = true;
  return TRUE;
}

void CSaveFile::Write(const void* buffer, UINT count) {
  if (m_nFailedCause) Fail(m_nFailedCause, m_nFailedOsError);
  try {
    CFile::Write(buffer, count);
  } catch (CFileException* error) {
    // The new contents are incomplete: drop them now, and keep the cause for Commit().
    m_nFailedCause = error->m_cause;
    m_nFailedOsError = static_cast<int>(error->m_lOsError);
    Abandon();
    throw;
  }
}

void CSaveFile::Fail(int cause, int osError, const char* detail) {
  Abandon();
  AfxThrowFileException(cause, osError, GetFilePath(), detail);
}

void CSaveFile::Commit() {
  const auto failWithErrno = [this](const char* detail) {
    const int error = errno;
    Fail(CFileException::OsErrorToException(error), error, detail);
  };
  if (m_nFailedCause) Fail(m_nFailedCause, m_nFailedOsError, "a write failed");
  if (!m_bOpen || GetHandle() < 0) Fail(CFileException::invalidFile, EBADF, "nothing to commit");
  if (HasUnwrittenArchiveBytes())
    Fail(CFileException::genericException, 0,
         "an archive over the file still holds unwritten text; close it before the commit");
  if (::fsync(GetHandle()) != 0) failWithErrno("the new text cannot be synced to disk");
  if (m_temporary.empty() && !NameUnnamed(GetHandle(), m_target, m_temporary))
    failWithErrno("the new text cannot be named in its folder");
  if (::close(Detach()) != 0) failWithErrno("the new text cannot be closed");
  if (::rename(m_temporary.c_str(), m_target.c_str()) != 0)
    failWithErrno("the new text cannot replace the document");
  m_temporary.clear();
  m_bOpen = false;
  RemoveLeftovers();
  if (SyncFolder(FolderOf(m_target)) != 0) {
    const int error = errno;
    AfxThrowFileException(CFileException::OsErrorToException(error), error, GetFilePath(),
                          "its folder cannot be synced");
  }
}

void CSaveFile::RemoveLeftovers() const noexcept {
  namespace fs = std::filesystem;
  const fs::path target(m_target);
  const std::string prefix = target.filename().string() + std::string(kTemporarySuffix);
  std::error_code error;
  for (fs::directory_iterator
           entry(target.parent_path().empty() ? "." : target.parent_path(), error),
       end;
       !error && entry != end; entry.increment(error)) {
    const std::string name = entry->path().filename().string();
    if (!name.starts_with(prefix) || name.size() == prefix.size() ||
        name.size() > prefix.size() + kTemporaryDigits ||
        name.find_first_not_of("0123456789", prefix.size()) != std::string::npos)
      continue;
    std::error_code ignored;
    if (entry->is_regular_file(ignored)) fs::remove(entry->path(), ignored);
  }
}

void CSaveFile::Abandon() noexcept {
  if (const int handle = Detach(); handle >= 0) ::close(handle);
  if (!m_temporary.empty()) ::unlink(m_temporary.c_str());
  m_temporary.clear();
  m_bOpen = false;
}

}  // namespace labarc_framework
