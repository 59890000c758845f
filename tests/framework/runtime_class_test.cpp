#include <gtest/gtest.h>

#include <string>

#include "labarc.h"

namespace {

// A serial class of a host, stored in binary archives by its count field.
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

// Serial in its declaration, but deliberately never registered nor creatable.
class CUnlisted : public CObject {
 public:
  static CRuntimeClass classCUnlisted;
  CRuntimeClass* GetRuntimeClass() const override { return &classCUnlisted; }
};
CRuntimeClass CUnlisted::classCUnlisted = {"CUnlisted", sizeof(CUnlisted),      1,
                                           nullptr,     &CObject::GetThisClass, nullptr};

std::string StoreObject(const CObject* pOb) {
  CMemFile file;
  {
    CArchive ar(&file, CArchive::store);
    ar << pOb;
  }
  return std::string(file.Contents());
}

// Reads one object from `bytes`; returns the archive exception's cause, or 0 on success.
int LoadObject(const std::string& bytes, const CRuntimeClass* requested, CObject*& pOb) {
  CMemFile file(bytes);
  CArchive ar(&file, CArchive::load);
  try {
    pOb = ar.ReadObject(requested);
  } catch (CArchiveException* error) {
    const int cause = error->m_cause;
    error->Delete();
    return cause;
  }
  return 0;
}

TEST(RuntimeClass, RecordsAreRegisteredByExactName) {
  EXPECT_EQ(CRuntimeClass::FromName("CObject"), CObject::GetThisClass());
  EXPECT_EQ(CRuntimeClass::FromName("CObArray"), CObArray::GetThisClass());
  EXPECT_EQ(CRuntimeClass::FromName("CCounter"), &CCounter::classCCounter);
  EXPECT_EQ(CRuntimeClass::FromName("ccounter"), nullptr);
  EXPECT_EQ(CRuntimeClass::FromName("CUnlisted"), nullptr);
  AfxClassInit(&CCounter::classCCounter);  // a second registration must not loop the list
  EXPECT_EQ(CRuntimeClass::FromName("CNothing"), nullptr);
}

TEST(RuntimeClass, DerivationAndCreation) {
  const CRuntimeClass& record = CCounter::classCCounter;
  EXPECT_EQ(record.m_nObjectSize, static_cast<int>(sizeof(CCounter)));
  EXPECT_EQ(record.m_wSchema, 7u);
  EXPECT_TRUE(record.IsDerivedFrom(CObject::GetThisClass()));
  EXPECT_FALSE(record.IsDerivedFrom(CObArray::GetThisClass()));
  EXPECT_FALSE(CObject::GetThisClass()->IsDerivedFrom(&record));
  EXPECT_EQ(CObject::GetThisClass()->CreateObject(), nullptr);  // the root cannot be created
  CObject* pOb = record.CreateObject();
  ASSERT_NE(pOb, nullptr);
  EXPECT_TRUE(pOb->IsKindOf(&record));
  EXPECT_TRUE(pOb->IsKindOf(CObject::GetThisClass()));
  delete pOb;
}

TEST(BinaryObjects, RoundTripKeepsClassAndData) {
  CCounter counter;
  counter.m_nCount = 123456;
  CObject* pOb = nullptr;
  ASSERT_EQ(LoadObject(StoreObject(&counter), &CCounter::classCCounter, pOb), 0);
  ASSERT_TRUE(pOb && pOb->IsKindOf(&CCounter::classCCounter));
  EXPECT_EQ(static_cast<CCounter*>(pOb)->m_nCount, 123456u);
  delete pOb;
  pOb = &counter;
  EXPECT_EQ(LoadObject(StoreObject(nullptr), nullptr, pOb), 0);
  EXPECT_EQ(pOb, nullptr);
}

TEST(BinaryObjects, DamagedStreamsRaiseArchiveExceptions) {
  CCounter counter;
  const std::string good = StoreObject(&counter);
  std::string unknown = good;
  unknown.replace(2, 8, "CMissing");
  std::string embeddedNul = good;
  embeddedNul.replace(6, 2, std::string("\0r", 2));
  std::string otherSchema = good;
  otherSchema[10] = 8;
  const struct {
    std::string bytes;
    const CRuntimeClass* requested;
    int cause;
  } cases[] = {
      {unknown, nullptr, CArchiveException::badClass},
      {embeddedNul, nullptr, CArchiveException::badClass},
      {good, CObArray::GetThisClass(), CArchiveException::badClass},
      {otherSchema, nullptr, CArchiveException::badSchema},
      {good.substr(0, 5), nullptr, CArchiveException::endOfFile},
      {good.substr(0, good.size() - 1), nullptr, CArchiveException::endOfFile},
  };
  for (const auto& c : cases) {
    CObject* pOb = nullptr;
    EXPECT_EQ(LoadObject(c.bytes, c.requested, pOb), c.cause);
    EXPECT_EQ(pOb, nullptr);  // a half-read object is deleted, not handed out
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
  // Ten levels, the innermost empty, are read.
  bytes.resize(level.size() * 10);
  bytes.replace(bytes.size() - 4, 4, std::string(4, '\0'));
  ASSERT_EQ(LoadObject(bytes, nullptr, pOb), 0);
  int depth = 0;
  while (auto* array = static_cast<CObArray*>(pOb)) {  // the arrays do not own their elements
    pOb = array->IsEmpty() ? nullptr : array->GetAt(0);
    delete array;
    ++depth;
  }
  EXPECT_EQ(depth, 10);
}

TEST(BinaryObjects, FailedArrayLoadDeletesWhatItRead) {
  CCounter first, second;
  CObArray array;
  array.Add(&first);
  array.Add(&second);
  const std::string bytes = StoreObject(&array);
  CObject* pOb = nullptr;  // the first counter is read, the second is cut off
  EXPECT_EQ(LoadObject(bytes.substr(0, bytes.size() - 2), nullptr, pOb),
            CArchiveException::endOfFile);
  array.RemoveAll();
}

TEST(BinaryObjects, ObjectsThatCouldNotBeReadBackAreNotStored) {
  CUnlisted unlisted;
  CMemFile file;
  CArchive ar(&file, CArchive::store);
  try {
    ar.WriteObject(&unlisted);
    ADD_FAILURE() << "stored an unregistered class";
  } catch (CArchiveException* error) {
    EXPECT_EQ(error->m_cause, CArchiveException::badClass);
    error->Delete();
  }
}

}  // namespace
