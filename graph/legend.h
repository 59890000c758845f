// The graph-objects library's legend: a rectangle tracker with the legend's own settings.
#pragma once

#include "../framework/cstring.h"
#include "../framework/logfont.h"
#include "../framework/rect_tracker.h"
#include "../framework/win_types.h"

class CLegend : public CRectTracker {
 public:
  CLegend() = default;
  // A copy is a new legend assigned from `src`: it owns no redraw timer.
  CLegend(const CLegend& src) : CRectTracker() { *this = src; }
  virtual ~CLegend() = default;
  // Copies the tracker part and every setting; the redraw timer stays this legend's own.
  void operator=(const CLegend& src);

  bool operator==(const CLegend& other) const;

  int m_nLegendShown = 0;
  int m_nLegendFloat = 0;
  int m_nCurveCount = 0;      // not stored: curves listed at the last drawing
  int m_nLegendPosition = 0;  // 0 to 2
  int m_nLegendDisplay = 0;   // 0 to 2
  double m_dLocationPercentX = 0;
  double m_dLocationPercentY = 0;
  CString m_strTitle;       // not stored: the heading the host draws above the entries
  long m_lLegendSizeX = 0;  // 32-bit in the file
  long m_lLegendSizeY = 0;
  unsigned long m_crLegendColor = 0;  // an RGB colour
  int m_nLegendFontHeight = 0;
  LOGFONT m_lfLegendFont{};
  // Not stored: the id of the timer with which this legend redraws itself, 0 when none. A timer
  // belongs to one object, so assignment does not carry it.
  UINT m_nRedrawTimer = 0;
};
