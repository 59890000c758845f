// Files on disk: every error a file raises, and saves that never put the old document at risk.
#include <fcntl.h>
#include <signal.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>
#include <thread>

#include "support/test_support.h"

namespace {
using namespace labarc::testing;

constexpr char kOld[] = "[Data]\r\nCount=4\r\n";
constexpr UINT kWrite = CFile::modeWrite, kCreate = CFile::modeCreate | CFile::modeWrite;

struct HandleFile : CFile {
  using CFile::CFile;
  using CFile::GetHandle;
};

// The cause CFile's constructor raises opening `path`, naming it (-1 when it opens); Open agrees.
int OpenCause(const std::string& path, UINT flags) {
  CFileException error(CFileException::none, 0, nullptr);
  const int returned = CFile().Open(path.c_str(), flags, &error) ? -1 : error.m_cause;
  try {
    CFile file(path.c_str(), flags);
  } catch (CFileException* thrown) {
    EXPECT_TRUE(thrown->m_cause == returned && thrown->m_strFileName == CString(path.c_str()))
        << path;
    thrown->Delete();
    return returned;
  }
  EXPECT_EQ(returned, -1) << path;
  return -1;
}

// Stores a header and `lines` numbered entries through an archive over `file`.
void Store(CSaveFile& file, int lines) {
  CArchive host(&file, CArchive::store);
  CArchiveEx ar(&host, CString("Plotter"), 1.0, 0);
  ar.WriteHeader();
  for (int i = 0; i < lines; ++i) ar.Write(i, CString("Point"));
  ar.Close();  // raises what the last write raises
}

class FileTest : public ::testing::Test {
 protected:
  FileTest() {
    std::ofstream(m_document, std::ios::binary) << kOld;
    ::chmod(m_document.c_str(), 0640);
  }
  void ExpectOldDocumentAlone() {
    EXPECT_EQ(FileText(m_document), kOld);
    EXPECT_EQ(m_folder.Names(), std::vector<std::string>{"doc.txt"});
  }
  // Points the descriptor of the save's temporary file (named or not) at `other`, behind the save
  // file's back.
  void RedirectTemporary(int other) {
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
      std::error_code error;
      const std::string target = std::filesystem::read_symlink(entry, error).string();
      if (target.starts_with(m_folder.Path() + "/") && target != m_document)
        ::dup2(other, std::stoi(entry.path().filename().string()));
    }
    ::close(other);
  }
  TempFolder m_folder;
  const std::string m_document = m_folder / "doc.txt";
};

// Permissions do not bind root: the cases run in a child that becomes nobody when it can.
TEST_F(FileTest, OpeningWhatIsNotAnOpenableFileRaisesAndKeepsIt) {
  ::chmod(m_document.c_str(), 0444);
  std::ofstream(m_folder / "secret.txt") << "secret";
  ::chmod((m_folder / "secret.txt").c_str(), 0);
  const std::tuple<std::string, UINT, int> cases[] = {
      {m_folder / "missing.txt", CFile::modeRead, CFileException::fileNotFound},
      {m_folder / "missing.txt", kWrite, CFileException::fileNotFound},
      {m_folder / "no/doc.txt", kCreate, CFileException::fileNotFound},
      {m_document + "/below.txt", CFile::modeRead, CFileException::badPath},
      {m_folder.Path(), kWrite, CFileException::genericException},  // a folder
      {m_document, kWrite, CFileException::accessDenied},
      {m_document, kCreate, CFileException::accessDenied},
      {m_folder / "secret.txt", CFile::modeRead, CFileException::accessDenied},
      {m_document, CFile::modeRead, -1},
  };
  const pid_t child = ::fork();
  if (child == 0) {
    if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(2);
    bool expected = true;
    for (const auto& [path, flags, cause] : cases) expected &= OpenCause(path, flags) == cause;
    ::_exit(expected ? 0 : 1);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  if (WEXITSTATUS(status) == 2) GTEST_SKIP() << "cannot become an unprivileged user";
  EXPECT_EQ(status, 0) << "the child's failures are above";
  EXPECT_EQ(m_folder.Names(), (std::vector<std::string>{"doc.txt", "secret.txt"}));
  EXPECT_EQ(FileText(m_document), kOld);
  EXPECT_EQ(CFile((m_folder / "./doc.txt").c_str(), CFile::modeRead).GetFilePath(),
            CString(std::filesystem::canonical(m_document).c_str()));  // the full path
  const int handle = HandleFile(m_document.c_str(), CFile::modeRead).GetHandle();
  EXPECT_EQ(::fcntl(handle, F_GETFD), -1);  // closed as it went
}

// Raised at once, not retried for ever; the file, the line and the position are kept.
TEST_F(FileTest, RefusedWritesAndFailedReadsClosesAndSeeksRaise) {
  ::alarm(10);  // a retry for ever ends the run instead of hanging it
  {
    CFile readOnly(m_document.c_str(), CFile::modeRead);
    EXPECT_TRUE(Raises<CFileException>([&] { readOnly.Write("x", 1); }));
    CArchive ar(&readOnly, CArchive::store);
    ar.WriteString("lost");
    EXPECT_TRUE(Raises<CFileException>([&] { ar.Close(); }));
  }
  EXPECT_EQ(FileText(m_document), kOld);
  HandleFile folder(m_folder.Path().c_str(), CFile::modeRead);  // opens, but cannot be read
  {
    CArchive ar(&folder, CArchive::load);
    CString line = "kept";
    EXPECT_TRUE(Raises<CFileException>([&] { ar.ReadString(line); }));
    EXPECT_EQ(line, "kept");
  }
  ::alarm(0);
  ::close(folder.GetHandle());  // behind the file's back: its own close fails
  EXPECT_TRUE(Raises<CFileException>([&] { folder.Close(); }));
  EXPECT_EQ(folder.GetHandle(), -1);
  CMemFile memory(kOld);
  CFile disk(m_document.c_str(), CFile::modeRead);
  for (CFile* file : {static_cast<CFile*>(&memory), &disk}) {
    file->Seek(8, CFile::begin);
    EXPECT_TRUE(Raises<CFileException>([&] { file->Seek(-9, CFile::current); }));
    EXPECT_TRUE(Raises<CFileException>([&] { file->Seek(-100, CFile::end); }));
    char text[5] = {};
    EXPECT_EQ((std::tuple{file->Read(text, 1), file->Read(text + 1, 3)}), (std::tuple{1u, 3u}));
    EXPECT_STREQ(text, "Coun");
    EXPECT_EQ(file->GetLength(), sizeof kOld - 1);
  }
  errno = ENOENT;  // left over from an earlier call: a sound close must not report it
  EXPECT_NO_THROW(disk.Close());
}

TEST_F(FileTest, SaveOnlyCommitReplacesTheDocumentKeepingItsPermissions) {
  for (void (*end)(CSaveFile&) :
       {+[](CSaveFile&) {}, +[](CSaveFile& f) { f.Close(); }, +[](CSaveFile& f) { f.Abandon(); }}) {
    {
      CSaveFile file(m_document.c_str());
      Store(file, 100);
      end(file);
    }
    ExpectOldDocumentAlone();
  }
  CSaveFile file(m_document.c_str());
  EXPECT_EQ(file.GetFilePath(), CString(m_document.c_str()));
  Store(file, 2);
  EXPECT_EQ(FileText(m_document), kOld);
  file.Commit();
  EXPECT_EQ(FileText(m_document),
            Lines({"[Archive Header]", "Archive Version Number=1.03", "Application Name=Plotter",
                   "Application Version Number=1", "Point=0", "Point=1"}));
  EXPECT_EQ(std::filesystem::status(m_document).permissions(), std::filesystem::perms(0640));
  EXPECT_TRUE(Raises<CFileException>([&] { file.Commit(); }));  // nothing left to commit
  CSaveFile fresh((m_folder / "new.txt").c_str());
  fresh.Write("x", 1);
  fresh.Commit();
  EXPECT_EQ(m_folder.Names(), (std::vector<std::string>{"doc.txt", "new.txt"}));
  EXPECT_EQ(FileText(m_folder / "new.txt"), "x");
}

TEST_F(FileTest, SaveFailuresKeepTheOldDocument) {
  for (const char* path : {"/no/such/folder/plot.txt", ""}) {
    CFileException error(CFileException::none, 0, nullptr);
    CSaveFile file;
    EXPECT_FALSE(file.Open(path, CFile::modeCreate, &error));
    EXPECT_EQ(error.m_cause, CFileException::fileNotFound) << path;
    EXPECT_TRUE(Raises<CFileException>([&] { file.Commit(); }));
  }
  CFileException error(CFileException::none, 0, nullptr);
  EXPECT_FALSE(CSaveFile().Open("/no/such/folder/plot.txt", CFile::modeCreate, &error));
  EXPECT_EQ(error.GetErrorMessage(),
            "/no/such/folder/plot.txt: no new file can be made in the folder /no/such/folder: No "
            "such file or directory (cause 2, system error 2)");

  // A write failing half-way: the descriptor becomes /dev/full (ENOSPC). Later writes and the
  // commit raise the same cause.
  CSaveFile file(m_document.c_str());
  file.Write("[Archive Header]\r\n", 18);
  RedirectTemporary(::open("/dev/full", O_WRONLY));
  EXPECT_TRUE(Raises<CFileException>([&] { Store(file, 10000); }));
  ExpectOldDocumentAlone();
  for (const auto& step : std::initializer_list<std::function<void()>>{[&] { file.Write("x", 1); },
                                                                       [&] { file.Commit(); }}) {
    try {
      step();
      ADD_FAILURE() << "no exception";
    } catch (CFileException* raised) {
      EXPECT_EQ(std::tuple(raised->m_cause, raised->m_lOsError, raised->m_strFileName),
                std::tuple(+CFileException::diskFull, LONG{ENOSPC}, CString(m_document.c_str())));
      raised->Delete();
    }
  }
  ExpectOldDocumentAlone();
  // A sync that fails: the descriptor becomes a pipe, which cannot be synced (EINVAL).
  CSaveFile unsynced(m_document.c_str());
  unsynced.Write("x", 1);
  int ends[2];
  ASSERT_EQ(::pipe(ends), 0);
  RedirectTemporary(ends[1]);
  EXPECT_TRUE(Raises<CFileException>([&] { unsynced.Commit(); }));
  ::close(ends[0]);
  ExpectOldDocumentAlone();
}

// Killed at random points of large saves, with no clean-up, with unnamed and with named temporary
// files: the document is always whole, and once a later save completes nothing else is beside it.
TEST_F(FileTest, SavesKilledAtRandomLeaveTheDocumentWholeAndOnceOneCompletesNothingElse) {
  constexpr int kLines = 400'000;
  std::mt19937 random(17);
  for (const UINT flags : {0u, CSaveFile::modeNamedTemporary}) {
    SCOPED_TRACE(flags);
    std::ofstream(m_document, std::ios::binary | std::ios::trunc) << kOld;
    const auto save = [&] {
      CSaveFile file(m_document.c_str(), flags);
      Store(file, kLines);
      file.Commit();
    };
    const auto started = std::chrono::steady_clock::now();
    save();
    const auto took = std::chrono::steady_clock::now() - started;
    const std::string saved = FileText(m_document);
    std::ofstream(m_document, std::ios::binary | std::ios::trunc) << kOld;
    for (int kill = 0; kill < 10; ++kill) {
      const pid_t child = ::fork();
      if (child == 0) {
        save();
        ::_exit(0);
      }
      std::this_thread::sleep_for(std::uniform_real_distribution<double>(0.1, 1.0)(random) * took);
      ::kill(child, SIGKILL);
      ::waitpid(child, nullptr, 0);
      const std::string text = FileText(m_document);
      EXPECT_TRUE(text == kOld || text == saved) << "killed save " << kill;
    }
    save();
    EXPECT_EQ(m_folder.Names(), std::vector<std::string>{"doc.txt"});
  }
}

// The faulty shape: the host archive closed and the file committed while the text archive over
// it still holds its last text. The commit refuses; a destructor's failed flush is raised by the
// commit with its own cause.
TEST_F(FileTest, CommitRefusesTextAnArchiveHasNotWritten) {
  CCurveObj curve(20'000);
  {
    CSaveFile file(m_document.c_str());
    CArchive host(&file, CArchive::store);
    CArchiveEx ar(&host, CString("Plotter"), 1.0, 1);
    ar.WriteHeader();
    ar.Write(curve);
    host.Close();
    EXPECT_TRUE(Raises<CFileException>([&] { file.Commit(); }));
  }
  ExpectOldDocumentAlone();
  CSaveFile file(m_document.c_str());
  {
    CArchive host(&file, CArchive::store);
    CArchiveEx ar(&host, CString("Plotter"), 1.0, 1);
    ar.WriteHeader();
    RedirectTemporary(::open("/dev/full", O_WRONLY));
  }  // the destructors cannot write the text, nor report it
  try {
    file.Commit();
    ADD_FAILURE() << "committed";
  } catch (CFileException* error) {
    EXPECT_EQ(std::tuple(error->m_cause, error->m_lOsError),
              std::tuple(+CFileException::diskFull, LONG{ENOSPC}));
    error->Delete();
  }
  ExpectOldDocumentAlone();
}

// A link is followed and stays a link; owner, group and mode stay; hard links are refused.
TEST_F(FileTest, SaveReplacesTheFileALinkNamesKeepingItsOwnerAndRefusesHardLinks) {
  std::filesystem::create_directory(m_folder / "real");
  const std::string real = m_folder / "real/doc.txt";
  std::filesystem::rename(m_document, real);
  std::filesystem::create_symlink("real/doc.txt", m_document);
  const bool root = ::geteuid() == 0;
  if (root) {
    ASSERT_EQ(::chown(real.c_str(), 65534, 65534), 0);
  }
  {
    CSaveFile file(m_document.c_str());
    file.Write("new", 3);
    file.Commit();
  }
  EXPECT_TRUE(std::filesystem::is_symlink(m_document));
  EXPECT_EQ(FileText(real), "new");
  struct stat info {};
  ASSERT_EQ(::stat(real.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
  if (root) {
    EXPECT_EQ(std::tuple(info.st_uid, info.st_gid), std::tuple(65534u, 65534u));
  }
  EXPECT_EQ(m_folder.Names(), (std::vector<std::string>{"doc.txt", "real"}));

  std::filesystem::create_hard_link(real, m_folder / "other.txt");
  CFileException error(CFileException::none, 0, nullptr);
  EXPECT_FALSE(CSaveFile().Open(m_document.c_str(), CFile::modeCreate, &error));
  EXPECT_EQ(error.m_lOsError, EMLINK);
  EXPECT_EQ(std::tuple(FileText(real), FileText(m_folder / "other.txt")), std::tuple("new", "new"));
}

// Another user watching the folder never opens the new text of a document it may not read.
TEST_F(FileTest, SaveNeverLetsOthersReadAPrivateDocument) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to watch as another user";
  ::chmod(m_document.c_str(), 0600);
  ::chmod(m_folder.Path().c_str(), 0755);
  int ready[2];
  ASSERT_EQ(::pipe(ready), 0);
  const pid_t child = ::fork();
  if (child == 0) {
    if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(255);
    const int watch = ::inotify_init1(IN_CLOEXEC);
    ::inotify_add_watch(watch, m_folder.Path().c_str(), IN_CREATE);
    if (::write(ready[1], "r", 1) != 1) ::_exit(255);
    int opened = 0;
    alignas(inotify_event) char events[4096];
    for (;;) {
      const ssize_t size = ::read(watch, events, sizeof events);
      if (size <= 0) ::_exit(255);
      for (const char* at = events; at < events + size;) {
        const auto* event = reinterpret_cast<const inotify_event*>(at);
        at += sizeof(inotify_event) + event->len;
        if (event->len == 0) continue;
        if (std::string_view(event->name) == "stop") ::_exit(std::min(opened, 254));
        const int handle = ::open((m_folder / event->name).c_str(), O_RDONLY);
        if (handle >= 0) ++opened, ::close(handle);
      }
    }
  }
  char byte = 0;
  ASSERT_EQ(::read(ready[0], &byte, 1), 1);
  for (const UINT flags : {0u, CSaveFile::modeNamedTemporary})
    for (int save = 0; save < 100; ++save) {
      CSaveFile file(m_document.c_str(), flags);
      file.Write("secret", 6);
      file.Commit();
    }
  std::ofstream(m_folder / "stop") << "";
  int status = 0;
  ::waitpid(child, &status, 0);
  ::close(ready[0]);
  ::close(ready[1]);
  EXPECT_EQ(WEXITSTATUS(status), 0) << "times the new text was opened by another user";
}

}  // namespace
