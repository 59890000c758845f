#include "support/test_support.h"

namespace labarc::testing {
namespace {

struct ColourText {
  unsigned long colour;
  const char* text;
};

class ColourWriteTest : public ::testing::TestWithParam<ColourText> {};

TEST_P(ColourWriteTest, WritesRedGreenBlueAndDropsTheTopByte) {
  StoreArchive ar;
  ASSERT_EQ(ar->Write(GetParam().colour, CString("Color")), 1);
  EXPECT_EQ(ar.Text(), Lines({std::string("Color=") + GetParam().text}));
}

INSTANTIATE_TEST_SUITE_P(Colours, ColourWriteTest,
                         ::testing::Values(ColourText{0, "0 0 0"},
                                           ColourText{RGB(255, 255, 255), "255 255 255"},
                                           ColourText{RGB(255, 128, 0), "255 128 0"},
                                           ColourText{0xFF000080UL, "128 0 0"},
                                           ColourText{0xFFFFFFFFFFFFFFFFUL, "255 255 255"}));

struct ColourRead {
  const char* text;
  unsigned long expected;
};

class ColourReadTest : public ::testing::TestWithParam<ColourRead> {};

TEST_P(ColourReadTest, AcceptsBlankSeparatedComponents) {
  LoadArchive ar(Lines({std::string("Color=") + GetParam().text}));
  unsigned long colour = 0xDEADBEEF;
  ASSERT_EQ(ar->Read(colour, CString("color")), 1);
  EXPECT_EQ(colour, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Texts, ColourReadTest,
                         ::testing::Values(ColourRead{"128 0 0", RGB(128, 0, 0)},
                                           ColourRead{"  10   20  30 ", RGB(10, 20, 30)},
                                           ColourRead{"10 20 30 40", RGB(10, 20, 30)},
                                           ColourRead{"0 0 0", 0},
                                           ColourRead{"007 08 9", RGB(7, 8, 9)}));

class ColourRefusedTest : public ::testing::TestWithParam<const char*> {};

TEST_P(ColourRefusedTest, FailsNamingTheLabelAndKeepsTheColour) {
  ReportRecorder reports;
  LoadArchive ar(Lines({std::string("Color=") + GetParam(), "Next=1"}), 1);
  unsigned long colour = RGB(1, 2, 3);
  EXPECT_EQ(ThrownArchiveCause([&] { ar->Read(colour, CString("Color")); }),
            CArchiveException::badIndex);
  EXPECT_EQ(colour, RGB(1, 2, 3));
  ASSERT_EQ(reports.boxes.size(), 1u);
  EXPECT_NE(reports.boxes[0].text.find("line 1!"), std::string::npos);
  EXPECT_NE(reports.boxes[0].text.find("Section/Entry: Color"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(BadTexts, ColourRefusedTest,
                         ::testing::Values("", "10 20", "10,20,30", "10\t20\t30", "-1 0 0",
                                           "+5 0 0", "256 0 0", "1 2 3\x80", "a b c", "   ",
                                           "99999999999999999999 0 0"));

TEST(ColourEntry, WithoutLabelReportsNoEntryName) {
  ReportRecorder reports;
  LoadArchive ar(Lines({"1 2"}), 1);
  unsigned long colour = 7;
  ThrownArchiveCause([&] { ar->Read(colour, static_cast<CString*>(nullptr)); });
  ASSERT_EQ(reports.boxes.size(), 1u);
  EXPECT_EQ(reports.boxes[0].text.find("Section/Entry"), std::string::npos);
  EXPECT_EQ(colour, 7u);
}

}  // namespace
}  // namespace labarc::testing
