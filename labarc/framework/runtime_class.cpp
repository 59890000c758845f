#include <labarc/framework/runtime_class.h>

#include <cstring>
#include <mutex>

inline namespace labarc_framework {

namespace {

// The head of the class list. Constant-initialised, so registrations running during start-up
// never see it unset, whatever order the translation units are initialised in.
constinit CRuntimeClass* g_pFirstClass = nullptr;
// Guards the list: classes may be registered (a library loaded) while other threads look them up.
// A mutex is constant-initialised too.
constinit std::mutex g_classListMutex;

}  // namespace

CObject* CRuntimeClass::CreateObject() const {
  return m_pfnCreateObject ? m_pfnCreateObject() : nullptr;
}

BOOL CRuntimeClass::IsDerivedFrom(const CRuntimeClass* pBaseClass) const {
  for (const CRuntimeClass* pClass = this; pClass;
       pClass = pClass->m_pfnGetBaseClass ? pClass->m_pfnGetBaseClass() : nullptr) {
    if (pClass == pBaseClass) return TRUE;
  }
  return FALSE;
}

CRuntimeClass* CRuntimeClass::FromName(const char* lpszClassName) {
  if (!lpszClassName) return nullptr;
  const std::lock_guard lock(g_classListMutex);
  for (CRuntimeClass* pClass = g_pFirstClass; pClass; pClass = pClass->m_pNextClass) {
    if (std::strcmp(pClass->m_lpszClassName, lpszClassName) == 0) return pClass;
  }
  return nullptr;
}

void AfxClassInit(CRuntimeClass* pNewClass) {
  const std::lock_guard lock(g_classListMutex);
  // A record listed twice would make the list a cycle.
  for (const CRuntimeClass* pClass = g_pFirstClass; pClass; pClass = pClass->m_pNextClass) {
    if (pClass == pNewClass) return;
  }
  pNewClass->m_pNextClass = g_pFirstClass;
  g_pFirstClass = pNewClass;
}

}  // namespace labarc_framework
