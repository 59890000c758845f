#include <cmath>
#include <cstring>
#include <random>

#include "tools/tool_test_support.h"

namespace labarc::testing {

CCurveObj RandomCurve(int index, int points) {
  std::mt19937_64 bits(static_cast<std::uint64_t>(index) * 7919 + 1);
  CCurveObj curve(points);
  curve.SetName(CString("Curve ") + CString(std::to_string(index).c_str()));
  curve.SetLineColor(RGB(40 * index % 256, 90, 255 - 20 * index % 256));
  for (int i = 0; i < points; ++i) {
    // Every eighth value any bit pattern at all (subnormals, huge exponents, infinities, NaNs
    // with payloads); the rest a plain measurement.
    const auto any = [&] {
      const std::uint64_t pattern = bits();
      double value;
      std::memcpy(&value, &pattern, sizeof value);
      return value;
    };
    const double x = i % 8 == 3 ? any() : i == 1 ? -0.0 : i * 0.001;
    const double y = i % 8 == 5 ? any() : std::sin(i * 0.01 + index) * 100;
    CURVEPOINT point{static_cast<char>(i % 3), x, y};
    curve.SetCurvePoint(i, point);
  }
  return curve;
}

std::string CurvesDocument(int curves, int points) {
  StoreArchive ar(0, kDocumentAppl, 3.6);
  ar->WriteHeader();
  ar->WriteSectionHeader(CString("Curves"));
  for (int c = 0; c < curves; ++c) {
    CCurveObj curve = RandomCurve(c, points);
    ar->Write(curve);
  }
  return ar.Text();
}

}  // namespace labarc::testing
