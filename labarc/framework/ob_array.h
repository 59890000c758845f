// The framework's array of object pointers. It does not own what it points to. Every index and
// size is checked: a bad one raises the invalid-argument exception.
#pragma once

#include <vector>

#include <labarc/framework/export.h>
#include <labarc/framework/object.h>

inline namespace labarc_framework {

class LABARC_API CObArray : public CObject {
  DECLARE_SERIAL(CObArray)

  CObArray() = default;
  // Copies would share the pointers of the original, which an owning subclass deletes.
  CObArray(const CObArray&) = delete;
  CObArray& operator=(const CObArray&) = delete;
  ~CObArray() override = default;

  int GetSize() const { return static_cast<int>(m_data.size()); }
  int GetCount() const { return GetSize(); }
  int GetUpperBound() const { return GetSize() - 1; }
  BOOL IsEmpty() const { return m_data.empty(); }

  // New slots are null. `nGrowBy` (when not -1) is the least number of slots added whenever the
  // array must grow.
  void SetSize(int nNewSize, int nGrowBy = -1);
  // Releases the capacity beyond the size.
  void FreeExtra();
  void RemoveAll() { m_data.clear(); }

  CObject* GetAt(int nIndex) const { return m_data[CheckedIndex(nIndex)]; }
  void SetAt(int nIndex, CObject* newElement) { m_data[CheckedIndex(nIndex)] = newElement; }
  CObject*& ElementAt(int nIndex) { return m_data[CheckedIndex(nIndex)]; }
  CObject* operator[](int nIndex) const { return GetAt(nIndex); }
  CObject*& operator[](int nIndex) { return ElementAt(nIndex); }

  // Appends `newElement`; returns its index.
  int Add(CObject* newElement);
  // Removes `nCount` slots from `nIndex` on; the range must lie inside the array.
  void RemoveAt(int nIndex, int nCount = 1);

  // The count, then each object with its class; reading appends the objects as they arrive.
  void Serialize(CArchive& ar) override;

 private:
  std::size_t CheckedIndex(int nIndex) const;
  // Makes room for `nSize` slots, honouring the grow-by step.
  LABARC_LOCAL void Reserve(std::size_t nSize);

  std::vector<CObject*> m_data;
  int m_nGrowBy = 0;
};

}  // namespace labarc_framework
