#include <cmath>
#include <limits>

#include "support/all_or_nothing.h"

namespace labarc::testing {
namespace {

// Double points used to be written with each coordinate truncated to an integer.
TEST(GeometryEntriesTest, DoublePointsRoundTripExactly) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  for (DPOINT original : {DPOINT{2.75, -3.5}, DPOINT{0.1, -0.0}, DPOINT{nan, -HUGE_VAL},
                          DPOINT{1e-310, 1.7976931348623157e308}, DPOINT{-1e10, 3e9}}) {
    StoreArchive store;
    ASSERT_EQ(store->Write(original, CString("At")), 1);
    LoadArchive load(store.Text());
    DPOINT read{};
    ASSERT_EQ(load->Read(read, CString("At")), 1);
    EXPECT_TRUE(SameValue(read, original));
  }
  LoadArchive old(Lines({"At=  2   -3  9"}));  // older files: integers; runs of blanks
  DPOINT read{};
  ASSERT_EQ(old->Read(read, CString("At")), 1);
  EXPECT_TRUE(SameValue(read, DPOINT{2, -3}));
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
    EXPECT_NE(recorder.boxes[0].text.find("line 1!\nFile Name: /documents/load.txt\n"
                                          "Section/Entry: Bounds"),
              std::string::npos);
  }
}

}  // namespace
}  // namespace labarc::testing
