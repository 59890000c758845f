#include <string>

#include "support/test_support.h"

namespace {

using namespace labarc::testing;

// A host class with a name and a count.
class CSample : public CObjectEx {
  DECLARE_SERIAL(CSample)

  void Serialize(CArchiveEx& ar) override {
    if (ar.IsStoring()) {
      ar.Write(m_strName, CString("Name"));
      ar.Write(m_nCount, CString("Count"));
    } else {
      ar.Read(m_strName, CString("Name"));
      ar.Read(m_nCount, CString("Count"));
    }
  }
  CString m_strName;
  int m_nCount = 0;
};
IMPLEMENT_SERIAL(CSample, CObjectEx, 1)

CRuntimeClass* const kSample = &CSample::classCSample;

void Fill(CObExArray& array, int count) {
  for (int i = 0; i < count; ++i) {
    auto* sample = new CSample;
    sample->m_strName.Format("sample %d", i);
    sample->m_nCount = i * 7 - 3;
    array.Add(sample);
  }
}

std::string Store(CObExArray& array, CRuntimeClass* pClass = kSample) {
  StoreArchive ar;
  EXPECT_EQ(array.Serialize(*ar, pClass), 1);
  return ar.Text();
}

TEST(ObExArrayText, StoresTheSectionAndEachElement) {
  CObExArray array;
  EXPECT_EQ(Store(array, CObjectEx::GetThisClass()), Lines({"", "[CObjectEx Array]", "Size=0"}));
  Fill(array, 2);
  EXPECT_EQ(Store(array), Lines({"", "[CSample Array]", "Size=2", "Name=sample 0", "Count=-3",
                                 "Name=sample 1", "Count=4"}));
}

class ObExArrayRoundTrip : public ::testing::TestWithParam<int> {};

TEST_P(ObExArrayRoundTrip, GivesTheSameElementsInOrder) {
  CObExArray original, loaded;
  Fill(original, GetParam());
  // After a section of the host's own, as in a document.
  LoadArchive ar(Lines({"[Document]", "Title=x"}) + Store(original), TRUE);
  ASSERT_EQ(loaded.Serialize(*ar, kSample), 1);
  ASSERT_EQ(loaded.GetSize(), GetParam());
  for (int i = 0; i < GetParam(); ++i) {
    const auto* pLoaded = dynamic_cast<CSample*>(loaded.GetAt(i));
    ASSERT_NE(pLoaded, nullptr);
    EXPECT_EQ(pLoaded->m_strName, static_cast<CSample*>(original.GetAt(i))->m_strName);
    EXPECT_EQ(pLoaded->m_nCount, static_cast<CSample*>(original.GetAt(i))->m_nCount);
  }
}

INSTANTIATE_TEST_SUITE_P(Sizes, ObExArrayRoundTrip, ::testing::Values(0, 1, 3, 10000));

// Loading into an array of four: the result in quiet mode, what the array then holds (-1: the
// four it had), and the failure reported in reporting mode.
TEST(ObExArrayText, DamagedSectionsFailAndKeepWhatWasRead) {
  const struct {
    std::string text;
    int result, elements;
    const char* reported;
  } cases[] = {
      {Lines({"", "[csample ARRAY]", "Size=1", "Name=a", "Count=1"}), 1, 1, nullptr},
      {Lines({"", "[Other Array]", "Size=0"}), 0, -1, "Entry: CSample Array"},
      {Lines({"", "[CSample Array]", "Count=2"}), 0, -1, "Entry: Size"},
      {Lines({"", "[CSample Array]", "Size=two"}), 0, -1, "Entry: Size"},
      {Lines({"", "[CSample Array]", "Size=99999999999"}), 0, -1, "Entry: Size"},
      {Lines({"", "[CSample Array]", "Size=3", "Name=a", "Count=1"}), 0, 1, "element 1 of 3"},
      {Lines({"", "[CSample Array]", "Size=2000000000", "Name=a", "Count=1"}), 0, 1,
       "element 1 of 2000000000"},
  };
  for (const auto& c : cases) {
    CObExArray array;
    Fill(array, 4);
    LoadArchive quiet(c.text);
    EXPECT_EQ(array.Serialize(*quiet, kSample), c.result) << c.text;
    EXPECT_EQ(array.GetSize(), c.elements < 0 ? 4 : c.elements) << c.text;
    if (!c.reported) continue;
    ReportRecorder boxes;
    LoadArchive reporting(c.text, TRUE);
    EXPECT_EQ(ThrownArchiveCause([&] { array.Serialize(*reporting, kSample); }),
              CArchiveException::badIndex);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_NE(boxes.boxes[0].text.find(c.reported), std::string::npos) << boxes.boxes[0].text;
  }
}

TEST(ObExArrayText, NegativeCountAndUnfitClassesRaiseFrameworkExceptions) {
  CObExArray array;
  Fill(array, 1);
  LoadArchive negative(Lines({"", "[CSample Array]", "Size=-1"}));
  EXPECT_TRUE(Raises<CInvalidArgException>([&] { array.Serialize(*negative, kSample); }));
  EXPECT_EQ(array.GetSize(), 1);

  LoadArchive any(Lines({"", "[CSample Array]", "Size=1", "Name=a"}));
  EXPECT_TRUE(Raises<CInvalidArgException>([&] { array.Serialize(*any, nullptr); }));
  EXPECT_TRUE(
      Raises<CInvalidArgException>([&] { array.Serialize(*any, CObArray::GetThisClass()); }));
  CRuntimeClass noCreation = *kSample;
  noCreation.m_pfnCreateObject = nullptr;
  EXPECT_TRUE(Raises<CMemoryException>([&] { array.Serialize(*any, &noCreation); }));
}

TEST(ObExArrayText, NullSlotIsRefusedBeforeWriting) {
  CObExArray array;
  Fill(array, 3);
  delete array.GetAt(1);
  array.SetAt(1, nullptr);
  StoreArchive quiet;
  EXPECT_EQ(array.Serialize(*quiet, kSample), 0);
  EXPECT_EQ(quiet.Text(), "");
  ReportRecorder boxes;
  StoreArchive reporting(TRUE);
  ThrownArchiveCause([&] { array.Serialize(*reporting, kSample); });
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_NE(boxes.boxes[0].text.find("CSample Array, element 1 of 3"), std::string::npos);

  array.Clean();  // skips the null slot
  EXPECT_EQ(array.GetAt(0), nullptr);
}

TEST(ObExArrayBinary, ExtractionOperatorsReadTheirOwnClass) {
  CObExArray array;
  Fill(array, 3);
  CMemFile file;
  {
    CArchive ar(&file, CArchive::store);
    ar << &array << array.GetAt(2) << array.GetAt(2);
  }
  CMemFile input(file.Contents());
  CArchive ar(&input, CArchive::load);
  CObExArray* pArray = nullptr;
  CObjectEx* pElement = nullptr;
  ar >> pArray >> pElement;
  std::unique_ptr<CObject> owner(pArray), ownerToo(pElement);
  ASSERT_TRUE(pArray && pElement && pElement->IsKindOf(kSample));
  EXPECT_EQ(pArray->GetSize(), 3);
  // The last object is a CSample, which is no CObExArray.
  EXPECT_EQ(ThrownArchiveCause([&] { ar >> pArray; }), CArchiveException::badClass);
}

}  // namespace
