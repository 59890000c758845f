// The framework's archive: a buffered, one-direction stream of bytes and text lines over a CFile.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <labarc/framework/cstring.h>
#include <labarc/framework/export.h>
#include <labarc/framework/file.h>
#include <labarc/framework/object.h>

inline namespace labarc_framework {

class LABARC_API CArchive {
 public:
  enum Mode : UINT { store = 0, load = 1, bNoFlushOnDelete = 2 };
  // Objects read inside objects: deeper nesting is refused, so that a crafted stream of arrays
  // within arrays cannot exhaust the stack.
  static constexpr int MAX_OBJECT_DEPTH = 512;

  // An archive over `file` (not owned) in `mode`, with a buffer of `bufSize` bytes. A caller's
  // buffer is not supported: the archive always owns its buffer.
  CArchive(CFile* file, UINT mode, int bufSize = 4096, void* buf = nullptr);
  CArchive(const CArchive&) = delete;
  CArchive& operator=(const CArchive&) = delete;
  // Closes the archive (a storing archive flushes its buffer) unless bNoFlushOnDelete was given.
  // Errors at that point cannot be reported from a destructor: call Close() to see them.
  virtual ~CArchive();

  CFile* GetFile() const { return m_pFile; }
  BOOL IsLoading() const { return (m_nMode & load) != 0; }
  BOOL IsStoring() const { return (m_nMode & load) == 0; }

  // Reads the next line without its end into `line`; FALSE only at the end of the file with
  // nothing left to read. A line feed, a carriage return followed by a line feed, or a lone
  // carriage return each end a line.
  BOOL ReadString(CString& line);
  // Writes the characters of `text` unchanged; nothing is added.
  void WriteString(const char* text);

  // Raw bytes: Read returns how many were available, up to `count`.
  UINT Read(void* buffer, UINT count);
  void Write(const void* buffer, UINT count);
  void Write(std::string_view bytes) { Write(bytes.data(), static_cast<UINT>(bytes.size())); }

  // Objects with their class: the class name and schema, then what the object's Serialize
  // writes; a null pointer is stored as such. Writing refuses an object whose class could not be
  // read back (not registered, or not creatable) with a CArchiveException (badClass).
  void WriteObject(const CObject* pOb);
  // Reads an object written by WriteObject; null for a stored null. Raises CArchiveException:
  // badClass for a class that is not registered, not creatable or not derived from
  // `pClassRefRequested` (when given), badSchema for another schema, endOfFile for a stream that
  // ends early, genericException for objects nested deeper than MAX_OBJECT_DEPTH. The object is
  // deleted when its own reading fails.
  CObject* ReadObject(const CRuntimeClass* pClassRefRequested);
  // Element counts of collections, as four bytes; reading short raises endOfFile.
  void WriteCount(DWORD count);
  DWORD ReadCount();

  // How many line reads found nothing left: each is a reader that expected more text than the
  // file holds.
  int GetReadsAtEnd() const { return m_nReadsAtEnd; }

  // How many bytes a loading archive can still deliver: those in its buffer and those after the
  // file's position. Empty when the file cannot tell (it cannot seek, such as a pipe). The file's
  // length is asked once, as a file does not change under the archive that loads it: a reader
  // asks at every curve, and asking the system each time cost more than reading a small curve.
  std::optional<std::uint64_t> GetBytesLeft() const;

  // A storing archive hands its buffered bytes to the file.
  void Flush();
  // Flushes and detaches from the file; later reads find the end, later writes raise.
  void Close();

  enum class LineStatus { line, end, tooLong };
  // The zero-copy form of ReadString. `line` stays valid until the next read. A line longer than
  // `maxLength` is consumed whole but not kept, and reported as tooLong, so a file without line
  // ends cannot make the reader hold more than `maxLength` bytes.
  LineStatus ReadLine(std::string_view& line, std::size_t maxLength);

 protected:
  // An archive over no file, in `mode`: it reads nothing and refuses writes.
  explicit CArchive(UINT mode);

  // Text made in place: WriteSpace returns room for `count` bytes at the write position (the
  // buffer is flushed, or grown for a count larger than itself, to make it), and CommitWrite
  // takes the first `count` of them, which must not exceed the room asked for.
  char* WriteSpace(std::size_t count);
  void CommitWrite(std::size_t count) { m_position += count; }

  // Lines located ahead of the read position but not read, for a reader that parses many lines
  // at once: the texts (without their line ends) of up to `most` whole lines replace `lines`,
  // valid until the next read. When fewer than `bytes` bytes are buffered, the buffer is first
  // topped up to that many, or to what the file still holds, growing to at most `bytes` and
  // never past the file's length; from a file that hands over its lines one at a time, no more
  // lines are taken than `most`. A line that is not whole in the buffer ends the run, for ReadLine
  // to take.
  void PeekLines(std::vector<std::string_view>& lines, std::size_t most, std::size_t bytes);
  // Reads the located lines up to and including `last`, one of the lines PeekLines gave.
  void SkipPeekedLines(std::string_view last);

 private:
  friend class CFile;  // a file going away leaves its archives over no file

  LABARC_LOCAL bool FillBuffer();
  // Keeps the unread bytes and reads after them until `bytes` are buffered, `mostLines` whole
  // lines are (kAnyLines: no bound), or the file ends.
  static constexpr std::size_t kAnyLines = static_cast<std::size_t>(-1);
  LABARC_LOCAL void ReadAhead(std::size_t bytes, std::size_t mostLines);
  // Leaves the file's list of archives; the archive is then over no file.
  LABARC_LOCAL void LeaveFile() noexcept;
  // Consumes the line feed of a carriage-return-line-feed pair whose return ended the last line.
  LABARC_LOCAL void SkipPendingLineFeed();

  CFile* m_pFile;
  UINT m_nMode;
  std::unique_ptr<char[]> m_buffer;  // not initialised: bytes are read or written before use
  std::size_t m_size;                // of m_buffer
  std::size_t m_position = 0;        // next byte to read or to fill
  std::size_t m_end = 0;             // end of the bytes read into the buffer
  bool m_skipLineFeed = false;       // the last line ended in a carriage return
  std::string m_longLine;            // a line that crosses the buffer's end
  int m_nObjectDepth = 0;            // objects being read by ReadObject
  int m_nReadsAtEnd = 0;             // line reads that found the end of the file
  mutable std::optional<std::uint64_t> m_fileLength;  // for GetBytesLeft, once known
};

LABARC_API CArchive& operator<<(CArchive& ar, const CObject* pOb);
LABARC_API CArchive& operator>>(CArchive& ar, CObject*& pOb);

}  // namespace labarc_framework

namespace labarc {

// The extraction operator of serial class T: reads one object that must be a T.
template <class T>
CArchive& ExtractObject(CArchive& ar, T*& pOb) {
  pOb = static_cast<T*>(ar.ReadObject(T::GetThisClass()));
  return ar;
}

}  // namespace labarc
