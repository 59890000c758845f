// An axis's run. "Color" stands twice: the tick labels' colour inside their run, then the
// axis's own after the tick marks; each is matched by its place.
#pragma once

#include <labarc/archive/describe.h>
#include <labarc/graph/axis.h>

namespace labarc {

template <class Io>
bool Describe(const Io& io, _AXIS& a) {
  return io("Active", a.nActive) && io(a.text) && io("Location", a.rcLocation) &&
         io("Type", a.nType) && io("Pos", a.nPos) && io("Scaling", a.nScaling) &&
         io("Direction", a.nDirection) && io(a.tickLabel) && io(a.tickMark) &&
         io("Color", a.crColor) && io("GP Log Order", a.nGPLogOrder) &&
         io("GP Axis Min", a.dGPAxisMin) && io("GP Axis Max", a.dGPAxisMax) &&
         io("GP Increment", a.dGPIncrement);
}

// The working axis starts as the caller's, so the members without entries come out as they were.
template <>
struct CompositeTraits<_AXIS> : CopiedWorking<_AXIS> {
  static constexpr const char* name = "axis";
};

}  // namespace labarc
