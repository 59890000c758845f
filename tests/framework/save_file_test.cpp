// Saving through CSaveFile: the old document survives every failure byte for byte, a full device
// and a process killed half-way included.
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

constexpr char kOld[] = "[Old]\r\n";

// Stores a header and `lines` numbered entries through an archive over `file`.
void Store(CSaveFile& file, int lines) {
  CArchive host(&file, CArchive::store);
  CArchiveEx ar(&host, CString("Plotter"), 1.0, 0);
  ar.WriteHeader();
  for (int i = 0; i < lines; ++i) ar.Write(i, CString("Point"));
  host.Close();
}

class SaveFileTest : public ::testing::Test {
 protected:
  SaveFileTest() {
    std::ofstream(m_target, std::ios::binary) << kOld;
    ::chmod(m_target.c_str(), 0640);
  }
  void ExpectOldDocumentAlone() {
    EXPECT_EQ(FileText(m_target), kOld);
    EXPECT_EQ(m_folder.Names(), std::vector<std::string>{"plot.txt"});
  }
  TempFolder m_folder;
  const std::string m_target = m_folder / "plot.txt";
};

TEST_F(SaveFileTest, OnlyCommitReplacesTheDocumentKeepingItsPermissions) {
  for (void (*end)(CSaveFile&) :
       {+[](CSaveFile&) {}, +[](CSaveFile& f) { f.Close(); }, +[](CSaveFile& f) { f.Abandon(); }}) {
    {
      CSaveFile file(m_target.c_str());
      Store(file, 100);
      end(file);
    }
    ExpectOldDocumentAlone();
  }
  CSaveFile file(m_target.c_str());
  EXPECT_EQ(file.GetFilePath(), CString(m_target.c_str()));
  Store(file, 2);
  EXPECT_EQ(FileText(m_target), kOld);
  file.Commit();
  EXPECT_EQ(FileText(m_target),
            Lines({"[Archive Header]", "Archive Version Number=1.03", "Application Name=Plotter",
                   "Application Version Number=1", "Point=0", "Point=1"}));
  struct stat info {};
  ::stat(m_target.c_str(), &info);
  EXPECT_EQ(info.st_mode & 0777, 0640u);
  EXPECT_TRUE(Raises<CFileException>([&] { file.Commit(); }));  // nothing left to commit
  CSaveFile fresh((m_folder / "new.txt").c_str());
  fresh.Write("x", 1);
  fresh.Commit();
  EXPECT_EQ(m_folder.Names(), (std::vector<std::string>{"new.txt", "plot.txt"}));
  EXPECT_EQ(FileText(m_folder / "new.txt"), "x");
}

TEST_F(SaveFileTest, FailuresKeepTheOldDocument) {
  for (const char* path : {"/no/such/folder/plot.txt", ""}) {
    CFileException error(CFileException::none, 0, nullptr);
    CSaveFile file;
    EXPECT_FALSE(file.Open(path, CFile::modeCreate, &error));
    EXPECT_EQ(error.m_cause, CFileException::fileNotFound) << path;
    EXPECT_TRUE(Raises<CFileException>([&] { file.Commit(); }));
  }
  EXPECT_TRUE(Raises<CFileException>([] { CSaveFile file("/no/such/folder/plot.txt"); }));

  // A write failing half-way: after a first write, the temporary file's descriptor is swapped
  // for /dev/full, where every write fails with ENOSPC. The archive's write raises, and later
  // writes and the commit refuse.
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
  ExpectOldDocumentAlone();
  EXPECT_TRUE(Raises<CFileException>([&] { file.Write("x", 1); }));
  EXPECT_TRUE(Raises<CFileException>([&] { file.Commit(); }));
  ExpectOldDocumentAlone();
}

// A process killed with SIGKILL during a large save, at different points: no clean-up runs, yet
// the old document is whole every time.
TEST_F(SaveFileTest, AProcessKilledDuringASaveKeepsTheOldDocument) {
  for (const std::uintmax_t killAfter : {1, 100'000, 1'000'000, 4'000'000}) {
    const pid_t child = ::fork();
    if (child == 0) {
      CSaveFile file(m_target.c_str());
      Store(file, 10'000'000);
      file.Commit();
      ::_exit(0);
    }
    for (std::uintmax_t written = 0; written < killAfter;) {
      ASSERT_EQ(::waitpid(child, nullptr, WNOHANG), 0) << "the save ended before the kill";
      for (const auto& name : m_folder.Names())
        if (name != "plot.txt") written = std::filesystem::file_size(m_folder / name);
      ::usleep(1000);
    }
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
    EXPECT_EQ(FileText(m_target), kOld) << killAfter;
    for (const auto& name : m_folder.Names())
      if (name != "plot.txt") std::filesystem::remove(m_folder / name);
  }
}

}  // namespace
