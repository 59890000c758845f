// The runs of an axis's tick labels (the font, then three entries) and tick marks (twelve).
#pragma once

#include <labarc/archive/describe.h>
#include <labarc/graph/ticks.h>

namespace labarc {

template <class Io>
bool Describe(const Io& io, _TICKLABEL& t) {
  return io(t.lfFont) && io("Num Digits", t.nNumDigits) && io("Color", t.crColor) &&
         io("Notation", t.nNotation);
}

template <class Io>
bool Describe(const Io& io, TICKMARK& t) {
  return io("Minor Ticks", t.nMinorTicks) && io("Major Ticks", t.nMajorTicks) &&
         io("Total Ticks", t.nTotalTicks) && io("Tick Increment Value", t.dTickIncrement) &&
         io("Minor Inside", t.nMinorInside) && io("Minor Outside", t.nMinorOutside) &&
         io("Minor Grid", t.nMinorGrid) && io("Minor Grid Line Type", t.nMinorGridLineType) &&
         io("Major Inside", t.nMajorInside) && io("Major Outside", t.nMajorOutside) &&
         io("Major Grid", t.nMajorGrid) && io("Major Grid Line Type", t.nMajorGridLineType);
}

template <>
struct CompositeTraits<_TICKLABEL> : CopiedWorking<_TICKLABEL> {
  static constexpr const char* name = "tick label";
};

template <>
struct CompositeTraits<TICKMARK> : CopiedWorking<TICKMARK> {
  static constexpr const char* name = "tick mark";
};

}  // namespace labarc
