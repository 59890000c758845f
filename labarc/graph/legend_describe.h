// A legend's run: its tracker part, its settings with the position and display codes checked
// after their entries (in both directions), and its font.
#pragma once

#include <labarc/framework/rect_tracker.h>
#include <labarc/graph/legend.h>

namespace labarc {

inline constexpr int kLegendCodeMax = 2;  // position and display codes are 0 to 2

template <class Io>
bool Describe(const Io& io, CLegend& l) {
  return io(static_cast<CRectTracker&>(l)) && io("Legend Shown", l.m_nLegendShown) &&
         io("Legend Float", l.m_nLegendFloat) && io("Legend Position", l.m_nLegendPosition) &&
         io.Check("Legend Position", l.m_nLegendPosition, 0, kLegendCodeMax) &&
         io("Legend Display", l.m_nLegendDisplay) &&
         io.Check("Legend Display", l.m_nLegendDisplay, 0, kLegendCodeMax) &&
         io("Location Percent X", l.m_dLocationPercentX) &&
         io("Location Percent Y", l.m_dLocationPercentY) && io("Legend Size X", l.m_lLegendSizeX) &&
         io("Legend Size Y", l.m_lLegendSizeY) && io("Legend Color", l.m_crLegendColor) &&
         io("Legend Font Height", l.m_nLegendFontHeight) && io(l.m_lfLegendFont);
}

}  // namespace labarc
