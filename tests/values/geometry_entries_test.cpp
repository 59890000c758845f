#include <bit>
#include <cmath>
#include <limits>

#include "support/test_support.h"

namespace labarc::testing {
namespace {

TEST(GeometryEntriesTest, TextsAreTheNumbersInFieldOrder) {
  StoreArchive store;
  CRect rect(-5, 0, 100, 50);
  CSize size(INT32_MIN, INT32_MAX);
  POINT point{7, -8};
  DPOINT dpoint{2.75, -3.5};
  ASSERT_EQ(store->Write(rect, CString("Position")), 1);
  ASSERT_EQ(store->Write(size, CString("Size")), 1);
  ASSERT_EQ(store->Write(point, nullptr), 1);
  ASSERT_EQ(store->Write(dpoint, CString("At")), 1);
  EXPECT_EQ(store.Text(),
            Lines({"Position=-5 0 100 50", "Size=-2147483648 2147483647", "7 -8", "At=2.75 -3.5"}));
}

TEST(GeometryEntriesTest, ReadsRunsOfBlanksAndIgnoresExtraPieces) {
  LoadArchive load(
      Lines({"R=  -5   0 100  50  ", "S=  7   8  ", "P=7 8 9", "D=2 -3", "D=0.1 1e300 x"}));
  CRect rect;
  CSize size;
  POINT point{};
  DPOINT dpoint{};
  ASSERT_EQ(load->Read(rect, CString("R")), 1);
  ASSERT_EQ(load->Read(size, CString("S")), 1);
  ASSERT_EQ(load->Read(point, CString("P")), 1);
  EXPECT_EQ(rect, CRect(-5, 0, 100, 50));
  EXPECT_EQ(size, CSize(7, 8));
  EXPECT_EQ(point, (POINT{7, 8}));
  ASSERT_EQ(load->Read(dpoint, CString("D")), 1);  // the integer text of older files
  EXPECT_EQ(dpoint.x, 2);
  EXPECT_EQ(dpoint.y, -3);
  ASSERT_EQ(load->Read(dpoint, CString("D")), 1);
  EXPECT_EQ(dpoint.x, 0.1);
  EXPECT_EQ(dpoint.y, 1e300);
}

// Writing a double point used to truncate each coordinate to an integer.
TEST(GeometryEntriesTest, DoublePointsRoundTripExactly) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  for (DPOINT original :
       {DPOINT{2.75, -3.5}, DPOINT{0.1, -0.0}, DPOINT{1e-310, 1.7976931348623157e308},
        DPOINT{nan, -HUGE_VAL}, DPOINT{-1e10, 3e9}}) {
    StoreArchive store;
    ASSERT_EQ(store->Write(original, CString("At")), 1);
    LoadArchive load(store.Text());
    DPOINT read{};
    ASSERT_EQ(load->Read(read, CString("At")), 1);
    EXPECT_EQ(std::bit_cast<std::uint64_t>(read.x), std::bit_cast<std::uint64_t>(original.x));
    EXPECT_EQ(std::bit_cast<std::uint64_t>(read.y), std::bit_cast<std::uint64_t>(original.y));
  }
}

TEST(GeometryEntriesTest, BadTextsNameTheLabelAndChangeNothing) {
  for (const char* value : {"1 2 3", "", "   ", "1\t2 3 4", "1 2 3 x", "1 2 3 4x", "1,2,3,4",
                            "1 2 3 2147483648", "1 2 3 -9223372036854775808", "+1 2 3 4"}) {
    ReportRecorder recorder;
    LoadArchive load(Lines({std::string("Bounds=") + value}), 1);
    CRect rect(9, 9, 9, 9);
    EXPECT_EQ(ThrownArchiveCause([&] { load->Read(rect, CString("Bounds")); }), 5) << value;
    EXPECT_EQ(rect, CRect(9, 9, 9, 9)) << value;
    ASSERT_EQ(recorder.boxes.size(), 1u);
    EXPECT_NE(recorder.boxes[0].text.find("line 1!\n"), std::string::npos);
    EXPECT_NE(recorder.boxes[0].text.find("Section/Entry: Bounds"), std::string::npos);
  }
  LoadArchive load(Lines({"7,8", "2.5 x"}));
  POINT point{1, 1};
  DPOINT dpoint{1, 1};
  EXPECT_EQ(load->Read(point, nullptr), 0);
  EXPECT_EQ(load->Read(dpoint, nullptr), 0);
  EXPECT_EQ(point, (POINT{1, 1}));
  EXPECT_EQ(dpoint.x, 1);
}

}  // namespace
}  // namespace labarc::testing
