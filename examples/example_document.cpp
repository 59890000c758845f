// Writes the example document to a file, for the labarc tool to inspect: a run's settings, three
// measured curves, a chart's text and frame, and the graph's layout.
#include <cmath>
#include <cstdio>

#include <labarc/labarc.h>

#include "example_document.h"
#include "sample_text.h"
#include "save_document.h"

namespace {

CCurveObj MakeCurve(const char* name, unsigned long colour, double (*shape)(double)) {
  constexpr int kPoints = 200;
  CCurveObj curve(kPoints);
  curve.SetName(name);
  curve.SetEntityKey("Reactor 2");
  curve.SetLineColor(colour);
  curve.SetLineWidth(2);
  curve.SetXTitle("Time (s)");
  curve.SetYTitle("Signal (mV)");
  for (int i = 0; i < kPoints; ++i) {
    const double t = i * 0.1;
    CURVEPOINT point{1, t, shape(t)};
    curve.SetCurvePoint(i, point);
  }
  return curve;
}

// The graph the curves are drawn in: its geometry, two axes, the window and a results window.
void WriteGraph(CArchiveEx& ar) {
  _GEOMETRY geometry{};
  geometry.rcLPPlotLoc = RECT{800, 400, 7600, 5200};
  geometry.rcLPGraphLoc = RECT{0, 0, 8000, 6000};
  for (int slot = 0; slot < GEOMETRY_AXIS_SLOTS; ++slot) {
    geometry.dGPMin[slot] = slot == 1 ? -50 : 0;
    geometry.dGPMax[slot] = slot == 1 ? 150 : 20;
  }
  ar.Write(geometry);
  const char* titles[] = {"Time (s)", "Signal (mV)"};
  for (int i = 0; i < 2; ++i) {
    _AXIS axis;
    axis.nActive = 1;
    axis.nPos = i;
    axis.text = SampleText(titles[i], 10);
    axis.tickLabel.lfFont = axis.text.lfFont;
    axis.tickMark = TICKMARK{4, 5, 21, 6, 1, 0, 0, 0, 1, 1, 1, 2};
    axis.dGPAxisMin = geometry.dGPMin[i];
    axis.dGPAxisMax = geometry.dGPMax[i];
    ar.Write(axis);
  }
  _WINDOW window;
  window.titles[0] = SampleText("Reactor 2 calibration", 14);
  window.nTitleCount = 1;
  window.legend.m_nLegendShown = 1;
  window.legend.m_dLocationPercentX = 80;
  window.legend.m_dLocationPercentY = 10;
  window.crBackgroundColor = RGB(255, 255, 240);
  ar.Write(window);
  CResultsWnd results;
  results.m_nResultsShown = 1;
  results.m_dptResultsPercent = DPOINT{15, 72.5};
  ar.Write(results);
}

}  // namespace

void WriteExampleDocument(CArchiveEx& ar) {
  ar.WriteHeader();
  ar.WriteSectionHeader(CString("Run"));
  ar.Write(CString("Calibration run"), CString("Title"));
  ar.Write(3, CString("Curve Count"));
  ar.Write(2.5, CString("Gain"));

  ar.WriteSectionHeader(CString("Curves"));
  CCurveObj curves[] = {
      MakeCurve("Probe A", RGB(0, 90, 200), [](double t) { return 40 * std::sin(t / 2); }),
      MakeCurve("Probe B", RGB(220, 60, 0), [](double t) { return 60 * std::exp(-t / 8) - 20; }),
      MakeCurve("Reference", RGB(40, 160, 40), [](double t) { return 0.4 * t * t - 30; }),
  };
  for (CCurveObj& curve : curves) ar.Write(curve);

  ar.WriteSectionHeader(CString("Chart"));
  _TEXT title;
  title.bShow = 1;
  title.crColor = RGB(0, 0, 128);
  title.rcBound = CRect(40, 0, 280, 18);
  title.lfFont.lfHeight = -13;
  title.lfFont.lfWeight = 700;
  std::snprintf(title.lfFont.lfFaceName, LF_FACESIZE, "%s", "Helvetica");
  title.strWording = "Reactor 2 calibration";
  ar.Write(title);
  CRectTracker frame(CRect(200, 30, 300, 90), 1);
  ar.Write(frame);

  ar.WriteSectionHeader(CString("Graph"));
  WriteGraph(ar);
}

bool WriteExampleDocument(const char* path) {
  return SaveDocument(path, [](CArchiveEx& ar) { WriteExampleDocument(ar); });
}
