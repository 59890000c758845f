// Archives over memory files: line ends, text order whatever the buffer holds, and directions.
#include <algorithm>
#include <cstring>

#include "support/test_support.h"

namespace {
using namespace labarc::testing;

constexpr char kText[] = "[Data]\r\nCount=4\r\n";

TEST(CArchiveLines, EveryLineEndKeepsEveryCharacter) {
  using Texts = std::vector<std::string>;
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
      CArchive ar(&file, CArchive::load, bufferSize);
      Texts read;
      for (CString line; ar.ReadString(line);) read.emplace_back(line.View());
      EXPECT_EQ(read, lines) << bufferSize << ": " << text;
    }
  }
}

// Lines longer than the line-end scan's step, with every kind of end at every offset of a
// buffer: the end is found wherever it falls, and what is left counts down to nothing.
TEST(CArchiveLines, LongLinesEndAnywhereInTheBuffer) {
  const char* const ends[] = {"\r\n", "\n", "\r"};
  std::string text;
  std::vector<std::string> lines;
  for (int length = 0; length < 70; ++length) {
    lines.emplace_back(static_cast<std::size_t>(length), static_cast<char>('a' + length % 26));
    text += lines.back() + ends[length % 3];
  }
  for (int bufferSize : {128, 129, 131, 4096}) {
    CMemFile file(text);
    CArchive ar(&file, CArchive::load, bufferSize);
    std::size_t consumed = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
      CString line;
      ASSERT_TRUE(ar.ReadString(line)) << bufferSize << ": line " << i;
      EXPECT_EQ(line.View(), lines[i]) << bufferSize << ": line " << i;
      consumed += lines[i].size() + std::strlen(ends[i % 3]);
      // A line feed that pairs with a return at the buffer's end is still to come.
      const auto left = ar.GetBytesLeft();
      ASSERT_TRUE(left.has_value());
      EXPECT_LE(*left - (text.size() - consumed), i % 3 == 0 ? 1u : 0u) << bufferSize << ": " << i;
    }
    CString after;
    EXPECT_FALSE(ar.ReadString(after));
  }
}

// Raw bytes after a line start after its whole line end, wherever the buffer splits the pair.
TEST(CArchiveLines, RawBytesAfterALineSkipItsLineFeed) {
  for (std::size_t length : {125u, 126u, 127u, 128u}) {
    const std::string line(length, 'x');
    CMemFile file(line + "\r\nraw");
    CArchive ar(&file, CArchive::load, 128);
    CString read;
    ASSERT_TRUE(ar.ReadString(read));
    EXPECT_EQ(read.View(), line);
    char raw[4] = {};
    EXPECT_EQ(ar.Read(raw, 3), 3u) << length;
    EXPECT_STREQ(raw, "raw") << length;
  }
}

// Text made in place, needing more room than the buffer has left or holds, keeps its order.
TEST(CArchiveWrite, TextKeepsItsOrderWhateverTheBufferHolds) {
  struct InPlace : CArchive {
    using CArchive::CArchive;
    void Make(char ch, std::size_t room, std::size_t used) {
      std::fill_n(WriteSpace(room), used, ch);
      CommitWrite(used);
    }
  };
  const std::string big(1000, 'b');
  CMemFile memory;
  {
    InPlace ar(&memory, CArchive::store, 128);
    ar.WriteString("ab");
    ar.Make('x', 100, 90);   // fits
    ar.Make('y', 100, 100);  // flushes first
    ar.Make('z', 300, 299);  // grows the buffer
    ar.WriteString(big.c_str());
    ar.WriteString("cd");
  }
  EXPECT_EQ(memory.Contents(), "ab" + std::string(90, 'x') + std::string(100, 'y') +
                                   std::string(299, 'z') + big + "cd");
}

TEST(ArchiveDirection, ReadingAStoringArchiveAndWritingALoadingOneRaise) {
  CMemFile stored, loaded(kText);
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
  EXPECT_TRUE(Raises<CInvalidArgException>([] { CArchive(nullptr, CArchive::load); }));
  storing.Close();
  EXPECT_TRUE(line == "caller's" && byte == 'b');
  EXPECT_EQ(stored.Contents(), "kept");
  EXPECT_EQ(loaded.Contents(), kText);
}

}  // namespace
