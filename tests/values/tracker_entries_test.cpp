#include "support/test_support.h"

namespace labarc::testing {
namespace {

TEST(TrackerEntriesTest, StoresTheLastingStateAndKeepsTheDragState) {
  CRectTracker tracker(CRect(10, 20, 310, 220), 0x11);
  tracker.m_sizeMin = CSize(8, 6);
  tracker.m_nHandleSize = 5;
  StoreArchive store;
  ASSERT_EQ(store->Write(tracker), 1);
  const std::string text = store.Text();
  EXPECT_EQ(text, Lines({"Style=17", "Position=10 20 310 220", "Min Size=8 6", "Handle Size=5"}));

  std::string lowered = text;
  lowered.replace(lowered.find("Min Size"), 8, "min size");
  LoadArchive load(lowered);
  CRectTracker read;
  read.m_bTracking = TRUE;
  read.m_rectDragged = CRect(1, 2, 3, 4);
  read.m_ptGrab = POINT{5, 6};
  ASSERT_EQ(load->Read(read), 1);
  EXPECT_EQ(read.m_nStyle, 0x11u);
  EXPECT_EQ(read.m_rect, tracker.m_rect);
  EXPECT_EQ(read.m_sizeMin, tracker.m_sizeMin);
  EXPECT_EQ(read.m_nHandleSize, 5);
  EXPECT_TRUE(read.m_bTracking);
  EXPECT_EQ(read.m_rectDragged, CRect(1, 2, 3, 4));
  EXPECT_EQ(read.m_ptGrab, (POINT{5, 6}));
}

}  // namespace
}  // namespace labarc::testing
