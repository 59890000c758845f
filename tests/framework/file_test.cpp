// Files on disk: every error a file raises, and saves that never put the old document at risk.
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

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
  EXPECT_TRUE(Raises<CFileException>([] { CSaveFile file("/no/such/folder/plot.txt"); }));

  // Points the temporary file's descriptor at `other`, behind the save file's back.
  const auto redirectTemporary = [&](int other) {
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
      std::error_code error;
      if (std::filesystem::read_symlink(entry, error).string().starts_with(m_document + "."))
        ::dup2(other, std::stoi(entry.path().filename().string()));
    }
    ::close(other);
  };
  // A write failing half-way: the descriptor becomes /dev/full (ENOSPC).
  CSaveFile file(m_document.c_str());
  file.Write("[Archive Header]\r\n", 18);
  redirectTemporary(::open("/dev/full", O_WRONLY));
  EXPECT_TRUE(Raises<CFileException>([&] { Store(file, 10000); }));
  ExpectOldDocumentAlone();
  EXPECT_TRUE(Raises<CFileException>([&] { file.Write("x", 1); }));
  EXPECT_TRUE(Raises<CFileException>([&] { file.Commit(); }));
  ExpectOldDocumentAlone();
  // A sync that fails: the descriptor becomes a pipe, which cannot be synced (EINVAL).
  CSaveFile unsynced(m_document.c_str());
  unsynced.Write("x", 1);
  int ends[2];
  ASSERT_EQ(::pipe(ends), 0);
  redirectTemporary(ends[1]);
  EXPECT_TRUE(Raises<CFileException>([&] { unsynced.Commit(); }));
  ::close(ends[0]);
  ExpectOldDocumentAlone();
}

// Killed at different points of a large save, with no clean-up: the old document stays whole.
TEST_F(FileTest, SaveAProcessKilledDuringASaveKeepsTheOldDocument) {
  for (const std::uintmax_t killAfter : {1, 100'000, 1'000'000, 4'000'000}) {
    const pid_t child = ::fork();
    if (child == 0) {
      CSaveFile file(m_document.c_str());
      Store(file, 10'000'000);
      file.Commit();
      ::_exit(0);
    }
    for (std::uintmax_t written = 0; written < killAfter;) {
      ASSERT_EQ(::waitpid(child, nullptr, WNOHANG), 0) << "the save ended before the kill";
      for (const auto& name : m_folder.Names())
        if (name != "doc.txt") written = std::filesystem::file_size(m_folder / name);
      ::usleep(1000);
    }
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    EXPECT_EQ(FileText(m_document), kOld) << killAfter;
    for (const auto& name : m_folder.Names())
      if (name != "doc.txt") std::filesystem::remove(m_folder / name);
  }
}

}  // namespace
