// Every error a file can raise, each leaving the data on disk as it was: a missing file, a
// folder, a file without read or write permission, a refused write, a failed read, a seek before
// the start; and an archive used against its direction.
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "support/test_support.h"

namespace labarc::testing {
namespace {

constexpr char kContents[] = "[Data]\r\nCount=4\r\n";
constexpr UINT kWrite = CFile::modeWrite, kCreate = CFile::modeCreate | CFile::modeWrite;

// The cause CFile raises opening `path` (none when it opens); its constructor and Open agree.
int OpenCause(const std::string& path, UINT flags) {
  CFileException error(CFileException::none, 0, nullptr);
  CFile file;
  const int returned = file.Open(path.c_str(), flags, &error) ? 0 : error.m_cause;
  int thrown = 0;
  try {
    CFile direct(path.c_str(), flags);
  } catch (CFileException* exception) {
    thrown = exception->m_cause;
    EXPECT_EQ(exception->m_strFileName, CString(path.c_str()));
    exception->Delete();
  }
  EXPECT_EQ(returned, thrown) << path;
  return thrown;
}

class FileErrors : public ::testing::Test {
 protected:
  FileErrors() { std::ofstream(m_document, std::ios::binary) << kContents; }
  TempFolder m_folder;
  const std::string m_document = m_folder / "doc.txt";
};

TEST_F(FileErrors, OpeningWhatIsNotAnOpenableFileRaises) {
  const std::tuple<std::string, UINT, int> cases[] = {
      {m_folder / "missing.txt", CFile::modeRead, CFileException::fileNotFound},
      {m_folder / "missing.txt", kWrite, CFileException::fileNotFound},
      {m_folder / "no/doc.txt", kCreate, CFileException::fileNotFound},
      {m_document + "/below.txt", CFile::modeRead, CFileException::badPath},
      {m_folder.Path(), kWrite, CFileException::genericException},  // a folder
  };
  for (const auto& [path, flags, cause] : cases) EXPECT_EQ(OpenCause(path, flags), cause) << path;
  EXPECT_EQ(m_folder.Names(), std::vector<std::string>{"doc.txt"});
  EXPECT_EQ(FileText(m_document), kContents);
  const auto openFiles = [] {
    return std::distance(std::filesystem::directory_iterator("/proc/self/fd"), {});
  };
  const auto before = openFiles();
  for (int i = 0; i < 3; ++i) CFile(m_document.c_str(), CFile::modeRead);
  EXPECT_EQ(openFiles(), before);  // a file closes when it goes
}

// Permissions do not bind root: the checks run in a child that becomes nobody when it can.
TEST_F(FileErrors, AFileWithoutPermissionIsRefusedAndKept) {
  ::chmod(m_document.c_str(), 0444);
  std::ofstream(m_folder / "secret.txt") << "secret";
  ::chmod((m_folder / "secret.txt").c_str(), 0);
  const pid_t child = ::fork();
  if (child == 0) {
    if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(2);
    ::_exit(OpenCause(m_document, kWrite) == CFileException::accessDenied &&
                    OpenCause(m_document, kCreate) == CFileException::accessDenied &&
                    OpenCause(m_folder / "secret.txt", 0) == CFileException::accessDenied &&
                    OpenCause(m_document, CFile::modeRead) == 0
                ? 0
                : 1);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  if (WEXITSTATUS(status) == 2) GTEST_SKIP() << "cannot become an unprivileged user";
  EXPECT_EQ(status, 0);
  EXPECT_EQ(FileText(m_document), kContents);
  EXPECT_EQ(FileText(m_folder / "secret.txt"), "secret");
}

// A refused write and a failing read raise at once instead of trying again for ever.
TEST_F(FileErrors, RefusedWritesAndFailedReadsRaise) {
  {
    CFile readOnly(m_document.c_str(), CFile::modeRead);
    EXPECT_TRUE(Raises<CFileException>([&] { readOnly.Write("x", 1); }));
    CArchive ar(&readOnly, CArchive::store);
    ar.WriteString("lost");
    EXPECT_TRUE(Raises<CFileException>([&] { ar.Close(); }));
  }
  EXPECT_EQ(FileText(m_document), kContents);
  CFile folder(m_folder.Path().c_str(), CFile::modeRead);  // opens, but cannot be read
  CArchive ar(&folder, CArchive::load);
  CString line = "kept";
  EXPECT_TRUE(Raises<CFileException>([&] { ar.ReadString(line); }));
  EXPECT_EQ(line, "kept");
}

TEST_F(FileErrors, SeekingBeforeTheStartRaisesAndStaysPut) {
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
  try {
    memory.Seek(-1, CFile::begin);
  } catch (CFileException* error) {
    EXPECT_EQ(error->m_cause, CFileException::badSeek);
    error->Delete();
  }
}

TEST(ArchiveDirection, ReadingAStoringArchiveAndWritingALoadingOneRaise) {
  CMemFile stored, loaded(kContents);
  CString line = "caller's";
  char byte = 'b';
  {
    CArchive ar(&stored, CArchive::store);
    ar.WriteString("kept");
    EXPECT_EQ(ThrownArchiveCause([&] { ar.ReadString(line); }), CArchiveException::writeOnly);
    EXPECT_EQ(ThrownArchiveCause([&] { ar.Read(&byte, 1); }), CArchiveException::writeOnly);
  }
  EXPECT_EQ(line, "caller's");
  EXPECT_EQ(byte, 'b');
  EXPECT_EQ(stored.Contents(), "kept");
  CArchive ar(&loaded, CArchive::load);
  EXPECT_EQ(ThrownArchiveCause([&] { ar.WriteString("x"); }), CArchiveException::readOnly);
  EXPECT_EQ(ThrownArchiveCause([&] { ar.WriteCount(3); }), CArchiveException::readOnly);
  ar.Close();
  EXPECT_EQ(loaded.Contents(), kContents);
}

}  // namespace
}  // namespace labarc::testing
