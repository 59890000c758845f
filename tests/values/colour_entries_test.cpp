// Colours are stored as their red, green and blue components; the top byte is dropped.
#include "support/test_support.h"

namespace labarc::testing {
namespace {

TEST(ColourEntries, WriteRedGreenBlueAndReadBlankSeparatedComponents) {
  for (auto [colour, text] : {std::pair{0ul, "0 0 0"},
                              {RGB(255, 128, 0), "255 128 0"},
                              {0xFF000080ul, "128 0 0"},
                              {0xFFFFFFFFFFFFFFFFul, "255 255 255"}}) {
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

}  // namespace
}  // namespace labarc::testing
