// Every error a file can raise, each leaving the data on disk as it was: a missing file, a
// folder, a file without read or write permission, a refused write, a read that fails, a seek
// before the start; and the archive's refusal to go against its direction.
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "support/test_support.h"

namespace fs = std::filesystem;
using labarc::testing::Raises;

namespace {

constexpr char kContents[] = "[Data]\r\nCount=4\r\n";
constexpr UINT kWrite = CFile::modeWrite;
constexpr UINT kCreate = CFile::modeCreate | CFile::modeWrite;

std::string FileText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// The cause CFile raises opening `path`, or none when it opens; the constructor and Open agree.
int OpenCause(const fs::path& path, UINT flags) {
  CFileException error(CFileException::none, 0, nullptr);
  CFile file;
  const BOOL opened = file.Open(path.c_str(), flags, &error);
  int thrown = CFileException::none;
  try {
    CFile direct(path.c_str(), flags);
  } catch (CFileException* exception) {
    thrown = exception->m_cause;
    EXPECT_EQ(exception->m_strFileName, CString(path.c_str()));
    exception->Delete();
  }
  EXPECT_EQ(opened ? CFileException::none : error.m_cause, thrown) << path;
  return thrown;
}

class FileErrors : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = ::testing::TempDir() + "labarc-file-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    m_folder = pattern;
    fs::permissions(m_folder, fs::perms::all);  // reachable by the unprivileged user below
    std::ofstream(Document(), std::ios::binary) << kContents;
  }
  void TearDown() override { fs::remove_all(m_folder); }
  fs::path Document() const { return m_folder / "doc.txt"; }

  fs::path m_folder;
};

TEST_F(FileErrors, OpeningWhatIsNotAnOpenableFileRaises) {
  const struct {
    fs::path path;
    UINT flags;
    int cause;
  } cases[] = {
      {m_folder / "missing.txt", CFile::modeRead, CFileException::fileNotFound},
      {m_folder / "missing.txt", kWrite, CFileException::fileNotFound},
      {m_folder / "no" / "doc.txt", kCreate, CFileException::fileNotFound},
      {Document() / "below.txt", CFile::modeRead, CFileException::badPath},
      {m_folder, kWrite, CFileException::genericException},  // a folder
      {m_folder, kCreate, CFileException::genericException},
  };
  for (const auto& [path, flags, cause] : cases) EXPECT_EQ(OpenCause(path, flags), cause) << path;
  EXPECT_EQ(FileText(Document()), kContents);
  EXPECT_FALSE(fs::exists(m_folder / "missing.txt"));
}

// Permissions do not bind root, so the checks run in a child that has become an unprivileged
// user (nobody) when the test runs as root.
TEST_F(FileErrors, AFileWithoutPermissionIsRefusedAndKept) {
  fs::permissions(Document(), fs::perms::owner_read | fs::perms::group_read |
                                  fs::perms::others_read);  // read-only
  const fs::path secret = m_folder / "secret.txt";
  std::ofstream(secret) << "secret";
  fs::permissions(secret, fs::perms::none);
  const pid_t child = ::fork();
  if (child == 0) {
    if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(2);
    const bool refused = OpenCause(Document(), kWrite) == CFileException::accessDenied &&
                         OpenCause(Document(), kCreate) == CFileException::accessDenied &&
                         OpenCause(secret, CFile::modeRead) == CFileException::accessDenied &&
                         OpenCause(m_folder / "doc.txt", CFile::modeRead) == 0;
    ::_exit(refused ? 0 : 1);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  if (WEXITSTATUS(status) == 2) GTEST_SKIP() << "cannot become an unprivileged user";
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(FileText(Document()), kContents);
  EXPECT_EQ(FileText(secret), "secret");
}

// A refused write and a failing read raise at once instead of trying again for ever.
TEST_F(FileErrors, RefusedWritesAndFailedReadsRaise) {
  {
    CFile readOnly(Document().c_str(), CFile::modeRead);
    EXPECT_TRUE(Raises<CFileException>([&] { readOnly.Write("x", 1); }));
    CArchive ar(&readOnly, CArchive::store);
    ar.WriteString("lost");
    EXPECT_TRUE(Raises<CFileException>([&] { ar.Close(); }));
  }
  EXPECT_EQ(FileText(Document()), kContents);

  CFile folder(m_folder.c_str(), CFile::modeRead);  // a folder opens, but cannot be read
  char byte = 0;
  EXPECT_TRUE(Raises<CFileException>([&] { folder.Read(&byte, 1); }));
  CArchive ar(&folder, CArchive::load);
  CString line = "kept";
  EXPECT_TRUE(Raises<CFileException>([&] { ar.ReadString(line); }));
  EXPECT_EQ(line, "kept");
}

TEST_F(FileErrors, SeekingBeforeTheStartRaisesAndStaysPut) {
  CMemFile memory(kContents);
  CFile disk(Document().c_str(), CFile::modeRead);
  for (CFile* file : {static_cast<CFile*>(&memory), &disk}) {
    file->Seek(8, CFile::begin);
    EXPECT_TRUE(Raises<CFileException>([&] { file->Seek(-9, CFile::current); }));
    EXPECT_TRUE(Raises<CFileException>([&] { file->Seek(-100, CFile::end); }));
    char text[5] = {};
    EXPECT_EQ(file->Read(text, 4), 4u);
    EXPECT_STREQ(text, "Coun");
    EXPECT_EQ(file->GetLength(), sizeof kContents - 1);
  }
  try {
    memory.Seek(-1, CFile::begin);
  } catch (CFileException* error) {
    EXPECT_EQ(error->m_cause, CFileException::badSeek);
    error->Delete();
  }
}

TEST(ArchiveDirection, ReadingAStoringArchiveAndWritingALoadingOneRaise) {
  CMemFile stored;
  {
    CArchive ar(&stored, CArchive::store);
    ar.WriteString("kept");
    CString line = "caller's";
    char byte = 'b';
    EXPECT_EQ(labarc::testing::ThrownArchiveCause([&] { ar.ReadString(line); }),
              CArchiveException::writeOnly);
    EXPECT_EQ(labarc::testing::ThrownArchiveCause([&] { ar.Read(&byte, 1); }),
              CArchiveException::writeOnly);
    EXPECT_EQ(line, "caller's");
    EXPECT_EQ(byte, 'b');
  }
  EXPECT_EQ(stored.Contents(), "kept");

  CMemFile loaded(kContents);
  CArchive ar(&loaded, CArchive::load);
  EXPECT_EQ(labarc::testing::ThrownArchiveCause([&] { ar.WriteString("x"); }),
            CArchiveException::readOnly);
  EXPECT_EQ(labarc::testing::ThrownArchiveCause([&] { ar.WriteCount(3); }),
            CArchiveException::readOnly);
  ar.Close();
  EXPECT_EQ(loaded.Contents(), kContents);
}

}  // namespace
