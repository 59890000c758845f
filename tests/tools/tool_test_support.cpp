#include "tools/tool_test_support.h"

#include <unistd.h>

#include <bit>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <random>

namespace labarc::testing {

std::string GoodDocument() {
  const auto curve = [](const char* name, int count, unsigned long colour) {
    CCurveObj made(count);
    made.SetName(name), made.SetLineColor(colour);
    for (int i = 0; i < count; ++i) {
      CURVEPOINT point{1, i * 0.25, i % 3 - 1.5};
      made.SetCurvePoint(i, point);
    }
    return made;
  };
  StoreArchive ar(0, kDocumentAppl, 3.6);
  _TEXT text;
  text.strWording = "Dose response", text.crColor = RGB(0, 0, 128), text.lfFont.lfWeight = 700;
  LOGFONT font{};
  font.lfHeight = -13;
  std::snprintf(font.lfFaceName, LF_FACESIZE, "Helvetica");
  ar->WriteHeader();
  ar->WriteSectionHeader(CString("Run"));
  ar->Write(CString("Run 7"), CString("Title"));
  ar->Write(2, CString("Curve Count"));
  ar->Write(0.1, CString("Gain"));
  ar->WriteSectionHeader(CString("Curves"));
  ar->Write(curve("First", 14, RGB(10, 20, 30)));
  ar->Write(curve("Second", 3, RGB(200, 0, 0)));
  ar->WriteSectionHeader(CString("Chart"));
  ar->Write(text);
  ar->Write(CRectTracker(CRect(1, 2, 3, 4), 5));
  ar->Write(font);
  return ar.Text();
}

std::string TempPath(const std::string& name) {
  return ::testing::TempDir() + "labarc-" + std::to_string(::getpid()) + "-" + name;
}

std::string WriteTempFile(const std::string& name, const std::string& text) {
  const std::string path = TempPath(name);
  std::ofstream(path, std::ios::binary) << text;
  return path;
}

std::string Spoil(std::string text, const std::string& after, const std::string& from,
                  const std::string& to) {
  return text.replace(text.find(from, text.find(after)), from.size(), to);
}

CCurveObj RandomCurve(int index, int points) {
  std::mt19937_64 bits(static_cast<std::uint64_t>(index) * 7919 + 1);
  CCurveObj curve(points);
  curve.SetName(CString("Curve ") + CString(std::to_string(index).c_str()));
  curve.SetLineColor(RGB(40 * index % 256, 90, 255 - 20 * index % 256));
  for (int i = 0; i < points; ++i) {
    // Every eighth value any bit pattern at all (subnormals, huge exponents, infinities, NaNs
    // with payloads); the rest a plain measurement.
    const double x = i % 8 == 3 ? std::bit_cast<double>(bits()) : i == 1 ? -0.0 : i * 0.001;
    const double y = i % 8 == 5 ? std::bit_cast<double>(bits()) : std::sin(i * 0.01 + index) * 100;
    CURVEPOINT point{static_cast<char>(i % 3), x, y};
    curve.SetCurvePoint(i, point);
  }
  return curve;
}

std::string CurvesDocument(int curves, int points) {
  StoreArchive ar(0, kDocumentAppl, 3.6);
  ar->WriteHeader();
  ar->WriteSectionHeader(CString("Curves"));
  for (int c = 0; c < curves; ++c) ar->Write(RandomCurve(c, points));
  return ar.Text();
}

}  // namespace labarc::testing
