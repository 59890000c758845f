#include <labarc/framework/archive.h>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <algorithm>
#include <bit>
#include <climits>
#include <cstring>
#include <utility>

#include <labarc/framework/exceptions.h>

inline namespace labarc_framework {

namespace {

constexpr std::size_t kMinBufferSize = 128;

// The first carriage return or line feed in [first, last), or last. One pass looks for both,
// sixteen bytes at a time where the processor allows: most lines are short entries, for which
// two library scans cost more in their set-up than in their compares.
const char* FindLineEnd(const char* first, const char* last) {
#if defined(__SSE2__)
  const __m128i lineFeed = _mm_set1_epi8('\n');
  const __m128i carriageReturn = _mm_set1_epi8('\r');
  for (; last - first >= 16; first += 16) {
    const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(first));
    const auto ends = static_cast<unsigned>(_mm_movemask_epi8(
        _mm_or_si128(_mm_cmpeq_epi8(chunk, lineFeed), _mm_cmpeq_epi8(chunk, carriageReturn))));
    if (ends != 0) return first + std::countr_zero(ends);
  }
  for (; first != last; ++first)
    if (*first == '\n' || *first == '\r') return first;
  return last;
#else
  const void* lineFeed = std::memchr(first, '\n', static_cast<std::size_t>(last - first));
  const char* end = lineFeed ? static_cast<const char*>(lineFeed) : last;
  const void* carriageReturn = std::memchr(first, '\r', static_cast<std::size_t>(end - first));
  return carriageReturn ? static_cast<const char*>(carriageReturn) : end;
#endif
}

std::unique_ptr<char[]> MakeBuffer(std::size_t size) {
  return std::make_unique_for_overwrite<char[]>(size);
}

}  // namespace

CArchive::CArchive(CFile* file, UINT mode, int bufSize, void*)
    : m_pFile(file),
      m_nMode(mode),
      m_size(std::max<std::size_t>(bufSize > 0 ? static_cast<std::size_t>(bufSize) : 0,
                                   kMinBufferSize)) {
  m_buffer = MakeBuffer(m_size);
  if (!file) AfxThrowInvalidArgException();
  file->m_archives.push_back(this);
}

CArchive::CArchive(UINT mode)
    : m_pFile(nullptr),
      m_nMode(mode),
      m_buffer(MakeBuffer(kMinBufferSize)),
      m_size(kMinBufferSize) {}

CArchive::~CArchive() {
  if (!(m_nMode & bNoFlushOnDelete)) {
    try {
      Close();
    } catch (CException* error) {
      error->Delete();  // a save file keeps the failure and refuses its commit
    }
  }
  LeaveFile();
}

void CArchive::LeaveFile() noexcept {
  if (!m_pFile) return;
  std::erase(m_pFile->m_archives, this);
  m_pFile = nullptr;
}

std::optional<std::uint64_t> CArchive::GetBytesLeft() const {
  if (IsStoring()) return std::nullopt;
  const std::uint64_t buffered = m_end - m_position;
  if (!m_pFile) return buffered;
  try {
    const std::uint64_t position = m_pFile->Seek(0, CFile::current);
    if (!m_fileLength) m_fileLength = m_pFile->GetLength();
    const std::uint64_t length = *m_fileLength;
    return buffered + (length > position ? length - position : 0);
  } catch (CException* error) {
    error->Delete();
    return std::nullopt;
  }
}

void CArchive::Flush() {
  if (IsLoading() || m_position == 0) return;
  const std::size_t pending = std::exchange(m_position, 0);
  if (!m_pFile) AfxThrowArchiveException(CArchiveException::genericException);
  m_pFile->Write(m_buffer.get(), static_cast<UINT>(pending));
  m_pFile->Flush();
}

void CArchive::Close() {
  Flush();
  LeaveFile();
}

void CArchive::Write(const void* buffer, UINT count) {
  if (IsLoading()) AfxThrowArchiveException(CArchiveException::readOnly);
  if (!m_pFile) AfxThrowArchiveException(CArchiveException::genericException);
  const char* bytes = static_cast<const char*>(buffer);
  if (count > m_size - m_position) {
    Flush();
    if (count >= m_size) {
      m_pFile->Write(bytes, count);
      return;
    }
  }
  std::memcpy(m_buffer.get() + m_position, bytes, count);
  m_position += count;
}

char* CArchive::WriteSpace(std::size_t count) {
  if (IsLoading()) AfxThrowArchiveException(CArchiveException::readOnly);
  if (!m_pFile) AfxThrowArchiveException(CArchiveException::genericException);
  if (count > m_size - m_position) {
    Flush();
    if (count > m_size) {
      m_buffer = MakeBuffer(count);
      m_size = count;
    }
  }
  return m_buffer.get() + m_position;
}

void CArchive::WriteString(const char* text) {
  if (text) Write(text, static_cast<UINT>(std::strlen(text)));
}

bool CArchive::FillBuffer() {
  if (m_position < m_end) return true;
  m_position = m_end = 0;
  if (!m_pFile) return false;
  m_end = m_pFile->Read(m_buffer.get(), static_cast<UINT>(m_size));
  return m_end > 0;
}

UINT CArchive::Read(void* buffer, UINT count) {
  if (IsStoring()) AfxThrowArchiveException(CArchiveException::writeOnly);
  SkipPendingLineFeed();  // bytes after a line start after its whole line end
  char* bytes = static_cast<char*>(buffer);
  UINT done = 0;
  while (done < count && FillBuffer()) {
    const std::size_t take = std::min<std::size_t>(count - done, m_end - m_position);
    std::memcpy(bytes + done, m_buffer.get() + m_position, take);
    m_position += take;
    done += static_cast<UINT>(take);
  }
  return done;
}

void CArchive::SkipPendingLineFeed() {
  if (!m_skipLineFeed) return;
  m_skipLineFeed = false;
  if (FillBuffer() && m_buffer[m_position] == '\n') ++m_position;
}

void CArchive::ReadAhead(std::size_t bytes, std::size_t mostLines) {
  const std::size_t unread = m_end - m_position;
  if (bytes > m_size) {
    std::unique_ptr<char[]> larger = MakeBuffer(bytes);
    std::memcpy(larger.get(), m_buffer.get() + m_position, unread);
    m_buffer = std::move(larger);
    m_size = bytes;
  } else {
    std::memmove(m_buffer.get(), m_buffer.get() + m_position, unread);
  }
  m_position = 0;
  m_end = unread;
  // A file that hands over a line at a time is asked for no more lines than the reader wants.
  // Such a file's Read gives at most the rest of one line, ended by its line feed when whole, so
  // only the bytes already here need a search for line ends.
  std::size_t whole = 0;
  if (mostLines != kAnyLines) {
    const char* scanned = m_buffer.get();
    const char* const last = m_buffer.get() + m_end;
    for (; whole < mostLines; ++whole) {
      const char* end = FindLineEnd(scanned, last);
      if (end == last || (*end == '\r' && end + 1 == last)) break;
      scanned = end + 1 + (*end == '\r' && end[1] == '\n');
    }
  }
  while (m_end < bytes && (mostLines == kAnyLines || whole < mostLines)) {
    const UINT got = m_pFile->Read(m_buffer.get() + m_end, static_cast<UINT>(bytes - m_end));
    if (got == 0) break;
    m_end += got;
    whole += mostLines != kAnyLines && m_buffer[m_end - 1] == '\n';
  }
}

void CArchive::PeekLines(std::vector<std::string_view>& lines, std::size_t most,
                         std::size_t bytes) {
  if (IsStoring()) AfxThrowArchiveException(CArchiveException::writeOnly);
  lines.clear();
  SkipPendingLineFeed();
  if (!m_pFile) return;
  const std::size_t unread = m_end - m_position;
  if (unread < bytes)
    bytes = static_cast<std::size_t>(std::min<std::uint64_t>(bytes, m_pFile->GetLength()));
  if (unread < bytes)
    ReadAhead(bytes, m_pFile->HandsOverLines() ? most : kAnyLines);
  else
    FillBuffer();
  const char* at = m_buffer.get() + m_position;
  const char* const last = m_buffer.get() + m_end;
  while (lines.size() < most) {
    const char* end = FindLineEnd(at, last);
    // A carriage return must be followed by what comes after it in the buffer, so that a line
    // feed paired with it is skipped with the line.
    if (end == last || (*end == '\r' && end + 1 == last)) break;
    lines.emplace_back(at, static_cast<std::size_t>(end - at));
    at = end + 1 + (*end == '\r' && end[1] == '\n');
  }
}

void CArchive::SkipPeekedLines(std::string_view last) {
  const char* end = last.data() + last.size();
  m_position =
      static_cast<std::size_t>(end - m_buffer.get()) + 1 + (*end == '\r' && end[1] == '\n');
}

CArchive::LineStatus CArchive::ReadLine(std::string_view& line, std::size_t maxLength) {
  if (IsStoring()) AfxThrowArchiveException(CArchiveException::writeOnly);
  SkipPendingLineFeed();
  m_longLine.clear();
  bool started = false;  // some character of this line has been consumed
  bool tooLong = false;
  while (FillBuffer()) {
    const char* first = m_buffer.get() + m_position;
    const char* last = m_buffer.get() + m_end;
    const char* lineEnd = FindLineEnd(first, last);
    const std::size_t length = static_cast<std::size_t>(lineEnd - first);
    tooLong = tooLong || m_longLine.size() + length > maxLength;
    if (lineEnd != last) {
      m_position += length + 1;
      // The line feed of a carriage-return-line-feed pair goes with its line when it is here.
      if (*lineEnd == '\r') {
        if (lineEnd + 1 == last)
          m_skipLineFeed = true;
        else if (lineEnd[1] == '\n')
          ++m_position;
      }
      if (tooLong) return LineStatus::tooLong;
      if (!started) {
        line = std::string_view(first, length);  // the common case: no copy
        return LineStatus::line;
      }
      m_longLine.append(first, length);
      line = m_longLine;
      return LineStatus::line;
    }
    if (!tooLong) m_longLine.append(first, length);
    m_position = m_end;
    started = true;
  }
  if (!started) {
    if (m_nReadsAtEnd < INT_MAX) ++m_nReadsAtEnd;
    return LineStatus::end;
  }
  if (tooLong) return LineStatus::tooLong;
  line = m_longLine;  // the last line of a file needs no line end
  return LineStatus::line;
}

BOOL CArchive::ReadString(CString& line) {
  std::string_view text;
  const LineStatus status = ReadLine(text, static_cast<std::size_t>(-1));
  if (status == LineStatus::end) {
    line.Empty();
    return FALSE;
  }
  line = text;
  return TRUE;
}

}  // namespace labarc_framework
