// Equality of two trackers' whole state, lasting and drag-time, for the stand-ins' comparisons.
#pragma once

#include "framework/rect_tracker.h"

namespace labarc {

inline bool SameTrackerState(const CRectTracker& a, const CRectTracker& b) {
  return a.m_nStyle == b.m_nStyle && a.m_rect == b.m_rect && a.m_sizeMin == b.m_sizeMin &&
         a.m_nHandleSize == b.m_nHandleSize && a.m_bTracking == b.m_bTracking &&
         a.m_rectDragged == b.m_rectDragged && a.m_ptGrab == b.m_ptGrab;
}

}  // namespace labarc
