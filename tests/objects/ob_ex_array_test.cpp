#include <string>

#include "support/test_support.h"

namespace {

using labarc::testing::Lines;
using labarc::testing::LoadArchive;
using labarc::testing::Raises;
using labarc::testing::ReportRecorder;
using labarc::testing::StoreArchive;
using labarc::testing::ThrownArchiveCause;

// A host class: a name and a count in the text archive, the count alone in binary archives.
class CSample : public CObjectEx {
  DECLARE_SERIAL(CSample)

  CSample() = default;
  CSample(const char* name, int count) : m_strName(name), m_nCount(count) {}

  void Serialize(CArchive& ar) override {
    if (ar.IsStoring())
      ar.WriteCount(static_cast<DWORD>(m_nCount));
    else
      m_nCount = static_cast<int>(ar.ReadCount());
  }
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

void Fill(CObExArray& array, int count) {
  for (int i = 0; i < count; ++i) {
    CString name;
    name.Format("sample %d", i);
    array.Add(new CSample(name, i * 7 - 3));
  }
}

std::string Store(CObExArray& array, CRuntimeClass* pClass = &CSample::classCSample) {
  StoreArchive ar;
  EXPECT_EQ(array.Serialize(*ar, pClass), 1);
  return ar.Text();
}

const std::string kTwoSamples = Lines(
    {"", "[CSample Array]", "Size=2", "Name=sample 0", "Count=-3", "Name=sample 1", "Count=4"});

TEST(ObExArrayText, StoresTheSectionAndEachElement) {
  CObExArray array;
  EXPECT_EQ(Store(array, CObjectEx::GetThisClass()), Lines({"", "[CObjectEx Array]", "Size=0"}));
  Fill(array, 2);
  EXPECT_EQ(Store(array), kTwoSamples);
}

class ObExArrayRoundTrip : public ::testing::TestWithParam<int> {};

TEST_P(ObExArrayRoundTrip, GivesTheSameElementsInOrder) {
  CObExArray original;
  Fill(original, GetParam());
  // Something before the section, as a host's own entries would be.
  const std::string text = Lines({"[Document]", "Title=x"}) + Store(original);
  CObExArray loaded;
  LoadArchive ar(text, TRUE);
  ASSERT_EQ(loaded.Serialize(*ar, &CSample::classCSample), 1);
  ASSERT_EQ(loaded.GetSize(), GetParam());
  for (int i = 0; i < GetParam(); ++i) {
    const auto* pLoaded = dynamic_cast<CSample*>(loaded.GetAt(i));
    const auto* pOriginal = static_cast<CSample*>(original.GetAt(i));
    ASSERT_NE(pLoaded, nullptr);
    EXPECT_EQ(pLoaded->m_strName, pOriginal->m_strName);
    EXPECT_EQ(pLoaded->m_nCount, pOriginal->m_nCount);
  }
}

INSTANTIATE_TEST_SUITE_P(Sizes, ObExArrayRoundTrip, ::testing::Values(0, 1, 3, 10000));

TEST(ObExArrayText, SectionSearchIgnoresCase) {
  std::string text = kTwoSamples;
  text.replace(text.find("CSample Array"), 13, "csample ARRAY");
  CObExArray array;
  LoadArchive ar(text);
  EXPECT_EQ(array.Serialize(*ar, &CSample::classCSample), 1);
  EXPECT_EQ(array.GetSize(), 2);
}

// Damaged sections: the result in quiet mode, and the elements the array then holds.
TEST(ObExArrayText, DamagedSectionsFailAndKeepWhatWasRead) {
  const struct {
    const char* what;
    std::string text;
    int elements;  // -1: the array keeps its previous contents
  } cases[] = {
      {"no section", Lines({"", "[Other Array]", "Size=0"}), -1},
      {"no Size", Lines({"", "[CSample Array]", "Count=2"}), -1},
      {"Size not a number", Lines({"", "[CSample Array]", "Size=two"}), -1},
      {"Size beyond int", Lines({"", "[CSample Array]", "Size=99999999999"}), -1},
      {"fewer than announced", Lines({"", "[CSample Array]", "Size=3", "Name=a", "Count=1"}), 1},
      {"huge count", Lines({"", "[CSample Array]", "Size=2000000000", "Name=a", "Count=1"}), 1},
  };
  for (const auto& c : cases) {
    CObExArray array;
    Fill(array, 4);
    LoadArchive quiet(c.text);
    EXPECT_EQ(array.Serialize(*quiet, &CSample::classCSample), 0) << c.what;
    EXPECT_EQ(array.GetSize(), c.elements < 0 ? 4 : c.elements) << c.what;

    ReportRecorder boxes;
    LoadArchive reporting(c.text, TRUE);
    EXPECT_EQ(ThrownArchiveCause([&] { array.Serialize(*reporting, &CSample::classCSample); }),
              CArchiveException::badIndex)
        << c.what;
  }
}

TEST(ObExArrayText, ExhaustionNamesTheMissingElement) {
  ReportRecorder boxes;
  CObExArray array;
  LoadArchive ar(Lines({"", "[CSample Array]", "Size=2", "Name=a", "Count=1"}), TRUE);
  ThrownArchiveCause([&] { array.Serialize(*ar, &CSample::classCSample); });
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_NE(boxes.boxes[0].text.find("CSample Array, element 1 of 2"), std::string::npos);
  EXPECT_EQ(array.GetSize(), 1);
}

TEST(ObExArrayText, NegativeCountAndUnfitClassesRaiseFrameworkExceptions) {
  CObExArray array;
  Fill(array, 1);
  LoadArchive negative(Lines({"", "[CSample Array]", "Size=-1"}));
  EXPECT_TRUE(
      Raises<CInvalidArgException>([&] { array.Serialize(*negative, &CSample::classCSample); }));
  EXPECT_EQ(array.GetSize(), 1);

  LoadArchive any(kTwoSamples);
  EXPECT_TRUE(Raises<CInvalidArgException>([&] { array.Serialize(*any, nullptr); }));
  EXPECT_TRUE(
      Raises<CInvalidArgException>([&] { array.Serialize(*any, CObArray::GetThisClass()); }));

  CRuntimeClass noCreation = {"CSample", sizeof(CSample),          1,
                              nullptr,   &CObjectEx::GetThisClass, nullptr};
  EXPECT_TRUE(Raises<CMemoryException>([&] { array.Serialize(*any, &noCreation); }));
  EXPECT_EQ(array.GetSize(), 0);
}

TEST(ObExArrayText, NullSlotIsRefusedBeforeWriting) {
  CObExArray array;
  Fill(array, 3);
  delete array.GetAt(1);
  array.SetAt(1, nullptr);
  StoreArchive quiet;
  EXPECT_EQ(array.Serialize(*quiet, &CSample::classCSample), 0);
  EXPECT_EQ(quiet.Text(), "");

  ReportRecorder boxes;
  StoreArchive reporting(TRUE);
  ThrownArchiveCause([&] { array.Serialize(*reporting, &CSample::classCSample); });
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_NE(boxes.boxes[0].text.find("element 1 of 3"), std::string::npos);

  array.Clean();  // skips the null slot
  EXPECT_EQ(array.GetSize(), 0);
  array.Clean();
  EXPECT_EQ(array.GetAt(0), nullptr);
  EXPECT_TRUE(Raises<CInvalidArgException>([&] { array.GetAt(-1); }));
}

TEST(ObExArrayBinary, ExtractionOperatorsReadTheirOwnClass) {
  CObExArray array;
  Fill(array, 3);
  CMemFile file;
  {
    CArchive ar(&file, CArchive::store);
    ar << &array << array.GetAt(2);
  }
  CMemFile input(file.Contents());
  CArchive ar(&input, CArchive::load);
  CObExArray* pArray = nullptr;
  CObjectEx* pElement = nullptr;
  ar >> pArray >> pElement;
  ASSERT_TRUE(pArray && pElement);
  ASSERT_EQ(pArray->GetSize(), 3);
  EXPECT_EQ(static_cast<CSample*>(pArray->GetAt(1))->m_nCount, 4);
  EXPECT_EQ(static_cast<CSample*>(pElement)->m_nCount, 11);
  delete pArray;
  delete pElement;

  // The element stream holds a CSample, which is no CObExArray.
  CMemFile again(file.Contents().substr(file.Contents().find("CSample", 20) - 2));
  CArchive wrong(&again, CArchive::load);
  EXPECT_EQ(ThrownArchiveCause([&] { wrong >> pArray; }), CArchiveException::badClass);
}

}  // namespace
