#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "labarc.h"

namespace {

std::vector<std::string> ReadAllLines(const std::string& text, int bufferSize = 4096) {
  CMemFile file(text);
  CArchive ar(&file, CArchive::load, bufferSize);
  std::vector<std::string> lines;
  CString line;
  while (ar.ReadString(line)) lines.emplace_back(line.View());
  return lines;
}

struct LineCase {
  const char* name;
  std::string text;
  std::vector<std::string> lines;
};

class LineSplittingTest : public ::testing::TestWithParam<LineCase> {};

TEST_P(LineSplittingTest, EveryLineEndKeepsEveryCharacter) {
  // Small buffers put line ends (and the two halves of CR LF) across buffer boundaries.
  for (int bufferSize : {1, 2, 3, 7, 4096}) {
    EXPECT_EQ(ReadAllLines(GetParam().text, bufferSize), GetParam().lines) << bufferSize;
  }
}

INSTANTIATE_TEST_SUITE_P(Texts, LineSplittingTest,
                         ::testing::Values(LineCase{"Empty", "", {}},
                                           LineCase{"CrLf", "ab\r\ncd\r\n", {"ab", "cd"}},
                                           LineCase{"Lf", "ab\ncd\n", {"ab", "cd"}},
                                           LineCase{"LoneCr", "ab\rcd\rxy", {"ab", "cd", "xy"}},
                                           LineCase{"Mixed", "a\r\nb\nc\rd", {"a", "b", "c", "d"}},
                                           LineCase{"LastLineWithoutEnd", "ab\r\ncd", {"ab", "cd"}},
                                           LineCase{"BlankLines", "\r\n\r\n\n\r", {"", "", "", ""}},
                                           LineCase{"CrCrLf", "a\r\r\nb", {"a", "", "b"}},
                                           LineCase{"NulAndHighBytes",
                                                    std::string("a\0b\xFF\r\n", 6),
                                                    {std::string("a\0b\xFF", 4)}}),
                         [](const auto& info) { return info.param.name; });

TEST(CArchiveLines, OverlongLineIsConsumedButNotKept) {
  const std::string text = std::string(10000, 'x') + "\r\nnext\r\n";
  CMemFile file(text);
  CArchive ar(&file, CArchive::load, 64);
  std::string_view line;
  EXPECT_EQ(ar.ReadLine(line, 100), CArchive::LineStatus::tooLong);
  ASSERT_EQ(ar.ReadLine(line, 100), CArchive::LineStatus::line);
  EXPECT_EQ(line, "next");
  EXPECT_EQ(ar.ReadLine(line, 100), CArchive::LineStatus::end);
}

TEST(CArchiveLines, StoringArchiveFlushesWhenDestroyed) {
  CMemFile file;
  {
    CArchive ar(&file, CArchive::store);
    ar.WriteString("kept in the buffer");
    EXPECT_TRUE(file.Contents().empty());
  }
  EXPECT_EQ(file.Contents(), "kept in the buffer");
}

TEST(CArchiveLines, WritesLargerThanTheBufferArriveInOrder) {
  CMemFile file;
  const std::string big(10000, 'b');
  {
    CArchive ar(&file, CArchive::store, 256);
    ar.WriteString("a");
    ar.WriteString(big.c_str());
    ar.WriteString("c");
  }
  EXPECT_EQ(file.Contents(), "a" + big + "c");
}

TEST(CFileTest, RoundTripsThroughADiskFileAndGivesItsFullPath) {
  const auto path = std::filesystem::temp_directory_path() / "labarc_cfile_test.txt";
  {
    CFile file(path.c_str(), CFile::modeCreate | CFile::modeWrite);
    EXPECT_EQ(std::filesystem::path(file.GetFilePath().GetString()),
              std::filesystem::canonical(path));
    CArchive ar(&file, CArchive::store);
    ar.WriteString("one\r\ntwo");
  }
  CFile file(path.c_str(), CFile::modeRead);
  CArchive ar(&file, CArchive::load);
  CString line;
  ASSERT_TRUE(ar.ReadString(line));
  EXPECT_EQ(line, "one");
  ASSERT_TRUE(ar.ReadString(line));
  EXPECT_EQ(line, "two");
  EXPECT_FALSE(ar.ReadString(line));
  std::filesystem::remove(path);
}

TEST(CFileTest, MissingFileRaisesFileNotFound) {
  try {
    CFile file("/nonexistent/labarc/file.txt", CFile::modeRead);
    FAIL() << "opened a missing file";
  } catch (CFileException* error) {
    EXPECT_EQ(error->m_cause, CFileException::fileNotFound);
    error->Delete();
  }
}

}  // namespace
