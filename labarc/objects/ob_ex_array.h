// CObExArray: an array of CObjectEx that owns its elements and stores itself in a labelled text
// archive as a section of its own:
//
//   (an empty line)
//   [<element class name> Array]
//   Size=<element count>
//   the entries of each element, in index order
#pragma once

#include <labarc/framework/export.h>
#include <labarc/framework/ob_array.h>
#include <labarc/objects/object_ex.h>

class LABARC_API CObExArray : public CObArray {
  DECLARE_SERIAL(CObExArray)

  // The schema of the class record.
  static const int VERSION = 1;
  // The label of the element count.
  static const char* const lpszSIZE;

  CObExArray() = default;
  ~CObExArray() override { Clean(); }

  // Deletes every element, front to back, and empties the array.
  void Clean();
  // The element at `nIndex`; null beyond the end (or for an element that is not a CObjectEx).
  // A negative index raises the invalid-argument exception.
  CObjectEx* GetAt(int nIndex) const;

  using CObArray::Serialize;
  // Stores the whole array, or loads it, in the direction of `ar`. `pClass` names the section
  // and, on loading, is the class every element is created as; it must derive from CObjectEx
  // (otherwise the invalid-argument exception). Returns 1, or the archive's error result.
  //
  // Storing refuses an array with a null slot before writing anything. Loading reads the
  // section and its count first and leaves the array as it was if that fails; otherwise it
  // replaces the contents, creating each element as the archive delivers it. A negative count
  // raises the invalid-argument exception; a count the archive runs out before is an error,
  // and the elements read until then stay in the array. An element that cannot be created
  // raises the memory exception.
  virtual int Serialize(CArchiveEx& ar, CRuntimeClass* pClass);
};
