// A rectangle tracker's run: the four entries of its lasting state. Its drag-time state is not
// stored, and a read leaves it as it was.
#pragma once

#include <labarc/archive/describe.h>
#include <labarc/framework/rect_tracker.h>

namespace labarc {

template <class Io>
bool Describe(const Io& io, CRectTracker& tracker) {
  return io("Style", tracker.m_nStyle) && io("Position", tracker.m_rect) &&
         io("Min Size", tracker.m_sizeMin) && io("Handle Size", tracker.m_nHandleSize);
}

template <>
struct CompositeTraits<CRectTracker> : CopiedWorking<CRectTracker> {
  static constexpr const char* name = "tracker";
};

}  // namespace labarc
