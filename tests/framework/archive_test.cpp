#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include <labarc/labarc.h>

namespace {

using Texts = std::vector<std::string>;

Texts ReadAllLines(CFile& file, int bufferSize = 4096) {
  CArchive ar(&file, CArchive::load, bufferSize);
  Texts lines;
  CString line;
  while (ar.ReadString(line)) lines.emplace_back(line.View());
  return lines;
}

TEST(CArchiveLines, EveryLineEndKeepsEveryCharacter) {
  const std::pair<std::string, Texts> cases[] = {
      {"", {}},
      {"ab\r\ncd\nef\rgh\r\n", {"ab", "cd", "ef", "gh"}},
      {"\r\n\r\n\n\r", {"", "", "", ""}},
      {"a\r\r\nb", {"a", "", "b"}},
      {std::string("a\0b\xFF\r\n", 6), {std::string("a\0b\xFF", 4)}},
  };
  // Small buffers put line ends (and the two halves of CR LF) across buffer boundaries.
  for (const auto& [text, lines] : cases) {
    for (int bufferSize : {1, 2, 3, 7, 4096}) {
      CMemFile file(text);
      EXPECT_EQ(ReadAllLines(file, bufferSize), lines) << bufferSize << ": " << text;
    }
  }
}

TEST(CArchiveLines, OverlongLineIsConsumedButNotKept) {
  CMemFile file(std::string(10000, 'x') + "\r\nnext\r\n");
  CArchive ar(&file, CArchive::load, 64);
  std::string_view line;
  EXPECT_EQ(ar.ReadLine(line, 100), CArchive::LineStatus::tooLong);
  ASSERT_EQ(ar.ReadLine(line, 100), CArchive::LineStatus::line);
  EXPECT_EQ(line, "next");
  EXPECT_EQ(ar.ReadLine(line, 100), CArchive::LineStatus::end);
}

// Text made in place keeps its order with plain writes, also when it needs more room than the
// buffer has left, or than the whole buffer holds.
TEST(CArchiveWrite, TextMadeInPlaceKeepsItsOrder) {
  struct InPlace : CArchive {
    using CArchive::CArchive;
    void Make(char ch, std::size_t room, std::size_t used) {
      std::fill_n(WriteSpace(room), used, ch);
      CommitWrite(used);
    }
  };
  CMemFile file;
  {
    InPlace ar(&file, CArchive::store, 128);
    ar.WriteString("ab");
    ar.Make('x', 100, 90);   // fits
    ar.Make('y', 100, 100);  // flushes first
    ar.Make('z', 300, 299);  // grows the buffer
    ar.WriteString("cd");
  }
  EXPECT_EQ(file.Contents(),
            "ab" + std::string(90, 'x') + std::string(100, 'y') + std::string(299, 'z') + "cd");
}

// Writes larger than the archive's buffer, and the disk file's own reads and writes.
TEST(CFileTest, LongWritesRoundTripThroughADiskFileInOrder) {
  const auto path = std::filesystem::temp_directory_path() / "labarc_cfile_test.txt";
  const std::string big(10000, 'b');
  {
    CFile file(path.c_str(), CFile::modeCreate | CFile::modeWrite);
    EXPECT_EQ(std::filesystem::path(file.GetFilePath().GetString()),
              std::filesystem::canonical(path));
    CArchive ar(&file, CArchive::store, 256);
    ar.WriteString("one\r\n");
    ar.WriteString(big.c_str());
    ar.WriteString("\r\ntwo");
  }
  CFile file(path.c_str(), CFile::modeRead);
  EXPECT_EQ(ReadAllLines(file, 256), (Texts{"one", big, "two"}));
  std::filesystem::remove(path);
}

}  // namespace
