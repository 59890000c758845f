#include "framework/archive.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <utility>

#include "framework/exceptions.h"

inline namespace labarc_framework {

namespace {

constexpr std::size_t kMinBufferSize = 128;

const char* FindLineEnd(const char* first, const char* last) {
  for (; first != last; ++first)
    if (*first == '\n' || *first == '\r') return first;
  return last;
}

}  // namespace

CArchive::CArchive(CFile* file, UINT mode, int bufSize, void*)
    : m_pFile(file),
      m_nMode(mode),
      m_buffer(std::max<std::size_t>(bufSize > 0 ? static_cast<std::size_t>(bufSize) : 0,
                                     kMinBufferSize)) {
  if (!file) AfxThrowInvalidArgException();
}

CArchive::CArchive(UINT mode) : m_pFile(nullptr), m_nMode(mode), m_buffer(kMinBufferSize) {}

CArchive::~CArchive() {
  if (m_nMode & bNoFlushOnDelete) return;
  try {
    Close();
  } catch (CException* error) {
    error->Delete();
  }
}

void CArchive::Flush() {
  if (IsLoading() || m_position == 0) return;
  const std::size_t pending = std::exchange(m_position, 0);
  if (!m_pFile) AfxThrowArchiveException(CArchiveException::genericException);
  m_pFile->Write(m_buffer.data(), static_cast<UINT>(pending));
  m_pFile->Flush();
}

void CArchive::Close() {
  Flush();
  m_pFile = nullptr;
}

void CArchive::Write(const void* buffer, UINT count) {
  if (IsLoading()) AfxThrowArchiveException(CArchiveException::readOnly);
  if (!m_pFile) AfxThrowArchiveException(CArchiveException::genericException);
  const char* bytes = static_cast<const char*>(buffer);
  if (count > m_buffer.size() - m_position) {
    Flush();
    if (count >= m_buffer.size()) {
      m_pFile->Write(bytes, count);
      return;
    }
  }
  std::memcpy(m_buffer.data() + m_position, bytes, count);
  m_position += count;
}

void CArchive::WriteString(const char* text) {
  if (text) Write(text, static_cast<UINT>(std::strlen(text)));
}

bool CArchive::FillBuffer() {
  if (m_position < m_end) return true;
  m_position = m_end = 0;
  if (!m_pFile) return false;
  m_end = m_pFile->Read(m_buffer.data(), static_cast<UINT>(m_buffer.size()));
  return m_end > 0;
}

UINT CArchive::Read(void* buffer, UINT count) {
  if (IsStoring()) AfxThrowArchiveException(CArchiveException::writeOnly);
  char* bytes = static_cast<char*>(buffer);
  UINT done = 0;
  while (done < count && FillBuffer()) {
    const std::size_t take = std::min<std::size_t>(count - done, m_end - m_position);
    std::memcpy(bytes + done, m_buffer.data() + m_position, take);
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

CArchive::LineStatus CArchive::ReadLine(std::string_view& line, std::size_t maxLength) {
  if (IsStoring()) AfxThrowArchiveException(CArchiveException::writeOnly);
  SkipPendingLineFeed();
  m_longLine.clear();
  bool started = false;  // some character of this line has been consumed
  bool tooLong = false;
  while (FillBuffer()) {
    const char* first = m_buffer.data() + m_position;
    const char* last = m_buffer.data() + m_end;
    const char* lineEnd = FindLineEnd(first, last);
    const std::size_t length = static_cast<std::size_t>(lineEnd - first);
    tooLong = tooLong || m_longLine.size() + length > maxLength;
    if (lineEnd != last) {
      m_position += length + 1;
      m_skipLineFeed = *lineEnd == '\r';
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
