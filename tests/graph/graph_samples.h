// A sample of each graph composite with every stored member set (ints at their extremes,
// negative codes, an axis minimum above its maximum, doubles that need all their digits), a
// target of each with its members without entries set, and the text of a value stored alone.
#pragma once

#include <climits>
#include <string>

#include "support/test_support.h"

namespace labarc::testing {

inline const LOGFONT kSampleFont{-13, 0, 0, 0, 700, 1, 0, 0, 0, 3, 2, 1, 34, "Arial"};

inline _TEXT SampleText(const char* wording) {
  return _TEXT{1, RGB(0, 0, 128), 5, -6, RECT{40, 0, 280, 18}, kSampleFont, CString(wording)};
}

inline _GEOMETRY SampleGeometry() {
  _GEOMETRY g{INT_MIN,
              INT_MAX,
              10,
              20,
              -3,
              0,
              {1, 2, 3, 4},
              {-5, -6, 700, 800},
              {},
              {},
              {},
              {},
              {},
              {},
              {},
              0.1,
              1e-300,
              1,
              2,
              3,
              4,
              5,
              6,
              -2147483647L - 1,
              2147483647L};
  for (int slot = 0; slot < GEOMETRY_AXIS_SLOTS; ++slot) {
    g.dGPPosMin[slot] = g.dGPMins[slot] = 0.001 * (slot + 1);
    g.dGPMin[slot] = g.dGPMaxs[slot] = -10.5 * slot;
    g.dGPMax[slot] = g.dGPDeltas[slot] = 100.0 / 3 + slot;
    g.dGPDelta[slot] = -1e9 + slot;
  }
  return g;
}

inline _AXIS SampleAxis() {
  _AXIS a;
  a.nActive = 1;
  a.text = SampleText("Dose");
  a.rcLocation = RECT{10, 20, 30, 40};
  a.nType = -1;
  a.nPos = INT_MAX;
  a.nScaling = INT_MIN;
  a.tickLabel = _TICKLABEL{kSampleFont, 3, RGB(1, 2, 3), -2};
  a.tickMark = TICKMARK{4, 2, -9, 0.1, 1, 0, 1, 2, 0, 1, 0, 3};
  a.crColor = RGB(255, 0, 7);
  a.nGPLogOrder = -4;
  a.dGPAxisMin = 50;  // above the maximum: stored as it is
  a.dGPAxisMax = -12.5;
  a.dGPIncrement = 1.0 / 3;
  return a;
}

// `into` with members without entries set, which a read must leave as they are.
inline _AXIS WithOtherAxisUnstored(_AXIS into) {
  into.nPixelStart = 7;
  into.dPixelsPerUnit = 2.5;
  into.rcHitArea = CRect(1, 2, 3, 4);
  return into;
}
inline _AXIS OtherAxis() {
  _AXIS a = WithOtherAxisUnstored(_AXIS());
  a.text.strWording = "Other";
  a.tickLabel.lfFont.lfHeight = 99;
  return a;
}

inline CLegend SampleLegend() {
  CLegend l;
  static_cast<CRectTracker&>(l) = CRectTracker(CRect(200, 30, 300, 90), 5);
  l.m_nLegendShown = 1;
  l.m_nLegendFloat = -1;
  l.m_nLegendPosition = 2;
  l.m_dLocationPercentX = 12.5;
  l.m_dLocationPercentY = 0.1;
  l.m_lLegendSizeX = 2147483647L;
  l.m_lLegendSizeY = -2147483647L - 1;
  l.m_crLegendColor = RGB(10, 20, 30);
  l.m_nLegendFontHeight = 11;
  l.m_lfLegendFont = kSampleFont;
  return l;
}

// `into` with the members without entries of OtherLegend().
inline CLegend WithOtherLegendsUnstored(CLegend into) {
  into.m_bTracking = TRUE;
  into.m_nCurveCount = 3;
  into.m_strTitle = "Curves";
  into.m_nDrawGeneration = 17;
  return into;
}
inline CLegend OtherLegend() { return WithOtherLegendsUnstored(CLegend()); }

inline _WINDOW SampleWindow() {
  _WINDOW w;
  w.nModify = 1;
  w.nCurveCalc = -1;
  w.nCalcGeometry = INT_MAX;
  w.nState = INT_MIN;
  w.nGraphType = 3;
  w.nOriginLocation = 1;
  w.titles[0] = SampleText("Dose response");
  w.titles[1] = SampleText("");
  w.titles[2] = SampleText("Run 7 = final");
  w.nTitleCount = -5;
  w.legend = SampleLegend();
  w.crBackgroundColor = RGB(255, 255, 255);
  return w;
}

inline _WINDOW OtherWindow() {
  _WINDOW w;
  w.titles[1].strWording = "Other";
  w.legend = OtherLegend();
  return w;
}

// Values that read back as stored: no negative tracker coordinate, percents above 0.1 with at
// most six digits.
inline CResultsWnd SampleResults() {
  CResultsWnd r;
  static_cast<CRectTracker&>(r) = CRectTracker(CRect(0, 5, 400, 300), 1);
  r.m_nResultsShown = 1;
  r.m_nResultsPosition = -3;
  r.m_dptResultsPercent = DPOINT{50, 12.5};
  r.m_ptResultsSize = POINT{320, -240};
  r.m_lfResultsFont = kSampleFont;
  r.m_nResultsHeight = 14;
  r.m_nResultsLeftMargin = INT_MIN;
  r.m_nResultsTopMargin = INT_MAX;
  r.m_sizeResultsCharSize = CSize(7, 15);
  return r;
}

inline CResultsWnd WithOtherResultsUnstored(CResultsWnd into) {
  into.m_ptGrab = POINT{3, 4};
  into.m_strResults = "y = 2x + 1";
  into.m_nResultsLines = 1;
  into.m_nTextGeneration = 9;
  return into;
}
inline CResultsWnd OtherResults() { return WithOtherResultsUnstored(CResultsWnd()); }

// The text of `value` written on its own.
template <class T>
std::string Stored(T value) {
  StoreArchive store;
  EXPECT_EQ(store->Write(value), 1);
  return store.Text();
}

}  // namespace labarc::testing
