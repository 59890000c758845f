// Stores a graph window document (its geometry, three axes, the window with titles and legend,
// and a results window) in a "Graph" section, loads it back into fresh objects and prints them.
#include <cstdio>
#include <string>

#include <labarc/labarc.h>

#include "sample_text.h"
#include "save_document.h"

namespace {

struct GraphDocument {
  _GEOMETRY geometry{};
  _AXIS axes[3];  // x, y and alternative y
  _WINDOW window;
  CResultsWnd results;
};

GraphDocument MakeDocument() {
  GraphDocument doc;
  _GEOMETRY& g = doc.geometry;
  g.nLPEndX = 8000;
  g.nLPEndY = 6000;
  g.nLPDeltaX = 8000;
  g.nLPDeltaY = 6000;
  g.rcLPPlotLoc = RECT{800, 400, 7600, 5200};
  g.rcLPGraphLoc = RECT{0, 0, 8000, 6000};
  const double ranges[][2] = {{0, 24}, {-5, 40}, {0, 1}, {0, 24}};
  for (int slot = 0; slot < GEOMETRY_AXIS_SLOTS; ++slot) {
    g.dGPMin[slot] = g.dGPMins[slot] = ranges[slot][0];
    g.dGPMax[slot] = g.dGPMaxs[slot] = ranges[slot][1];
    g.dGPPosMin[slot] = 0.001;
    g.dGPDelta[slot] = g.dGPDeltas[slot] = (ranges[slot][1] - ranges[slot][0]) / 4;
  }
  g.dXFactor = 6800 / 24.0;
  g.dYFactor = 4800 / 45.0;
  g.lXScalingFactor = g.lYScalingFactor = 100;

  const char* titles[] = {"Time (h)", "Temperature (C)", "Fraction"};
  for (int i = 0; i < 3; ++i) {
    _AXIS& axis = doc.axes[i];
    axis.nActive = i < 2;
    axis.text = SampleText(titles[i], 10);
    axis.nPos = i;
    axis.tickLabel.lfFont = axis.text.lfFont;
    axis.tickLabel.nNumDigits = 2;
    axis.tickMark = TICKMARK{4, 5, 21, 6, 1, 0, 0, 0, 1, 1, 1, 2};
    axis.dGPAxisMin = ranges[i][0];
    axis.dGPAxisMax = ranges[i][1];
    axis.dGPIncrement = g.dGPDelta[i];
  }

  _WINDOW& w = doc.window;
  w.nGraphType = 1;
  w.titles[0] = SampleText("Reactor 2", 14);
  w.titles[1] = SampleText("Probe B, 24 hours", 10);
  w.nTitleCount = 2;
  w.legend.m_rect = CRect(6000, 500, 7500, 1400);
  w.legend.m_nLegendShown = 1;
  w.legend.m_nLegendPosition = 2;
  w.legend.m_dLocationPercentX = 80;
  w.legend.m_dLocationPercentY = 10;
  w.legend.m_lfLegendFont = w.titles[1].lfFont;
  w.crBackgroundColor = RGB(255, 255, 240);

  doc.results.m_rect = CRect(900, 4300, 3000, 5100);
  doc.results.m_nResultsShown = 1;
  doc.results.m_dptResultsPercent = DPOINT{15, 75};
  doc.results.m_lfResultsFont = w.titles[1].lfFont;
  return doc;
}

void Serialize(CArchiveEx& ar, GraphDocument& doc) {
  if (ar.IsStoring()) {
    ar.WriteHeader();
    ar.WriteSectionHeader(CString("Graph"));
    ar.Write(doc.geometry);
    for (const _AXIS& axis : doc.axes) ar.Write(axis);
    ar.Write(doc.window);
    ar.Write(doc.results);
  } else {
    ar.ReadHeader();
    ar.GoToSection(CString("Graph"));
    ar.Read(doc.geometry);
    for (_AXIS& axis : doc.axes) ar.Read(axis);
    ar.Read(doc.window);
    ar.Read(doc.results);
  }
}

}  // namespace

// Writes the graph window document to a file, for the labarc tool.
bool WriteGraphDocument(const char* path) {
  GraphDocument doc = MakeDocument();
  return SaveDocument(path, [&](CArchiveEx& ar) { Serialize(ar, doc); });
}

void RunGraphDemo() {
  CString applName = "Example Plotter";
  GraphDocument original = MakeDocument();
  CMemFile file;
  {
    CArchive host(&file, CArchive::store);
    CArchiveEx ar(&host, applName, 3.6, TRUE);
    Serialize(ar, original);
  }
  const std::string text(file.Contents());
  const std::size_t blocks = text.find("X Axis\r\n");
  std::printf("\nStored a graph window document (%zu bytes); its first axis block:\n%s\n",
              text.size(), text.substr(blocks, text.find("Y Axis\r\n") - blocks).c_str());

  GraphDocument loaded;
  CMemFile input(text);
  CArchive host(&input, CArchive::load);
  CArchiveEx ar(&host, applName, 3.6, TRUE);
  Serialize(ar, loaded);
  std::printf("Loaded the graph: %g to %g in x, %g to %g in y\n", loaded.geometry.dGPMin[0],
              loaded.geometry.dGPMax[0], loaded.geometry.dGPMin[1], loaded.geometry.dGPMax[1]);
  for (const _AXIS& axis : loaded.axes)
    std::printf("  axis \"%s\" (%s): %g to %g by %g\n", axis.text.strWording.GetString(),
                axis.nActive ? "active" : "inactive", axis.dGPAxisMin, axis.dGPAxisMax,
                axis.dGPIncrement);
  std::printf("  window \"%s\" / \"%s\", legend at %g%% %g%%, results at %g%% %g%%\n",
              loaded.window.titles[0].strWording.GetString(),
              loaded.window.titles[1].strWording.GetString(),
              loaded.window.legend.m_dLocationPercentX, loaded.window.legend.m_dLocationPercentY,
              loaded.results.m_dptResultsPercent.x, loaded.results.m_dptResultsPercent.y);
}
