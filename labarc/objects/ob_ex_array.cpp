#include <labarc/objects/ob_ex_array.h>

#include <memory>

#include <labarc/archive/archive_ex.h>
#include <labarc/framework/exceptions.h>

IMPLEMENT_SERIAL(CObExArray, CObArray, CObExArray::VERSION)

const char* const CObExArray::lpszSIZE = "Size";

namespace {

// Names element `index` in error reports, e.g. "CObjectEx Array, element 2 of 3".
CString ElementName(const CString& section, int index, int count) {
  CString name;
  name.Format("%s, element %d of %d", section.GetString(), index, count);
  return name;
}

int Store(const CObExArray& array, CArchiveEx& ar, const CString& section) {
  const int count = array.GetSize();
  // A null slot is refused before any line is written, so no half section is left behind.
  for (int i = 0; i < count; ++i) {
    if (!array.GetAt(i)) return ar.HandleError(ElementName(section, i, count));
  }
  CString* noLabel = nullptr;
  if (ar.Write(CString(), noLabel) != 1 || ar.WriteSectionHeader(section) != 1 ||
      ar.Write(count, CString(CObExArray::lpszSIZE)) != 1)
    return ar.HandleError(nullptr);
  for (int i = 0; i < count; ++i) array.GetAt(i)->Serialize(ar);
  return 1;
}

int Load(CObExArray& array, CArchiveEx& ar, const CString& section,
         const CRuntimeClass& elementClass) {
  // The line before the header is the empty line that storing writes; it is not checked.
  CString skipped;
  CString* noLabel = nullptr;
  int count = 0;
  if (ar.Read(skipped, noLabel) != 1 || ar.GoToSection(section) != 1 ||
      ar.Read(count, CString(CObExArray::lpszSIZE)) != 1)
    return ar.HandleError(nullptr);
  if (count < 0) AfxThrowInvalidArgException();

  array.Clean();
  // The count is only a promise: nothing is sized from it, and loading stops at the first
  // element that runs into the end of the archive (in reporting mode its own read has already
  // reported and thrown), so a damaged count costs no more than the file holds.
  for (int i = 0; i < count; ++i) {
    std::unique_ptr<CObject> pOb(elementClass.CreateObject());
    if (!pOb) AfxThrowMemoryException();
    array.Add(pOb.get());
    auto* pElement = static_cast<CObjectEx*>(pOb.release());  // the array owns it now
    const int readsAtEnd = ar.GetReadsAtEnd();
    pElement->Serialize(ar);
    if (ar.GetReadsAtEnd() != readsAtEnd) return ar.HandleError(ElementName(section, i, count));
  }
  return 1;
}

}  // namespace

void CObExArray::Clean() {
  for (int i = 0; i < GetSize(); ++i) delete CObArray::GetAt(i);
  RemoveAll();
  FreeExtra();
}

CObjectEx* CObExArray::GetAt(int nIndex) const {
  if (nIndex > GetUpperBound()) return nullptr;
  return dynamic_cast<CObjectEx*>(CObArray::GetAt(nIndex));
}

int CObExArray::Serialize(CArchiveEx& ar, CRuntimeClass* pClass) {
  if (!pClass || !pClass->IsDerivedFrom(CObjectEx::GetThisClass())) AfxThrowInvalidArgException();
  CString section;
  section.Format("%s Array", pClass->m_lpszClassName);
  return ar.IsStoring() ? Store(*this, ar, section) : Load(*this, ar, section, *pClass);
}
