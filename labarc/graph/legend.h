// The graph-objects library's legend: a rectangle tracker with the legend's own settings.
#pragma once

#include <labarc/framework/cstring.h>
#include <labarc/framework/export.h>
#include <labarc/framework/logfont.h>
#include <labarc/framework/rect_tracker.h>
#include <labarc/framework/win_types.h>

class LABARC_API CLegend : public CRectTracker {
 public:
  CLegend() = default;
  CLegend(const CLegend&) = default;
  virtual ~CLegend() = default;
  // Copies the tracker part and every member.
  CLegend& operator=(const CLegend&) = default;

  // Every member, the tracker's and those not stored included.
  bool operator==(const CLegend&) const = default;

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
  // Not stored: the drawings made with these settings, which the host compares with its own
  // count to decide on a redraw.
  UINT m_nDrawGeneration = 0;
};
