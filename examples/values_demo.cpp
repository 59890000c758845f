// Values of several parts: a colour, a rectangle, a date, a font, a text object and a rectangle
// tracker, stored in one section and read back.
#include <cstdio>
#include <string>

#include <labarc/labarc.h>

namespace {

struct Chart {
  unsigned long background = RGB(255, 128, 0);
  CRect plotArea{10, 20, 310, 220};
  CDate measured{2460377};  // 7 March 2024
  LOGFONT axisFont{-13, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0, "Helvetica"};
  _TEXT title;
  CRectTracker legend{CRect(200, 30, 300, 90), 1};
};

void Serialize(CArchiveEx& ar, Chart& chart) {
  const CString background("Background"), plotArea("Plot Area"), measured("Measured");
  if (ar.IsStoring()) {
    ar.WriteSectionHeader(CString("Chart"));
    ar.Write(chart.background, background);
    ar.Write(chart.plotArea, plotArea);
    ar.Write(chart.measured, measured);
    ar.Write(chart.axisFont);
    ar.Write(chart.title);
    ar.Write(chart.legend);
  } else {
    ar.GoToSection(CString("Chart"));
    ar.Read(chart.background, background);
    ar.Read(chart.plotArea, plotArea);
    ar.Read(chart.measured, measured);
    ar.Read(chart.axisFont);
    ar.Read(chart.title);
    ar.Read(chart.legend);
  }
}

}  // namespace

void RunValuesDemo() {
  Chart chart;
  chart.title.bShow = 1;
  chart.title.crColor = RGB(0, 0, 128);
  chart.title.rcBound = RECT{40, 0, 280, 18};
  chart.title.lfFont = chart.axisFont;
  chart.title.strWording = "Dose response";
  chart.legend.m_sizeMin = CSize(40, 20);

  CMemFile file;
  CString applName = "Example Plotter";
  {
    CArchive host(&file, CArchive::store);
    CArchiveEx ar(&host, applName, 3.6, TRUE);
    Serialize(ar, chart);
  }
  const std::string text(file.Contents());
  std::printf("\nStored chart values:\n%s\n", text.c_str());

  Chart loaded;
  CMemFile copy(text);
  CArchive host(&copy, CArchive::load);
  CArchiveEx ar(&host, applName, 3.6, TRUE);
  Serialize(ar, loaded);
  CString date;
  const CRect& r = loaded.plotArea;
  std::printf(
      "Loaded: background %d %d %d, plot area %d %d %d %d, measured %s, axis font %s %d,\n"
      "        title \"%s\" in %s, legend at %d %d %d %d\n",
      GetRValue(loaded.background), GetGValue(loaded.background), GetBValue(loaded.background),
      r.left, r.top, r.right, r.bottom, loaded.measured.FmtMMsDDsYYYY(date, '/').GetString(),
      loaded.axisFont.lfFaceName, loaded.axisFont.lfHeight, loaded.title.strWording.GetString(),
      loaded.title.lfFont.lfFaceName, loaded.legend.m_rect.left, loaded.legend.m_rect.top,
      loaded.legend.m_rect.right, loaded.legend.m_rect.bottom);
}
