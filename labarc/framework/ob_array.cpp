#include <labarc/framework/ob_array.h>

#include <algorithm>
#include <new>

#include <labarc/framework/archive.h>
#include <labarc/framework/exceptions.h>

inline namespace labarc_framework {

IMPLEMENT_SERIAL(CObArray, CObject, 1)

std::size_t CObArray::CheckedIndex(int nIndex) const {
  if (nIndex < 0 || nIndex >= GetSize()) AfxThrowInvalidArgException();
  return static_cast<std::size_t>(nIndex);
}

void CObArray::Reserve(std::size_t nSize) {
  if (nSize <= m_data.capacity()) return;
  try {  // sizes are ints, far below the vector's maximum
    m_data.reserve(std::max(nSize, m_data.size() + static_cast<std::size_t>(m_nGrowBy)));
  } catch (const std::bad_alloc&) {
    AfxThrowMemoryException();
  }
}

void CObArray::SetSize(int nNewSize, int nGrowBy) {
  if (nNewSize < 0 || nGrowBy < -1) AfxThrowInvalidArgException();
  if (nGrowBy != -1) m_nGrowBy = nGrowBy;
  Reserve(static_cast<std::size_t>(nNewSize));
  m_data.resize(static_cast<std::size_t>(nNewSize), nullptr);
}

void CObArray::FreeExtra() { m_data.shrink_to_fit(); }

int CObArray::Add(CObject* newElement) {
  if (m_data.size() == m_data.capacity())
    Reserve(m_data.size() + std::max(m_data.size(), std::size_t{4}));
  m_data.push_back(newElement);
  return GetUpperBound();
}

void CObArray::RemoveAt(int nIndex, int nCount) {
  if (nIndex < 0 || nCount < 0 || nCount > GetSize() - nIndex) AfxThrowInvalidArgException();
  const auto first = m_data.begin() + nIndex;
  m_data.erase(first, first + nCount);
}

void CObArray::Serialize(CArchive& ar) {
  if (ar.IsStoring()) {
    ar.WriteCount(static_cast<DWORD>(m_data.size()));
    for (const CObject* pOb : m_data) ar.WriteObject(pOb);
    return;
  }
  // The count is only a promise: objects are appended as the archive delivers them, so a
  // damaged count cannot make the array allocate ahead of its data. The objects of a load that
  // fails belong to no one: they are deleted and the array is left as it was.
  const std::size_t previous = m_data.size();
  try {
    for (DWORD n = ar.ReadCount(); n > 0; --n) {
      Add(nullptr);
      m_data.back() = ar.ReadObject(nullptr);
    }
  } catch (...) {
    for (std::size_t i = previous; i < m_data.size(); ++i) delete m_data[i];
    m_data.resize(previous);
    throw;
  }
}

}  // namespace labarc_framework
