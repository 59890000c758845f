// A host program for the Python tests, using the archive the way a C++ host does.
//   curve_host write PATH           writes a document: a "Run" section and three curves whose
//                                   points take every kind of double and every flag byte
//   curve_host read PATH SECTION N  reads N curves from SECTION and prints each point's bits
// The printed form: "curve NAME COUNT", then one line per point: x and y as 16 hex digits of
// their bits, and the flag in decimal.
#include <bit>
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>

#include <labarc/labarc.h>

namespace {

double Special(int index) {
  constexpr double specials[] = {0.0,
                                 -0.0,
                                 std::numeric_limits<double>::infinity(),
                                 -std::numeric_limits<double>::infinity(),
                                 std::numeric_limits<double>::quiet_NaN(),
                                 std::numeric_limits<double>::denorm_min(),
                                 std::numeric_limits<double>::max(),
                                 std::numeric_limits<double>::lowest(),
                                 std::numeric_limits<double>::min(),
                                 0.1,
                                 1.0 / 3.0,
                                 -123456789.125};
  return specials[index % std::size(specials)];
}

CCurveObj MakeCurve(int index, int count) {
  std::mt19937_64 bits(static_cast<std::uint64_t>(index) + 17);
  CCurveObj curve(count);
  curve.SetName(CString(("Probe " + std::to_string(index)).c_str()));
  curve.SetEntityKey("Reactor 2");
  curve.SetLineColor(RGB(10 * index, 90, 200));
  curve.SetXTitle("Time (s)");
  for (int i = 0; i < count; ++i) {
    // Specials first, then arbitrary bit patterns (NaN payloads and subnormals among them) among
    // plain measurements.
    const double x = i < 12 ? Special(i) : i % 5 == 0 ? std::bit_cast<double>(bits()) : i * 0.01;
    const double y = i < 12       ? Special(i + 3)
                     : i % 7 == 0 ? std::bit_cast<double>(bits())
                                  : std::sin(i * 0.05 + index) * 40;
    CURVEPOINT point{static_cast<char>(i % 256), x, y};
    curve.SetCurvePoint(i, point);
  }
  return curve;
}

int Write(const char* path) {
  CSaveFile file;
  if (!file.Open(path)) return 1;
  {
    CArchive host(&file, CArchive::store);
    CString applName = "Example Plotter";
    CArchiveEx ar(&host, applName, 3.6, 0);
    ar.WriteHeader();
    ar.WriteSectionHeader(CString("Run"));
    ar.Write(CString("Calibration run"), CString("Title"));
    ar.Write(2.5, CString("Gain"));
    ar.WriteSectionHeader(CString("Curves"));
    const int counts[] = {300, 0, 1000};
    for (int index = 0; index < 3; ++index) {
      CCurveObj curve = MakeCurve(index, counts[index]);
      if (ar.Write(curve) != 1) return 1;
    }
    host.Close();
  }
  file.Commit();
  return 0;
}

int Read(const char* path, const char* section, int count) {
  CFile file;
  if (!file.Open(path, CFile::modeRead)) return 1;
  CArchive host(&file, CArchive::load);
  CString applName = "Example Plotter";
  CArchiveEx ar(&host, applName, 3.6, 0);
  if (ar.ReadHeader() != 1 || ar.GoToSection(CString(section)) != 1) return 1;
  for (int index = 0; index < count; ++index) {
    CCurveObj curve;
    if (ar.Read(curve) != 1) {
      std::printf("failed at line %d\n", ar.GetCurLineNum());
      return 1;
    }
    std::printf("curve %s %d\n", curve.GetName().GetString(), curve.GetNumPoints());
    for (int i = 0; i < curve.GetNumPoints(); ++i) {
      CURVEPOINT point;
      curve.GetCurvePoint(i, &point);
      std::printf("%016" PRIx64 " %016" PRIx64 " %d\n", std::bit_cast<std::uint64_t>(point.dX),
                  std::bit_cast<std::uint64_t>(point.dY), static_cast<unsigned char>(point.cFlag));
    }
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "write") == 0) return Write(argv[2]);
  if (argc == 5 && std::strcmp(argv[1], "read") == 0)
    return Read(argv[2], argv[3], std::atoi(argv[4]));
  std::fprintf(stderr, "usage: curve_host write PATH | curve_host read PATH SECTION COUNT\n");
  return 2;
}
