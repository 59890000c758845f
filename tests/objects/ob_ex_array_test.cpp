#include <string>
#include <tuple>

#include "support/test_support.h"

namespace {

using namespace labarc::testing;

class CSample : public CObjectEx {
  DECLARE_SERIAL(CSample)

  explicit CSample(int count = 0) : m_nCount(count) {}
  void Serialize(CArchiveEx& ar) override {
    ar.IsStoring() ? ar.Write(m_nCount, CString("Count")) : ar.Read(m_nCount, CString("Count"));
  }
  int m_nCount;
};
IMPLEMENT_SERIAL(CSample, CObjectEx, 1)

CRuntimeClass* const kSample = &CSample::classCSample;

void Fill(CObExArray& array, int count) {
  for (int i = 0; i < count; ++i) array.Add(new CSample(i * 7 - 3));
}

std::string Store(CObExArray& array, CRuntimeClass* pClass = kSample) {
  StoreArchive ar;
  EXPECT_EQ(array.Serialize(*ar, pClass), 1);
  return ar.Text();
}

TEST(ObExArrayTest, StoresItsSectionAndReadsTheElementsBackInOrder) {
  CObExArray stored, loaded;
  EXPECT_EQ(Store(stored, CObjectEx::GetThisClass()), Lines({"", "[CObjectEx Array]", "Size=0"}));
  Fill(stored, 2);
  EXPECT_EQ(Store(stored), Lines({"", "[CSample Array]", "Size=2", "Count=-3", "Count=4"}));
  for (int size : {0, 1, 3, 10000}) {
    stored.Clean();
    Fill(stored, size);
    Fill(loaded, 2);
    // After a section of the host's own, as in a document.
    LoadArchive ar(Lines({"[Document]", "Title=x"}) + Store(stored), TRUE);
    ASSERT_EQ(loaded.Serialize(*ar, kSample), 1);
    ASSERT_EQ(loaded.GetSize(), size);
    for (int i = 0; i < size; ++i)
      EXPECT_EQ(static_cast<CSample*>(loaded.GetAt(i))->m_nCount, i * 7 - 3);
  }
  // Elements without entries load even at the end of the file.
  CObExArray bare;
  for (int i = 0; i < 3; ++i) bare.Add(new CObjectEx);
  LoadArchive ar(Store(bare, CObjectEx::GetThisClass()));
  EXPECT_EQ(loaded.Serialize(*ar, CObjectEx::GetThisClass()), 1);
  EXPECT_EQ(loaded.GetSize(), 3);
}

// Loading into an array of four fails in quiet mode and with a report; the array then holds
// the elements read (-1: the four it had).
TEST(ObExArrayTest, DamagedSectionsFailAndKeepWhatWasRead) {
  using Case = std::tuple<std::string, int, const char*>;  // text, elements kept, entry reported
  for (const auto& [text, elements, reported] :
       {Case{Lines({"", "[CSample Array]", "Size=99999999999"}), -1, "Entry: Size"},
        Case{Lines({"", "[Other Array]", "Size=1"}), -1, "Entry: CSample Array"},
        // The element that runs into the end reports its own entry; quietly, the array names it.
        Case{Lines({"", "[CSample Array]", "Size=2000000000", "Count=1"}), 2, "Entry: Count"}}) {
    SCOPED_TRACE(text);
    CObExArray array;
    Fill(array, 4);
    LoadArchive quiet(text), reporting(text, TRUE);
    EXPECT_EQ(array.Serialize(*quiet, kSample), 0);
    EXPECT_EQ(array.GetSize(), elements < 0 ? 4 : elements);
    ReportRecorder boxes;
    EXPECT_EQ(ThrownArchiveCause([&] { array.Serialize(*reporting, kSample); }),
              CArchiveException::badIndex);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_NE(boxes.boxes[0].text.find(reported), std::string::npos) << boxes.boxes[0].text;
  }
}

TEST(ObExArrayTest, MisuseRaisesFrameworkExceptionsOrIsRefusedBeforeWriting) {
  CObExArray array;
  Fill(array, 1);
  LoadArchive negative(Lines({"", "[CSample Array]", "Size=-1"}));
  EXPECT_TRUE(Raises<CInvalidArgException>([&] { array.Serialize(*negative, kSample); }));
  EXPECT_EQ(array.GetSize(), 1);
  LoadArchive any(Lines({"", "[CSample Array]", "Size=1"}));
  for (CRuntimeClass* unfit : {static_cast<CRuntimeClass*>(nullptr), CObArray::GetThisClass()})
    EXPECT_TRUE(Raises<CInvalidArgException>([&] { array.Serialize(*any, unfit); }));
  CRuntimeClass noCreation = *kSample;
  noCreation.m_pfnCreateObject = nullptr;
  EXPECT_TRUE(Raises<CMemoryException>([&] { array.Serialize(*any, &noCreation); }));

  array.Clean();
  Fill(array, 3);
  delete array.GetAt(1);
  array.SetAt(1, nullptr);  // the destructor's Clean must skip it
  ReportRecorder boxes;
  StoreArchive ar(TRUE);
  ThrownArchiveCause([&] { array.Serialize(*ar, kSample); });
  EXPECT_EQ(ar.Text(), "");
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_NE(boxes.boxes[0].text.find("CSample Array, element 1 of 3"), std::string::npos);
}

}  // namespace
