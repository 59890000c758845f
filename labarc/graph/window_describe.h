// A graph window's run: the host's flags, the graph type and origin checked after their entries
// (in both directions), three titles, the title count, the legend and the background colour.
#pragma once

#include <labarc/graph/window.h>

namespace labarc {

inline constexpr int kGraphTypeMax = 3;       // graph types are 0 to 3
inline constexpr int kOriginLocationMax = 1;  // origin locations are 0 or 1

template <class Io>
bool Describe(const Io& io, _WINDOW& w) {
  return io("Modify", w.nModify) && io("Curve calc", w.nCurveCalc) &&
         io("Calc Geometry", w.nCalcGeometry) && io("Enclose graph", w.nEncloseGraph) &&
         io("State", w.nState) && io("Graph type", w.nGraphType) &&
         io.Check("Graph type", w.nGraphType, 0, kGraphTypeMax) &&
         io("Orgin location", w.nOriginLocation) &&
         io.Check("Orgin location", w.nOriginLocation, 0, kOriginLocationMax) &&
         io.Blocks(WINDOW_TITLES, [&](int title) { return io(w.titles[title]); }) &&
         io("Title Count", w.nTitleCount) && io(w.legend) &&
         io("Background Color", w.crBackgroundColor);
}

}  // namespace labarc
