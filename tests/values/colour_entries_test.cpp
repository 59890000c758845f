// Colours are stored as their red, green and blue components; the top byte of a 32-bit colour is
// dropped, and a wider value is refused.
#include "support/test_support.h"

namespace labarc::testing {
namespace {

TEST(ColourEntries, WriteRedGreenBlueAndReadBlankSeparatedComponents) {
  for (auto [colour, text] : {std::pair{0ul, "0 0 0"},
                              {RGB(255, 128, 0), "255 128 0"},
                              {0xFF000080ul, "128 0 0"},
                              {0x12345678ul, "120 86 52"},
                              {0xFFFFFFFFul, "255 255 255"}}) {
    StoreArchive ar;
    ASSERT_EQ(ar->Write(colour, CString("Color")), 1);
    EXPECT_EQ(ar.Text(), Lines({std::string("Color=") + text}));
  }
  for (auto [text, expected] : {std::pair{"128 0 0", RGB(128, 0, 0)},
                                {"  10   20  30 ", RGB(10, 20, 30)},
                                {"10 20 30 40", RGB(10, 20, 30)},
                                {"007 08 9", RGB(7, 8, 9)}}) {
    LoadArchive ar(Lines({std::string("Color=") + text}));
    unsigned long colour = 0xDEADBEEF;
    ASSERT_EQ(ar->Read(colour, CString("color")), 1);
    EXPECT_EQ(colour, expected) << text;
  }
}

// unsigned long is 64 bits here, so a size_t binds to the colour entry: a value that needs more
// than 32 bits must not be stored as a colour that reads back as another number.
TEST(ColourEntries, ValuesWiderThan32BitsAreRefusedAndNothingIsWritten) {
  for (const unsigned long wide : {0x100000000ul, 0x1234567812345678ul, 0xFFFFFFFFFFFFFFFFul}) {
    StoreArchive quiet;
    EXPECT_EQ(quiet->Write(wide, CString("Color")), 0);
    EXPECT_EQ(quiet.Text(), "");

    ReportRecorder reports;
    StoreArchive reporting(1);
    reporting->Write(1, CString("Before"));
    EXPECT_EQ(ThrownArchiveCause([&] { reporting->Write(wide, CString("Color")); }),
              CArchiveException::badIndex);
    EXPECT_EQ(reporting.Text(), Lines({"Before=1"}));
    ASSERT_EQ(reports.boxes.size(), 1u);
    EXPECT_NE(reports.boxes[0].text.find("Section/Entry: Color"), std::string::npos);
  }
}

}  // namespace
}  // namespace labarc::testing
