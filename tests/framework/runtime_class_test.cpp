#include <memory>
#include <string>

#include "support/test_support.h"

namespace {

// A serial class of a host, stored in binary archives by its count.
class CCounter : public CObject {
  DECLARE_SERIAL(CCounter)

  void Serialize(CArchive& ar) override {
    if (ar.IsStoring())
      ar.WriteCount(m_nCount);
    else
      m_nCount = ar.ReadCount();
  }
  DWORD m_nCount = 0;
};
IMPLEMENT_SERIAL(CCounter, CObject, 7)

// Not a serial class: its objects could not be read back.
class CPlain : public CObject {};

std::string StoreObject(const CObject* pOb) {
  CMemFile file;
  CArchive ar(&file, CArchive::store);
  ar << pOb;
  ar.Flush();
  return std::string(file.Contents());
}

// Reads one object from `bytes`; returns the archive exception's cause, or 0 on success.
int LoadObject(const std::string& bytes, const CRuntimeClass* requested, CObject*& pOb) {
  CMemFile file(bytes);
  CArchive ar(&file, CArchive::load);
  try {
    pOb = ar.ReadObject(requested);
    return 0;
  } catch (CArchiveException* error) {
    const int cause = error->m_cause;
    error->Delete();
    return cause;
  }
}

TEST(RuntimeClass, RegistrationDerivationAndCreation) {
  const CRuntimeClass* record = &CCounter::classCCounter;
  AfxClassInit(&CCounter::classCCounter);  // a second registration must not loop the list
  EXPECT_EQ(CRuntimeClass::FromName("CCounter"), record);
  EXPECT_EQ(CRuntimeClass::FromName("ccounter"), nullptr);
  EXPECT_FALSE(record->IsDerivedFrom(CObArray::GetThisClass()));
  EXPECT_EQ(CObject::GetThisClass()->CreateObject(), nullptr);  // the root cannot be created
  std::unique_ptr<CObject> pOb(record->CreateObject());
  EXPECT_TRUE(pOb && pOb->IsKindOf(record) && pOb->IsKindOf(CObject::GetThisClass()));
}

TEST(BinaryObjects, RoundTripAndRefusals) {
  CCounter counter;
  counter.m_nCount = 123456;
  CObject* pOb = nullptr;
  ASSERT_EQ(LoadObject(StoreObject(&counter), &CCounter::classCCounter, pOb), 0);
  std::unique_ptr<CObject> owner(pOb);
  ASSERT_TRUE(pOb && pOb->IsKindOf(&CCounter::classCCounter));
  EXPECT_EQ(static_cast<CCounter*>(pOb)->m_nCount, 123456u);
  EXPECT_EQ(LoadObject(StoreObject(nullptr), nullptr, pOb), 0);
  EXPECT_EQ(pOb, nullptr);
  CPlain plain;
  EXPECT_EQ(labarc::testing::ThrownArchiveCause([&] { StoreObject(&plain); }),
            CArchiveException::badClass);
}

// Each damaged stream raises its archive exception and hands out no half-read object.
TEST(BinaryObjects, DamagedStreamsRaiseArchiveExceptions) {
  CCounter counter;
  const std::string good = StoreObject(&counter);
  CObArray pair;  // not owning: a failed load must delete the first counter it read
  pair.Add(&counter);
  pair.Add(&counter);
  const std::string pairBytes = StoreObject(&pair);
  pair.RemoveAll();
  const struct {
    std::string bytes;
    const CRuntimeClass* requested;
    int cause;
  } cases[] = {
      {good.substr(0, 2) + "CMissing" + good.substr(10), nullptr, CArchiveException::badClass},
      {good.substr(0, 6) + std::string("\0r", 2) + good.substr(8), nullptr,
       CArchiveException::badClass},
      {good, CObArray::GetThisClass(), CArchiveException::badClass},
      {good.substr(0, 10) + "\x08" + good.substr(11), nullptr, CArchiveException::badSchema},
      {good.substr(0, 5), nullptr, CArchiveException::endOfFile},
      {good.substr(0, good.size() - 1), nullptr, CArchiveException::endOfFile},
      {pairBytes.substr(0, pairBytes.size() - 1), nullptr, CArchiveException::endOfFile},
  };
  for (const auto& c : cases) {
    CObject* pOb = nullptr;
    EXPECT_EQ(LoadObject(c.bytes, c.requested, pOb), c.cause);
    EXPECT_EQ(pOb, nullptr);
  }
}

TEST(BinaryObjects, DeepNestingIsRefusedWithoutExhaustingTheStack) {
  // Arrays within arrays, each holding the next: far deeper than any document nests.
  const std::string level(
      "\x08\x00"
      "CObArray"
      "\x01\x00\x00\x00"
      "\x01\x00\x00\x00",
      18);
  std::string bytes;
  for (int i = 0; i < 20000; ++i) bytes += level;
  CObject* pOb = nullptr;
  EXPECT_EQ(LoadObject(bytes, nullptr, pOb), CArchiveException::genericException);
}

}  // namespace
