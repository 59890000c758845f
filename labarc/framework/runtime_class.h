// Run-time class records: the name, size, schema, creation function and base class of each
// serial class, and the process-wide list of them that binary archives look classes up in.
#pragma once

#include <new>

#include <labarc/framework/export.h>
#include <labarc/framework/win_types.h>

inline namespace labarc_framework {

class CObject;
class CArchive;

struct LABARC_API CRuntimeClass {
  const char* m_lpszClassName;
  int m_nObjectSize;
  UINT m_wSchema;                         // stored with each object; a different one is refused
  CObject* (*m_pfnCreateObject)();        // null: the class cannot be created by name
  CRuntimeClass* (*m_pfnGetBaseClass)();  // null for the root of the hierarchy
  CRuntimeClass* m_pNextClass;            // the next record in the class list

  // A new object of this class, or null when the class has no creation function or no memory.
  CObject* CreateObject() const;
  // True when this class is `pBaseClass` or derives from it.
  BOOL IsDerivedFrom(const CRuntimeClass* pBaseClass) const;
  // The registered class named `lpszClassName` (the spelling must match), or null.
  static CRuntimeClass* FromName(const char* lpszClassName);
};

// Adds `pNewClass` to the class list; adding the same record again changes nothing.
LABARC_API void AfxClassInit(CRuntimeClass* pNewClass);

// A static object of this type registers its class while the program starts.
struct AFX_CLASSINIT {
  explicit AFX_CLASSINIT(CRuntimeClass* pNewClass) { AfxClassInit(pNewClass); }
};

}  // namespace labarc_framework

namespace labarc {

// The creation function of a serial class: null instead of an exception when memory runs out.
template <class T>
CObject* NewObject() {
  return new (std::nothrow) T;
}

}  // namespace labarc

// A serial class declares itself with one line in its class body (which leaves the access
// public) and implements it with one line in its source file:
//   class CShape : public CObjectEx { DECLARE_SERIAL(CShape) ... };
//   IMPLEMENT_SERIAL(CShape, CObjectEx, 1)
// The class gets its record class<Name>, registered by name at start-up, dynamic creation, and
// an extraction operator that reads one object of the class from a binary archive.
#define DECLARE_SERIAL(class_name)                                           \
 protected:                                                                  \
  static CRuntimeClass* _GetBaseClass();                                     \
                                                                             \
 public:                                                                     \
  static CRuntimeClass class##class_name;                                    \
  static CRuntimeClass* GetThisClass() { return &class##class_name; }        \
  CRuntimeClass* GetRuntimeClass() const override { return GetThisClass(); } \
  static CObject* CreateObject();                                            \
  friend CArchive& operator>>(CArchive& ar, class_name*& pOb);

#define IMPLEMENT_SERIAL(class_name, base_class_name, wSchema)                           \
  CObject* class_name::CreateObject() { return labarc::NewObject<class_name>(); }        \
  CRuntimeClass* class_name::_GetBaseClass() { return base_class_name::GetThisClass(); } \
  CRuntimeClass class_name::class##class_name = {#class_name,                            \
                                                 sizeof(class_name),                     \
                                                 wSchema,                                \
                                                 &class_name::CreateObject,              \
                                                 &class_name::_GetBaseClass,             \
                                                 nullptr};                               \
  static const AFX_CLASSINIT _init_##class_name(&class_name::class##class_name);         \
  [[maybe_unused]] CArchive& operator>>(CArchive& ar, class_name*& pOb) {                \
    return labarc::ExtractObject(ar, pOb);                                               \
  }
