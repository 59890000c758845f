// The root of the framework's object model: run-time class information, the binary archive's
// serialisation and the diagnostic hooks.
#pragma once

#include <labarc/framework/export.h>
#include <labarc/framework/runtime_class.h>

inline namespace labarc_framework {

class CDumpContext;

class LABARC_API CObject {
 public:
  static CRuntimeClass classCObject;
  static CRuntimeClass* GetThisClass() { return &classCObject; }

  virtual CRuntimeClass* GetRuntimeClass() const { return GetThisClass(); }
  virtual ~CObject() = default;
  // Writes or reads the object in a binary archive; the root has nothing to store.
  virtual void Serialize(CArchive&) {}
  // Diagnostics of debug builds; nothing to check or show here.
  virtual void AssertValid() const {}
  virtual void Dump(CDumpContext&) const {}

  // True when the object's class is `pClass` or derives from it.
  BOOL IsKindOf(const CRuntimeClass* pClass) const {
    return GetRuntimeClass()->IsDerivedFrom(pClass);
  }

 protected:
  CObject() = default;
  CObject(const CObject&) = default;
  CObject& operator=(const CObject&) = default;
};

}  // namespace labarc_framework
