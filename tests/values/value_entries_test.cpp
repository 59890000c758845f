// Every value type of several parts, written to its exact text and read back; bad texts refused.
#include <cmath>
#include <span>

#include "support/all_or_nothing.h"

namespace labarc::testing {
namespace {

struct Values {
  CRect rect{-5, 0, 100, 50};
  CSize size{INT32_MIN, INT32_MAX};
  POINT point{7, -8};
  DPOINT dpoint{2.75, -3.5};
  CDate date{2460377};  // 7 March 2024
  _TEXT text;
  CRectTracker tracker{CRect(10, 20, 310, 220), 17};

  template <class Io>
  void Each(Io io) {
    io(rect, CString("Position"));
    io(size, CString("Size"));
    io(point, CString("Point"));
    io(dpoint, CString("At"));
    io(date, CString("Date"));
    io(text);
    io(tracker);
  }
};

TEST(ValueEntriesTest, WritesTheExactTextsAndReadsThemBack) {
  Values original;
  original.text = {1, RGB(255, 128, 0), 12, -4, RECT{1, 2, 3, 4}, {}, CString("Dose = f(t)")};
  original.text.lfFont = LOGFONT{-13, 0, 900, -900, 700, 1, 0, 1, 0, 3, 2, 1, 34, "Arial"};
  original.tracker.m_sizeMin = CSize(8, 6);
  StoreArchive store;
  original.Each([&](auto&&... args) { ASSERT_EQ(store->Write(args...), 1); });
  const std::string text = store.Text();
  // clang-format off
  EXPECT_EQ(text, Lines({
      "Position=-5 0 100 50", "Size=-2147483648 2147483647", "Point=7 -8", "At=2.75 -3.5",
      "Date=03/07/2024",
      "Text Show=1", "Text Color=255 128 0", "Text Location Top=12", "Text Location Left=-4",
      "Text Obj Bnd=1 2 3 4",
      "Height=-13", "Width=0", "Escapement=900", "Orientation=-900", "Weight=700", "Italic=1",
      "Underline=0", "Strike Out=1", "Char Set=0", "Precision=3", "Clip Precision=2", "Quality=1",
      "Pitch And Family=34", "Face Name=Arial",
      "Text Wording=Dose = f(t)",
      "Style=17", "Position=10 20 310 220", "Min Size=8 6", "Handle Size=4"}));
  // clang-format on

  Values read;
  read.tracker.m_bTracking = original.tracker.m_bTracking = TRUE;   // drag-time state: not stored,
  read.tracker.m_ptGrab = original.tracker.m_ptGrab = POINT{5, 6};  // and kept by a read
  LoadArchive load(text);
  read.Each([&](auto&&... args) { ASSERT_EQ(load->Read(args...), 1); });
  EXPECT_TRUE(SameValue(read.rect, original.rect) && SameValue(read.size, original.size) &&
              SameValue(read.point, original.point) && SameValue(read.dpoint, original.dpoint) &&
              SameValue(read.date, original.date) && SameValue(read.text, original.text) &&
              SameValue(read.tracker, original.tracker));
}

// Double points used to be written with each coordinate truncated to an integer.
TEST(ValueEntriesTest, DoublePointsRoundTripExactly) {
  DPOINT points[] = {{2.75, -3.5}, {0.1, -0.0}, {NAN, -HUGE_VAL}, {1e-310, 1.7976931348623157e308},
                     {-1e10, 3e9}, {2, -3}};
  StoreArchive store;
  for (DPOINT& point : std::span(points).first(5)) ASSERT_EQ(store->Write(point, CString("At")), 1);
  // The last point as older files hold it: integers, with runs of blanks.
  LoadArchive load(store.Text() + Lines({"At=  2   -3  9"}));
  for (const DPOINT& point : points) {
    DPOINT read{};
    ASSERT_EQ(load->Read(read, CString("At")), 1);
    EXPECT_TRUE(SameValue(read, point));
  }
}

// `value` read under `label` in reporting mode into a target holding `kept`: the read must fail,
// report line 1 and the label, and leave the target as it was.
template <class T>
void ExpectRefused(const std::string& label, const char* value, const T& kept) {
  SCOPED_TRACE(label + "=" + value);
  ReportRecorder recorder;
  LoadArchive load(Lines({label + "=" + value}), 1);
  T target = kept;
  EXPECT_EQ(ThrownArchiveCause([&] { load->Read(target, CString(label.c_str())); }), 5);
  EXPECT_TRUE(SameValue(target, kept));
  const std::string report = "line 1!\nFile Name: /documents/load.txt\nSection/Entry: " + label;
  EXPECT_NE(recorder.boxes.at(0).text.find(report), std::string::npos);
}

TEST(ValueEntriesTest, BadTextsNameTheLabelAndChangeNothing) {
  for (const char* value : {"", "   ", "10 20", "10,20,30", "10\t20\t30", "-1 0 0", "+5 0 0",
                            "256 0 0", "1 2 3\x80", "a b c", "99999999999999999999 0 0"})
    ExpectRefused("Color", value, RGB(1, 2, 3));
  for (const char* value : {"1 2 3", "", "   ", "1\t2 3 4", "1 2 3 x", "1 2 3 4x", "1,2,3,4",
                            "1 2 3 2147483648", "1 2 3 -9223372036854775808", "+1 2 3 4"})
    ExpectRefused("Bounds", value, CRect(9, 9, 9, 9));
  for (const char* value :
       {"2/30/2001", "2/29/1900", "4/31/2001", "13/1/2000", "0/1/2000", "1/1/", "", "1/1/00",
        "1/1/0000", "001/1/2000", "1-1/2000", "1/1/2000x", "+1/1/2000"})
    ExpectRefused("Start", value, CDate(2451545));
}

}  // namespace
}  // namespace labarc::testing
