// Saving through CSaveFile: the old document survives every failure byte for byte, including
// real write faults (a file-size limit, a full device) and a process killed half-way.
#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "support/test_support.h"

namespace labarc::testing {
namespace {

constexpr char kOld[] = "[Old]\r\n";
using Names = std::vector<std::string>;

// Stores a header and `lines` numbered entries through an archive over `file`.
void Store(CSaveFile& file, int lines) {
  CArchive host(&file, CArchive::store);
  CString name = "Plotter";
  CArchiveEx ar(&host, name, 1.0, 0);
  ar.WriteHeader();
  for (int i = 0; i < lines; ++i) ar.Write(i, CString("Point"));
  host.Close();
}

// Starts `body` in a child process, which exits 0 when it returns true.
template <class Body>
pid_t Start(Body body) {
  const pid_t child = ::fork();
  if (child == 0) ::_exit(body() ? 0 : 1);
  return child;
}

int WaitFor(pid_t child) {
  int status = 0;
  ::waitpid(child, &status, 0);
  return status;
}

class SaveFileTest : public ::testing::Test {
 protected:
  SaveFileTest() {
    std::ofstream(m_target, std::ios::binary) << kOld;
    ::chmod(m_target.c_str(), 0640);
  }
  void ExpectOldDocumentAlone() {
    EXPECT_EQ(FileText(m_target), kOld);
    EXPECT_EQ(m_folder.Names(), Names{"plot.txt"});
  }
  TempFolder m_folder;
  const std::string m_target = m_folder / "plot.txt";
};

TEST_F(SaveFileTest, OnlyCommitReplacesTheDocumentKeepingItsPermissions) {
  CSaveFile file(m_target.c_str());
  EXPECT_EQ(file.GetFilePath(), CString(m_target.c_str()));
  Store(file, 2);
  EXPECT_EQ(FileText(m_target), kOld);
  file.Commit();
  EXPECT_EQ(FileText(m_target),
            Lines({"[Archive Header]", "Archive Version Number=1.03", "Application Name=Plotter",
                   "Application Version Number=1", "Point=0", "Point=1"}));
  EXPECT_EQ(m_folder.Names(), Names{"plot.txt"});
  struct stat info {};
  ::stat(m_target.c_str(), &info);
  EXPECT_EQ(info.st_mode & 0777, 0640u);
  EXPECT_TRUE(Raises<CFileException>([&] { file.Commit(); }));  // nothing left to commit

  CSaveFile fresh((m_folder / "new.txt").c_str());
  fresh.Write("x", 1);
  fresh.Commit();
  EXPECT_EQ(FileText(m_folder / "new.txt"), "x");
}

TEST_F(SaveFileTest, WithoutCommitTheOldDocumentStays) {
  for (void (*end)(CSaveFile&) :
       {+[](CSaveFile&) {}, +[](CSaveFile& f) { f.Close(); }, +[](CSaveFile& f) { f.Abandon(); }}) {
    {
      CSaveFile file(m_target.c_str());
      Store(file, 100);
      end(file);
    }
    ExpectOldDocumentAlone();
  }
  for (const char* path : {"/no/such/folder/plot.txt", ""}) {
    CFileException error(CFileException::none, 0, nullptr);
    CSaveFile file;
    EXPECT_FALSE(file.Open(path, CFile::modeCreate, &error));
    EXPECT_EQ(error.m_cause, CFileException::fileNotFound) << path;
    EXPECT_TRUE(Raises<CFileException>([&] { file.Commit(); }));
  }
  EXPECT_TRUE(Raises<CFileException>([] { CSaveFile file("/no/such/folder/plot.txt"); }));
}

// A write failing half-way: the archive's write raises, and the commit refuses.
TEST_F(SaveFileTest, AWriteFailingHalfWayKeepsTheOldDocument) {
  // A file-size limit of 64 KiB, in a child so that it does not bind the test run; with the
  // signal that would end the process ignored, a write beyond it fails with EFBIG.
  const int status = WaitFor(Start([&] {
    ::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{1 << 16, 1 << 16};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    CSaveFile file(m_target.c_str());
    return Raises<CFileException>([&] { Store(file, 100000); }) &&
           Raises<CFileException>([&] { file.Commit(); });
  }));
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  ExpectOldDocumentAlone();

  // A full device: after a first write, the temporary file's descriptor is swapped for
  // /dev/full, where every write fails with ENOSPC.
  CSaveFile file(m_target.c_str());
  file.Write("[Archive Header]\r\n", 18);
  const int full = ::open("/dev/full", O_WRONLY);
  for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
    std::error_code error;
    if (std::filesystem::read_symlink(entry, error).string().starts_with(m_target + "."))
      ::dup2(full, std::stoi(entry.path().filename().string()));
  }
  ::close(full);
  EXPECT_TRUE(Raises<CFileException>([&] { Store(file, 10000); }));
  EXPECT_TRUE(Raises<CFileException>([&] { file.Commit(); }));
  ExpectOldDocumentAlone();
}

// A process killed with SIGKILL during a large save, at different points: no clean-up runs, yet
// the old document is whole every time.
TEST_F(SaveFileTest, AProcessKilledDuringASaveKeepsTheOldDocument) {
  for (const std::uintmax_t killAfter : {1, 100'000, 1'000'000, 4'000'000}) {
    const pid_t child = Start([&] {
      CSaveFile file(m_target.c_str());
      Store(file, 10'000'000);
      file.Commit();
      return true;
    });
    for (std::uintmax_t written = 0; written < killAfter;) {
      ASSERT_EQ(::waitpid(child, nullptr, WNOHANG), 0) << "the save ended before the kill";
      for (const auto& name : m_folder.Names())
        if (name != "plot.txt") written = std::filesystem::file_size(m_folder / name);
      ::usleep(1000);
    }
    ::kill(child, SIGKILL);
    const int status = WaitFor(child);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
    EXPECT_EQ(FileText(m_target), kOld) << killAfter;
    for (const auto& name : m_folder.Names())
      if (name != "plot.txt") std::filesystem::remove(m_folder / name);
  }
}

}  // namespace
}  // namespace labarc::testing
