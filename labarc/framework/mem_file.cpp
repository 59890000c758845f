#include <labarc/framework/mem_file.h>

#include <algorithm>
#include <cstring>

#include <labarc/framework/exceptions.h>

inline namespace labarc_framework {

UINT CMemFile::Read(void* buffer, UINT count) {
  const std::size_t available = m_position < m_data.size() ? m_data.size() - m_position : 0;
  const std::size_t got = std::min<std::size_t>(count, available);
  if (got > 0) std::memcpy(buffer, m_data.data() + m_position, got);
  m_position += got;
  return static_cast<UINT>(got);
}

void CMemFile::Write(const void* buffer, UINT count) {
  if (count == 0) return;
  if (m_position > m_data.size()) m_data.resize(m_position);
  m_data.replace(m_position, std::min<std::size_t>(count, m_data.size() - m_position),
                 static_cast<const char*>(buffer), count);
  m_position += count;
}

std::uint64_t CMemFile::Seek(std::int64_t offset, UINT from) {
  const std::int64_t base = from == end       ? static_cast<std::int64_t>(m_data.size())
                            : from == current ? static_cast<std::int64_t>(m_position)
                                              : 0;
  if (offset < -base) AfxThrowFileException(CFileException::badSeek, 0, GetFilePath());
  m_position = static_cast<std::size_t>(base + offset);
  return m_position;
}

}  // namespace labarc_framework
