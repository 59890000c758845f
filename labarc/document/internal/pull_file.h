// A file whose bytes are lines handed over one at a time, as a reader asks for them: an archive
// over it reads exactly the lines it needs, so a walk can let the library's reader take a
// composite from lines it has already looked at, and then go on where the reader stopped.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include <labarc/framework/file.h>

namespace labarc {

class LineSupplier {
 public:
  // The next line, without its end; `text` stays valid until the next call. A line over the
  // archive's length limit comes as `tooLong`, its text not kept. False when there is none.
  virtual bool NextLine(std::string_view& text, bool& tooLong) = 0;

 protected:
  ~LineSupplier() = default;
};

class PullFile : public CFile {
 public:
  // `length` is what GetLength reports: an upper bound of what the lines can hold.
  PullFile(LineSupplier& supplier, std::uint64_t length) : m_supplier(supplier), m_length(length) {}

  // Hands over the rest of the current line, or of the next: never more than one line at a time.
  UINT Read(void* buffer, UINT count) override;
  std::uint64_t GetLength() const override { return m_length; }
  // A line beyond those a reader asks for is not the reader's to take.
  bool HandsOverLines() const override { return true; }
  // Only the current position is known: the bytes handed over so far. With GetLength, which is
  // the whole file's, it bounds what the rest of the lines can hold from above, so that a reader
  // can refuse a count no file of that length could hold.
  std::uint64_t Seek(std::int64_t offset, UINT from) override;

 private:
  LineSupplier& m_supplier;
  std::uint64_t m_length;
  std::string_view m_line;     // the rest of the current line, valid until the next NextLine
  bool m_lineFeedDue = false;  // the current line's end is still to hand over
  std::uint64_t m_fill = 0;    // bytes of a too long line still to hand over
  std::uint64_t m_handed = 0;  // bytes handed over
};

}  // namespace labarc
