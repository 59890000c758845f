// A results window's run, under its one-word "lpszResults..." labels. The location in percent is
// written as "%5g %5g" and read as a DPOINT. The reader clamps what it reads: negative tracker
// coordinates become 0 and percent values not above 0.1 become 0.1; the writer stores values as
// they are.
#pragma once

#include <labarc/archive/describe.h>
#include <labarc/framework/cstring.h>
#include <labarc/framework/rect_tracker.h>
#include <labarc/graph/results_wnd.h>

class CArchiveEx;

namespace labarc {

inline constexpr double kLeastResultsPercent = 0.1;

inline CString ResultsPercentText(const DPOINT& percent) {
  CString text;
  text.Format("%5g %5g", percent.x, percent.y);
  return text;
}

template <class Io>
bool Describe(const Io& io, CResultsWnd& r) {
  const auto clampRect = [&](const CArchiveEx&) {
    for (LONG* coordinate : {&r.m_rect.left, &r.m_rect.top, &r.m_rect.right, &r.m_rect.bottom})
      if (*coordinate < 0) *coordinate = 0;
    return true;
  };
  const auto clampPercent = [&](const CArchiveEx&) {
    for (double* value : {&r.m_dptResultsPercent.x, &r.m_dptResultsPercent.y})
      if (!(*value > kLeastResultsPercent)) *value = kLeastResultsPercent;
    return true;
  };
  return io(static_cast<CRectTracker&>(r)) && io.OnRead(clampRect) &&
         io("lpszResultsShown", r.m_nResultsShown) &&
         io("lpszResultsPosition", r.m_nResultsPosition) &&
         io.Formatted("lpszResultsPercent", r.m_dptResultsPercent, ResultsPercentText) &&
         io.OnRead(clampPercent) && io("lpszResultsSize", r.m_ptResultsSize) &&
         io(r.m_lfResultsFont) && io("lpszResultsHeight", r.m_nResultsHeight) &&
         io("lpszResultsLeftMargin", r.m_nResultsLeftMargin) &&
         io("lpszResultsTopMargin", r.m_nResultsTopMargin) &&
         io("lpszResultsCharSize", r.m_sizeResultsCharSize);
}

template <>
struct CompositeTraits<CResultsWnd>
    : AssignedWorking<CResultsWnd, &CResultsWnd::m_nTextGeneration> {
  static constexpr const char* name = "results window";
};

}  // namespace labarc
