#include <labarc/document/internal/pull_file.h>

#include <algorithm>
#include <cstring>

#include <labarc/archive/archive_ex.h>

namespace labarc {

UINT PullFile::Read(void* buffer, UINT count) {
  char* bytes = static_cast<char*>(buffer);
  if (m_fill == 0 && m_position == m_line.size()) {
    std::string_view text;
    bool tooLong = false;
    if (!m_supplier.NextLine(text, tooLong)) return 0;
    m_position = 0;
    m_line.clear();
    if (tooLong) {
      // A stand-in that the reader refuses as too long, as it would have the original.
      m_fill = CArchiveEx::MAX_LINE_LENGTH + 1;
    } else {
      m_line.append(text);
    }
    m_line += '\n';
  }
  if (m_fill > 0) {
    const UINT take = static_cast<UINT>(std::min<std::uint64_t>(count, m_fill));
    std::memset(bytes, 'x', take);
    m_fill -= take;
    m_handed += take;
    return take;
  }
  const UINT take = static_cast<UINT>(std::min<std::size_t>(count, m_line.size() - m_position));
  std::memcpy(bytes, m_line.data() + m_position, take);
  m_position += take;
  m_handed += take;
  return take;
}

std::uint64_t PullFile::Seek(std::int64_t offset, UINT from) {
  if (offset == 0 && from == current) return m_handed;
  return CFile::Seek(offset, from);  // no handle: raises as a file that cannot seek
}

}  // namespace labarc
