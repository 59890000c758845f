// Reads the lines of an archive file ahead of the archive itself, so that the tool can see which
// composite starts at a line before the library reads it. Line ends follow the archive's rules
// (LF, CR LF or a lone CR end a line; the last line needs none). Each line is kept only in part,
// so looking ahead costs a bounded amount of memory whatever the file holds.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <labarc/framework/file.h>

namespace labarc::tool {

enum class LineEnd { none, lf, crlf, cr };

struct ScannedLine {
  int number = 0;            // counting from 1, as the archive counts
  std::uint64_t offset = 0;  // of the line's first byte
  std::size_t length = 0;    // the whole line's length, without its end
  LineEnd end = LineEnd::none;
  bool section = false;   // a section header line, as the section scans see one
  bool labelled = false;  // holds "="
  std::string label;      // the text before the first "=" (cut at kKeptLabel)
  std::string text;       // the line's first kKeptText characters
  int values = 0;         // comma-separated values on the whole line, as on a point line

  // The value after the first "=", as far as it was kept.
  std::string_view Value() const;
};

class LineScanner {
 public:
  static constexpr std::size_t kKeptLabel = 256;
  static constexpr std::size_t kKeptText = 4096;

  explicit LineScanner(std::unique_ptr<CFile> file);
  ~LineScanner();

  // The line `ahead` lines after the next one (0: the next), or null past the end of the file.
  const ScannedLine* Peek(std::size_t ahead = 0);
  // Drops the lines up to and including line `number`, handing each to `onLine` first.
  template <class OnLine>
  void SkipTo(int number, OnLine&& onLine) {
    while (const ScannedLine* line = Peek()) {
      if (line->number > number) break;
      onLine(*line);
      m_ahead.pop_front();
    }
  }
  void SkipTo(int number) {
    SkipTo(number, [](const ScannedLine&) {});
  }
  // Bytes of the file taken in so far, and the file's length.
  std::uint64_t BytesRead() const { return m_consumed; }
  std::uint64_t FileLength() const { return m_length; }

 private:
  bool ReadLine(ScannedLine& line);
  bool FillBuffer();

  std::unique_ptr<CFile> m_file;
  std::uint64_t m_length = 0;
  std::vector<char> m_buffer;
  std::size_t m_position = 0;
  std::size_t m_end = 0;
  std::uint64_t m_consumed = 0;  // bytes before m_buffer[m_position]
  int m_lineCount = 0;
  std::deque<ScannedLine> m_ahead;
};

}  // namespace labarc::tool
