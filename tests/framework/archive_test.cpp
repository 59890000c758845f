// Archive lines over memory files: line ends across buffer boundaries, and text made in place or
// larger than the buffer keeping its order. Overlong lines are the text archive's tests.
#include <algorithm>

#include "support/test_support.h"

namespace {
using namespace labarc::testing;

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

// Text made in place keeps its order with plain writes, also when it needs more room than the
// buffer has left, or than the whole buffer holds; so do plain writes larger than the buffer.
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

}  // namespace
