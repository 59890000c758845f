// Saving through CSaveFile: the old document survives every failure byte for byte, including
// real write faults (a file-size limit, a full device) and a process killed half-way.
#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <thread>

#include "support/test_support.h"

namespace fs = std::filesystem;
using labarc::testing::Raises;

namespace {

constexpr char kOldDocument[] = "[Archive Header]\r\nArchive Version Number=1.03\r\n";

std::string FileText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// A fresh folder holding only the old document, removed with everything in it afterwards.
class SaveFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = ::testing::TempDir() + "labarc-save-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    m_folder = pattern;
    std::ofstream(Target(), std::ios::binary) << kOldDocument;
    fs::permissions(Target(), fs::perms::owner_read | fs::perms::owner_write);
  }
  void TearDown() override { fs::remove_all(m_folder); }

  fs::path Target() const { return m_folder / "plot.txt"; }
  // The names in the folder besides the document: temporary files left behind.
  int Leftovers() const {
    int count = 0;
    for (const auto& entry : fs::directory_iterator(m_folder)) count += entry.path() != Target();
    return count;
  }
  void ExpectOldDocumentIntact() const {
    EXPECT_EQ(FileText(Target()), kOldDocument);
    EXPECT_EQ(Leftovers(), 0);
  }
  // Stores `lines` numbered entries through an archive over `file`.
  static void Store(CSaveFile& file, int lines) {
    CArchive host(&file, CArchive::store);
    CString name = "Plotter";
    CArchiveEx ar(&host, name, 1.0, 0);
    ar.WriteHeader();
    for (int i = 0; i < lines; ++i) ar.Write(i, CString("Point"));
    host.Close();
  }
  // Runs `save` in a child process and returns its wait status.
  static int InChild(const std::function<void()>& save) {
    const pid_t child = ::fork();
    if (child == 0) {
      save();
      ::_exit(0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return status;
  }

  fs::path m_folder;
};

TEST_F(SaveFileTest, CommitReplacesTheDocumentAndKeepsItsPermissions) {
  CSaveFile file(Target().c_str());
  EXPECT_EQ(file.GetFilePath(), CString(Target().c_str()));
  Store(file, 3);
  EXPECT_EQ(FileText(Target()), kOldDocument);  // untouched until the commit
  file.Commit();
  EXPECT_EQ(FileText(Target()),
            "[Archive Header]\r\nArchive Version Number=1.03\r\n"
            "Application Name=Plotter\r\nApplication Version Number=1\r\n"
            "Point=0\r\nPoint=1\r\nPoint=2\r\n");
  EXPECT_EQ(Leftovers(), 0);
  EXPECT_EQ(fs::status(Target()).permissions(), fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_TRUE(Raises<CFileException>([&] { file.Commit(); }));  // nothing left to commit
}

TEST_F(SaveFileTest, ANewDocumentIsCreated) {
  fs::remove(Target());
  CSaveFile file(Target().c_str());
  Store(file, 1);
  file.Commit();
  EXPECT_EQ(FileText(Target()).substr(0, 16), "[Archive Header]");
}

TEST_F(SaveFileTest, WithoutCommitTheOldDocumentStays) {
  const std::function<void(CSaveFile&)> endings[] = {
      [](CSaveFile&) {},                      // dropped
      [](CSaveFile& file) { file.Close(); },  // closed
      [](CSaveFile& file) { file.Abandon(); },
  };
  for (const auto& end : endings) {
    {
      CSaveFile file(Target().c_str());
      Store(file, 100);
      end(file);
    }
    ExpectOldDocumentIntact();
  }
}

TEST_F(SaveFileTest, AFolderThatCannotBeWrittenIsRefused) {
  for (const char* path : {"/no/such/folder/plot.txt", ""}) {
    CFileException error(CFileException::none, 0, nullptr);
    CSaveFile file;
    EXPECT_FALSE(file.Open(path, CFile::modeCreate | CFile::modeWrite, &error));
    EXPECT_EQ(error.m_cause, CFileException::fileNotFound) << path;
    EXPECT_TRUE(Raises<CFileException>([&] { file.Commit(); }));
  }
  EXPECT_TRUE(Raises<CFileException>([] { CSaveFile file("/no/such/folder/plot.txt"); }));
}

// A write that fails half-way through a save: the archive's write raises, the temporary file
// goes at once, and the commit refuses.
TEST_F(SaveFileTest, AWriteFailingHalfWayKeepsTheOldDocument) {
  // The file-size limit, in a child whose limit does not bind the test run: writes beyond
  // 64 KiB fail with EFBIG once the signal that would end the process is ignored.
  const int limited = InChild([&] {
    ::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{64 * 1024, 64 * 1024};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    CSaveFile file(Target().c_str());
    const bool writeFailed = Raises<CFileException>([&] { Store(file, 100000); });
    const bool commitFailed = Raises<CFileException>([&] { file.Commit(); });
    ::_exit(writeFailed && commitFailed ? 0 : 1);
  });
  EXPECT_TRUE(WIFEXITED(limited) && WEXITSTATUS(limited) == 0);
  ExpectOldDocumentIntact();

  // A full device: the temporary file's descriptor is swapped for /dev/full after a first
  // successful write, so that every later write fails with ENOSPC.
  CSaveFile file(Target().c_str());
  file.Write("[Archive Header]\r\n", 18);
  const int full = ::open("/dev/full", O_WRONLY);
  ASSERT_GE(full, 0);
  for (const auto& entry : fs::directory_iterator("/proc/self/fd")) {
    std::error_code error;
    const fs::path opened = fs::read_symlink(entry.path(), error);
    if (!error && opened.parent_path() == m_folder && opened != Target())
      ::dup2(full, std::stoi(entry.path().filename().string()));
  }
  ::close(full);
  EXPECT_TRUE(Raises<CFileException>([&] { Store(file, 10000); }));
  EXPECT_TRUE(Raises<CFileException>([&] { file.Commit(); }));
  ExpectOldDocumentIntact();
}

// A process killed with SIGKILL during a large save, at different points of it: no clean-up
// runs, yet the old document is whole every time.
TEST_F(SaveFileTest, AProcessKilledDuringASaveKeepsTheOldDocument) {
  for (const int killAfterBytes : {1, 100000, 1000000, 4000000}) {
    const pid_t child = ::fork();
    if (child == 0) {
      CSaveFile file(Target().c_str());
      Store(file, 10000000);
      file.Commit();
      ::_exit(0);
    }
    // Waits until the temporary file holds enough, then kills the child.
    for (bool written = false; !written;) {
      int status = 0;
      ASSERT_EQ(::waitpid(child, &status, WNOHANG), 0) << "the save ended before the kill";
      for (const auto& entry : fs::directory_iterator(m_folder)) {
        std::error_code error;
        const auto size = fs::file_size(entry.path(), error);
        written |= entry.path() != Target() && !error && size >= std::uintmax_t(killAfterBytes);
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
    EXPECT_EQ(FileText(Target()), kOldDocument) << killAfterBytes;
    for (const auto& entry : fs::directory_iterator(m_folder))
      if (entry.path() != Target()) fs::remove(entry.path());
  }
}

}  // namespace
