// Every error a file can raise, each leaving the data on disk as it was; and an archive used
// against its direction.
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "support/test_support.h"

namespace {
using namespace labarc::testing;

constexpr char kContents[] = "[Data]\r\nCount=4\r\n";
constexpr UINT kWrite = CFile::modeWrite, kCreate = CFile::modeCreate | CFile::modeWrite;

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

struct HandleFile : CFile {
  using CFile::CFile;
  using CFile::GetHandle;
};

class FileErrors : public ::testing::Test {
 protected:
  FileErrors() { std::ofstream(m_document, std::ios::binary) << kContents; }
  TempFolder m_folder;
  const std::string m_document = m_folder / "doc.txt";
};

// Permissions do not bind root: the cases run in a child that becomes nobody when it can.
TEST_F(FileErrors, OpeningWhatIsNotAnOpenableFileRaisesAndKeepsIt) {
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
  EXPECT_EQ(FileText(m_document), kContents);
  int handle = -1;
  {  // a file names itself by its full path, and closes when it goes
    HandleFile file((m_folder / "./doc.txt").c_str(), CFile::modeRead);
    EXPECT_EQ(file.GetFilePath(), CString(std::filesystem::canonical(m_document).c_str()));
    handle = file.GetHandle();
  }
  EXPECT_EQ(::fcntl(handle, F_GETFD), -1);
}

// A refused write, a failing read or close and a seek before the start raise at once, instead of
// trying again for ever; the file on disk, the caller's line and the position stay as they were.
TEST_F(FileErrors, RefusedWritesAndFailedReadsClosesAndSeeksRaise) {
  {
    CFile readOnly(m_document.c_str(), CFile::modeRead);
    EXPECT_TRUE(Raises<CFileException>([&] { readOnly.Write("x", 1); }));
    CArchive ar(&readOnly, CArchive::store);
    ar.WriteString("lost");
    EXPECT_TRUE(Raises<CFileException>([&] { ar.Close(); }));
  }
  EXPECT_EQ(FileText(m_document), kContents);
  HandleFile folder(m_folder.Path().c_str(), CFile::modeRead);  // opens, but cannot be read
  {
    CArchive ar(&folder, CArchive::load);
    CString line = "kept";
    EXPECT_TRUE(Raises<CFileException>([&] { ar.ReadString(line); }));
    EXPECT_EQ(line, "kept");
  }
  ::close(folder.GetHandle());  // behind the file's back: its own close fails
  EXPECT_TRUE(Raises<CFileException>([&] { folder.Close(); }));
  EXPECT_EQ(folder.GetHandle(), -1);
  CMemFile memory(kContents);
  CFile disk(m_document.c_str(), CFile::modeRead);
  for (CFile* file : {static_cast<CFile*>(&memory), &disk}) {
    file->Seek(8, CFile::begin);
    EXPECT_TRUE(Raises<CFileException>([&] { file->Seek(-9, CFile::current); }));
    EXPECT_TRUE(Raises<CFileException>([&] { file->Seek(-100, CFile::end); }));
    char text[5] = {};
    EXPECT_EQ(file->Read(text, 1) + file->Read(text + 1, 3), 4u);
    EXPECT_STREQ(text, "Coun");
    EXPECT_EQ(file->GetLength(), sizeof kContents - 1);
  }
}

TEST(ArchiveDirection, ReadingAStoringArchiveAndWritingALoadingOneRaise) {
  CMemFile stored, loaded(kContents);
  CArchive storing(&stored, CArchive::store), loading(&loaded, CArchive::load);
  storing.WriteString("kept");
  CString line = "caller's";
  char byte = 'b';
  const std::pair<std::function<void()>, int> cases[] = {
      {[&] { storing.ReadString(line); }, CArchiveException::writeOnly},
      {[&] { storing.Read(&byte, 1); }, CArchiveException::writeOnly},
      {[&] { loading.WriteString("x"); }, CArchiveException::readOnly},
      {[&] { loading.WriteCount(3); }, CArchiveException::readOnly},
  };
  for (const auto& [action, cause] : cases) EXPECT_EQ(ThrownArchiveCause(action), cause);
  storing.Close();
  loading.Close();
  EXPECT_TRUE(line == "caller's" && byte == 'b');
  EXPECT_EQ(stored.Contents(), "kept");
  EXPECT_EQ(loaded.Contents(), kContents);
}

}  // namespace
