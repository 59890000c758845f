// Stores a document holding two curves in a "Curves" section, loads it back and prints both.
#include <cstdio>
#include <string>

#include <labarc/labarc.h>

namespace {

CCurveObj MakeCurve(const char* name, int numPoints, double slope) {
  CCurveObj curve(numPoints);
  curve.SetName(name);
  curve.SetEntityKey("Reactor 2");
  curve.SetEntitySubKey("Probe B");
  curve.SetLineColor(RGB(0, 90, 200));
  for (int i = 0; i < numPoints; ++i) {
    CURVEPOINT point{1, i * 0.5, 100 + slope * i * i};
    curve.SetCurvePoint(i, point);
  }
  return curve;
}

void SerializeCurves(CArchiveEx& ar, CCurveObj& first, CCurveObj& second) {
  if (ar.IsStoring()) {
    ar.WriteHeader();
    ar.WriteSectionHeader(CString("Curves"));
    ar.Write(first);
    ar.Write(second);
  } else {
    ar.ReadHeader();
    ar.GoToSection(CString("Curves"));
    ar.Read(first);
    ar.Read(second);
  }
}

void PrintCurve(const CCurveObj& curve) {
  const CCurveObj::EXTENTS& extents = curve.GetExtents();
  std::printf("  %s (%s::%s): %d points, x %g to %g, y %g to %g\n", curve.GetName().GetString(),
              curve.GetEntityKey().GetString(), curve.GetEntitySubKey().GetString(),
              curve.GetNumPoints(), extents.dMinX, extents.dMaxX, extents.dMinY, extents.dMaxY);
}

}  // namespace

void RunCurveDemo() {
  CString applName = "Example Plotter";
  CCurveObj temperature = MakeCurve("Temperature", 14, 0.25);
  CCurveObj pressure = MakeCurve("Pressure", 3, -1.5);

  CMemFile file;
  {
    CArchive host(&file, CArchive::store);
    CArchiveEx ar(&host, applName, 3.6, TRUE);
    SerializeCurves(ar, temperature, pressure);
  }
  const std::string text(file.Contents());
  const std::size_t firstPoints = text.find("\r\n", text.find("Y Title=")) + 2;
  const std::size_t secondCurve = text.find("Curve Name=Pressure");
  std::printf("\nStored two curves (%zu bytes); the point lines of the first:\n%s\n", text.size(),
              text.substr(firstPoints, secondCurve - firstPoints).c_str());

  CMemFile stored(text);
  CArchive host(&stored, CArchive::load);
  CArchiveEx ar(&host, applName, 3.6, TRUE);
  CCurveObj firstRead, secondRead;
  SerializeCurves(ar, firstRead, secondRead);
  std::printf("Loaded:\n");
  PrintCurve(firstRead);
  PrintCurve(secondRead);
}
