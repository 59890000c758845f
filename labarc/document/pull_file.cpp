#include <labarc/document/internal/pull_file.h>

#include <algorithm>
#include <cstring>

#include <labarc/archive/archive_ex.h>

namespace labarc {

UINT PullFile::Read(void* buffer, UINT count) {
  char* bytes = static_cast<char*>(buffer);
  if (m_fill == 0 && m_line.empty() && !m_lineFeedDue) {
    bool tooLong = false;
    if (!m_supplier.NextLine(m_line, tooLong)) return 0;
    // A too long line becomes a stand-in that the reader refuses as too long, as it would have
    // the original.
    if (tooLong) m_fill = CArchiveEx::MAX_LINE_LENGTH + 1;
    if (tooLong) m_line = {};
    m_lineFeedDue = true;
  }
  UINT take = 0;
  if (m_fill > 0) {
    take = static_cast<UINT>(std::min<std::uint64_t>(count, m_fill));
    std::memset(bytes, 'x', take);
    m_fill -= take;
  } else if (!m_line.empty()) {
    take = static_cast<UINT>(std::min<std::size_t>(count, m_line.size()));
    std::memcpy(bytes, m_line.data(), take);
    m_line.remove_prefix(take);
  }
  if (take < count && m_fill == 0 && m_line.empty() && m_lineFeedDue) {
    bytes[take++] = '\n';
    m_lineFeedDue = false;
  }
  m_handed += take;
  return take;
}

std::uint64_t PullFile::Seek(std::int64_t offset, UINT from) {
  if (offset == 0 && from == current) return m_handed;
  return CFile::Seek(offset, from);  // no handle: raises as a file that cannot seek
}

}  // namespace labarc
