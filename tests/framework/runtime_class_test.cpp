#include "support/test_support.h"

namespace {
using namespace labarc::testing;

// A serial class of a host; it stores nothing beyond its class name and schema.
class CMark : public CObject {
  DECLARE_SERIAL(CMark)
};
IMPLEMENT_SERIAL(CMark, CObject, 7)
// A serial class whose creation fails, as it does without memory.
CObject* CreateNothing() { return nullptr; }
CRuntimeClass classCNull = {"CNull", 1, 7, CreateNothing, nullptr, nullptr};
const AFX_CLASSINIT initCNull(&classCNull);

std::string StoreObject(const CObject* pOb) {
  CMemFile file;
  CArchive ar(&file, CArchive::store);
  ar << pOb;
  ar.Flush();
  return std::string(file.Contents());
}

CObject* LoadObject(const std::string& bytes, const CRuntimeClass* requested = nullptr) {
  CMemFile file(bytes);
  CArchive ar(&file, CArchive::load);
  return ar.ReadObject(requested);
}

TEST(RuntimeClass, RegistrationIsByExactNameAndOnlyOnce) {
  AfxClassInit(&CMark::classCMark);  // a second registration must not loop the list
  EXPECT_EQ(CRuntimeClass::FromName("CMark"), &CMark::classCMark);
  EXPECT_EQ(CRuntimeClass::FromName("cmark"), nullptr);
}

TEST(ObArray, CheckedAccessAndResizing) {
  CObArray array, element;
  array.SetSize(2, 16);
  array.SetAt(1, &element);
  for (const std::function<void()>& refused : std::initializer_list<std::function<void()>>{
           [&] { array.GetAt(-1); }, [&] { array.GetAt(2); }, [&] { array.SetSize(-1); },
           [&] { array.RemoveAt(1, 2); }, [&] { array.RemoveAt(-1); }})
    EXPECT_TRUE(Raises<CInvalidArgException>(refused));
  ASSERT_EQ(array.GetSize(), 2);  // refused calls change nothing
  array.RemoveAt(0);
  EXPECT_EQ(array[0], &element);
  array.RemoveAt(0, 1);  // up to the end
  EXPECT_EQ(array.GetSize(), 0);
}

TEST(BinaryObjects, RoundTripAndDamagedStreams) {
  CMark mark;
  CObArray array;  // not owning: a failed load must delete the marks it has read
  array.Add(&mark);
  array.Add(nullptr);
  array.Add(&mark);
  const std::string good = StoreObject(&array);
  std::unique_ptr<CObject> pOb(LoadObject(good, CObArray::GetThisClass()));
  const auto* pLoaded = static_cast<const CObArray*>(pOb.get());
  ASSERT_EQ(pLoaded->GetSize(), 3);
  EXPECT_EQ(pLoaded->GetAt(1), nullptr);
  for (int i : {0, 2}) {
    std::unique_ptr<CObject> pMark(pLoaded->GetAt(i));
    EXPECT_TRUE(pMark && pMark->IsKindOf(&CMark::classCMark));
  }
  class CPlain : public CObject {
  } plain;  // not a serial class: it could not be read back
  EXPECT_EQ(ThrownArchiveCause([&] { StoreObject(&plain); }), CArchiveException::badClass);
  CMemFile file(good);
  CArchive ar(&file, CArchive::load);
  CMark* pTyped = nullptr;  // a class's extraction operator refuses any other class
  EXPECT_EQ(ThrownArchiveCause([&] { ar >> pTyped; }), CArchiveException::badClass);
  EXPECT_TRUE(
      Raises<CMemoryException>([] { LoadObject(std::string("\x05\0CNull\x07\0\0\0", 11)); }));

  // Each damaged stream (deep nesting too) raises its cause and hands out no half-read object.
  std::string deep;
  for (int i = 0; i < 20000; ++i) deep.append("\x08\0CObArray\x01\0\0\0\x01\0\0\0", 18);
  const std::pair<std::string, int> cases[] = {
      {good.substr(0, 2) + "CMissing" + good.substr(10), CArchiveException::badClass},
      {good.substr(0, 6) + std::string("\0r", 2) + good.substr(8), CArchiveException::badClass},
      {good.substr(0, 10) + "\x08" + good.substr(11), CArchiveException::badSchema},
      {good.substr(0, 5), CArchiveException::endOfFile},
      {good.substr(0, 14) + "\xFF\xFF\xFF\x7F", CArchiveException::endOfFile},
      {good.substr(0, good.size() - 1), CArchiveException::endOfFile},
      {deep, CArchiveException::genericException},
  };
  for (const auto& [bytes, cause] : cases) {
    CObject* pDamaged = nullptr;
    EXPECT_EQ(ThrownArchiveCause([&, &damaged = bytes] { pDamaged = LoadObject(damaged); }), cause);
    EXPECT_EQ(pDamaged, nullptr);
  }
}

}  // namespace
