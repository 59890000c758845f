// The graph-objects library's results window: a rectangle tracker that shows a graph's results
// text, with its place, size, font and margins.
#pragma once

#include <labarc/framework/cstring.h>
#include <labarc/framework/export.h>
#include <labarc/framework/logfont.h>
#include <labarc/framework/rect_tracker.h>
#include <labarc/framework/win_types.h>
#include <labarc/values/dpoint.h>

class LABARC_API CResultsWnd : public CRectTracker {
 public:
  CResultsWnd() = default;
  CResultsWnd(const CResultsWnd&) = default;
  virtual ~CResultsWnd() = default;
  // Copies the tracker part and every member.
  CResultsWnd& operator=(const CResultsWnd&) = default;

  // Every member, the tracker's and those not stored included.
  bool operator==(const CResultsWnd&) const = default;

  int m_nResultsShown = 0;
  int m_nResultsPosition = 0;
  DPOINT m_dptResultsPercent{0, 0};  // location, in percent of the graph
  POINT m_ptResultsSize{0, 0};
  LOGFONT m_lfResultsFont{};
  int m_nResultsHeight = 0;
  CString m_strResults;     // not stored: the results text, made afresh from the curves
  int m_nResultsLines = 0;  // not stored: lines of that text
  int m_nResultsLeftMargin = 0;
  int m_nResultsTopMargin = 0;
  CSize m_sizeResultsCharSize;
  // Not stored: the generation of the results text, raised whenever the curves change it.
  UINT m_nTextGeneration = 0;
};
