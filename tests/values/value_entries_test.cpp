// Every value type of several parts, written to its exact text and read back.
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
  EXPECT_EQ(text, Lines({"Position=-5 0 100 50",
                         "Size=-2147483648 2147483647",
                         "Point=7 -8",
                         "At=2.75 -3.5",
                         "Date=03/07/2024",
                         "Text Show=1",
                         "Text Color=255 128 0",
                         "Text Location Top=12",
                         "Text Location Left=-4",
                         "Text Obj Bnd=1 2 3 4",
                         "Height=-13",
                         "Width=0",
                         "Escapement=900",
                         "Orientation=-900",
                         "Weight=700",
                         "Italic=1",
                         "Underline=0",
                         "Strike Out=1",
                         "Char Set=0",
                         "Precision=3",
                         "Clip Precision=2",
                         "Quality=1",
                         "Pitch And Family=34",
                         "Face Name=Arial",
                         "Text Wording=Dose = f(t)",
                         "Style=17",
                         "Position=10 20 310 220",
                         "Min Size=8 6",
                         "Handle Size=4"}));

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

}  // namespace
}  // namespace labarc::testing
