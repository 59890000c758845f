// Rectangle trackers: the four entries of a tracker's lasting state; its drag-time state is not
// stored, and a read leaves it as it was.
#include "archive/entry_io.h"
#include "framework/rect_tracker.h"

namespace labarc {

namespace {

// Tracker is CRectTracker, const for writing.
template <class Io, class Tracker>
bool DescribeTracker(const Io& io, Tracker& tracker) {
  return io("Style", tracker.m_nStyle) && io("Position", tracker.m_rect) &&
         io("Min Size", tracker.m_sizeMin) && io("Handle Size", tracker.m_nHandleSize);
}

}  // namespace

}  // namespace labarc

int CArchiveEx::Write(const CRectTracker& tracker) {
  return WriteRun(tracker, labarc::DescribeTracker<labarc::EntryWriter, const CRectTracker>);
}

int CArchiveEx::Read(CRectTracker& tracker) {
  return ReadRun(tracker, tracker, labarc::DescribeTracker<labarc::EntryReader, CRectTracker>);
}
