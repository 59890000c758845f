// Objects in the binary archive. An object is stored as its class name (two-byte length, then
// the characters), its class's schema (four bytes), then whatever its Serialize writes; a null
// pointer is a zero length. Numbers are little-endian.
#include <cstring>
#include <memory>
#include <string>

#include <labarc/framework/archive.h>
#include <labarc/framework/exceptions.h>

inline namespace labarc_framework {

namespace {

constexpr std::size_t kMaxClassNameLength = 0xFFFF;

[[noreturn]] void ThrowArchive(const CArchive& ar, int cause) {
  const CFile* file = ar.GetFile();
  AfxThrowArchiveException(cause, file ? file->GetFilePath().GetString() : nullptr);
}

template <class T>
void WriteNumber(CArchive& ar, T value) {
  unsigned char bytes[sizeof(T)];
  for (std::size_t i = 0; i < sizeof(T); ++i)
    bytes[i] = static_cast<unsigned char>(value >> (8 * i));
  ar.Write(bytes, sizeof(T));
}

void ReadExactly(CArchive& ar, void* buffer, UINT count) {
  if (ar.Read(buffer, count) != count) ThrowArchive(ar, CArchiveException::endOfFile);
}

template <class T>
T ReadNumber(CArchive& ar) {
  unsigned char bytes[sizeof(T)];
  ReadExactly(ar, bytes, sizeof bytes);
  T value = 0;
  for (std::size_t i = 0; i < sizeof(T); ++i) value |= static_cast<T>(T{bytes[i]} << (8 * i));
  return value;
}

}  // namespace

void CArchive::WriteCount(DWORD count) { WriteNumber(*this, count); }

DWORD CArchive::ReadCount() { return ReadNumber<DWORD>(*this); }

void CArchive::WriteObject(const CObject* pOb) {
  if (IsLoading()) ThrowArchive(*this, CArchiveException::readOnly);
  if (!pOb) {
    WriteNumber(*this, WORD{0});
    return;
  }
  // Storing an object that ReadObject would refuse would only move the failure to loading.
  const CRuntimeClass* pClass = pOb->GetRuntimeClass();
  const std::size_t length = std::strlen(pClass->m_lpszClassName);
  if (length == 0 || length > kMaxClassNameLength || !pClass->m_pfnCreateObject ||
      CRuntimeClass::FromName(pClass->m_lpszClassName) != pClass)
    ThrowArchive(*this, CArchiveException::badClass);
  WriteNumber(*this, static_cast<WORD>(length));
  Write(pClass->m_lpszClassName, static_cast<UINT>(length));
  WriteNumber(*this, pClass->m_wSchema);
  // Serialize is not const, but a storing archive only reads the object.
  const_cast<CObject*>(pOb)->Serialize(*this);
}

CObject* CArchive::ReadObject(const CRuntimeClass* pClassRefRequested) {
  if (IsStoring()) ThrowArchive(*this, CArchiveException::writeOnly);
  const WORD length = ReadNumber<WORD>(*this);
  if (length == 0) return nullptr;
  std::string name(length, '\0');
  ReadExactly(*this, name.data(), length);
  // A NUL inside the name would otherwise match the registered name before it.
  const CRuntimeClass* pClass =
      name.find('\0') == std::string::npos ? CRuntimeClass::FromName(name.c_str()) : nullptr;
  if (!pClass || !pClass->m_pfnCreateObject ||
      (pClassRefRequested && !pClass->IsDerivedFrom(pClassRefRequested)))
    ThrowArchive(*this, CArchiveException::badClass);
  if (ReadNumber<UINT>(*this) != pClass->m_wSchema)
    ThrowArchive(*this, CArchiveException::badSchema);
  if (m_nObjectDepth >= MAX_OBJECT_DEPTH) ThrowArchive(*this, CArchiveException::genericException);
  std::unique_ptr<CObject> pOb(pClass->CreateObject());
  if (!pOb) AfxThrowMemoryException();
  // Counts this object as being read for as long as its Serialize runs, on every path.
  struct DepthGuard {
    int& depth;
    explicit DepthGuard(int& objectDepth) : depth(++objectDepth) {}
    ~DepthGuard() { --depth; }
  } guard(m_nObjectDepth);
  pOb->Serialize(*this);
  return pOb.release();
}

CArchive& operator<<(CArchive& ar, const CObject* pOb) {
  ar.WriteObject(pOb);
  return ar;
}

CArchive& operator>>(CArchive& ar, CObject*& pOb) {
  pOb = ar.ReadObject(nullptr);
  return ar;
}

}  // namespace labarc_framework
