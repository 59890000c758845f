#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <new>
#include <tuple>

#include "support/all_or_nothing.h"

// The largest single allocation asked for, to show that no allocation follows a file's word.
static std::size_t g_largestAllocation = 0;

#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"  // new and delete below are a pair
#endif

void* operator new(std::size_t size) {
  g_largestAllocation = std::max(g_largestAllocation, size);
  if (void* block = std::malloc(size ? size : 1)) return block;
  throw std::bad_alloc();
}
void operator delete(void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }

namespace labarc::testing {
namespace {

// A curve with characteristics away from their defaults and awkward coordinates.
CCurveObj SampleCurve(int numPoints, int seed = 1) {
  CCurveObj curve(numPoints);
  curve.SetName(CString(std::string("Sample ") + static_cast<char>('A' + seed)));
  curve.SetEntityKey("Run");
  curve.SetEntitySubKey("Batch 3");
  curve.SetHasEntitySubKey(seed == 1);
  curve.SetSymbolType(-1);
  curve.SetSymbolFactor(5 + seed);
  curve.SetXIncrementType('J');
  const double awkward[] = {-0.0, 0.1, 1e-310, -1.7976931348623157e308, 123456.789, NAN};
  for (int i = 0; i < numPoints; ++i) {
    CURVEPOINT point{static_cast<char>(i * seed), awkward[i % 6] * seed, i / 3.0 + seed};
    curve.SetCurvePoint(i, point);
  }
  return curve;
}

std::string Store(CCurveObj curve) {
  StoreArchive ar;
  EXPECT_EQ(ar->Write(curve), 1);
  return ar.Text();
}

// The stored sample curve of `points` points with line `index` replaced by `line` (null: dropped).
std::string Damaged(int points, int index, const char* line) {
  const std::string text = Store(SampleCurve(points));
  std::size_t at = 0;
  for (int i = 0; i < index; ++i) at = text.find("\r\n", at) + 2;
  return text.substr(0, at) + (line ? std::string(line) + "\r\n" : "") +
         text.substr(text.find("\r\n", at) + 2);
}

CCurveObj ReadCurve(const std::string& text, double applVersion = kApplVersion) {
  LoadArchive ar(text, 0, kApplName, applVersion);
  CCurveObj curve = SampleCurve(2, 2);
  g_largestAllocation = 0;
  EXPECT_EQ(ar->Read(curve), 1);
  EXPECT_TRUE(curve.IsScaled());
  return curve;
}

TEST(CurveText, MatchesTheStoredLayoutLineForLine) {
  CCurveObj curve(14);
  curve.SetYIncrementType('J');
  curve.SetYIncrement(CCurveObj::LOGARITHMIC);
  for (int i = 0; i < 14; ++i) {
    CURVEPOINT point{1, i * 0.5, -i * 1e20};
    curve.SetCurvePoint(i, point);
  }
  // clang-format off
  EXPECT_EQ(Store(curve), Lines({
      "Curve Name=", "Number Of Curve Points=14", "Identifier=", "Entity Key=",
      "Draw=1", "Selectable=1", "Movable=0", "Read Only=0", "Edit Name=1", "Hide From Legend=0",
      "X Or=0", "Not=0", "Y Axis=0", "Line On=1", "Line Style=0", "Line Type=0", "Line Width=1",
      "Line Color=0 0 0", "Symbol On=0", "Symbol Type=0", "Symbol Color=0 0 0", "Symbol Factor=4",
      "Symbol Intervals=1", "Symbol Deselect Color=0 0 0", "Symbol Deselect Color=0 0 0",
      "X Increment Type=N", "X Increments=0", "X Title=", "Y Increment Type=J", "Y Increments=1",
      "Y Title=",
      "0, 0.5, 1, 1.5, 2, 2.5, 3, 3.5, 4, 4.5, 5, 5.5, ", "6, 6.5, ",
      "0, -1e+20, -2e+20, -3e+20, -4e+20, -5e+20, -6e+20, -7e+20, -8e+20, -9e+20, -1e+21, -1.1e+21, ",
      "-1.2e+21, -1.3e+21, ",
      "1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, ", "1, 1, "}));
  // clang-format on
}

// Equal stored texts mean equal curves: every characteristic is stored, and each coordinate as
// its shortest exact text (which, unlike ==, also lets NaN coordinates compare).
TEST(CurveRead, RoundTripKeepsEveryCharacteristicAndPointExactly) {
  for (std::size_t n : {0, 1, 12, 13, 25, 1'000'000}) {
    SCOPED_TRACE(n);
    const std::string text = Store(SampleCurve(static_cast<int>(n)));
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 31 + 3 * ((n + 11) / 12));
    const CCurveObj read = ReadCurve(text);
    EXPECT_TRUE(n < 1000 || g_largestAllocation == n * sizeof(CURVEPOINT));  // room made once
    EXPECT_EQ(Store(read), text);
  }
}

// Each case puts `text` in place of line `line` of the stored 3-point sample curve; the curve
// read must equal the sample changed by `expect`.
TEST(CurveRead, AppliesEachEntrysRule) {
  struct Case {
    int line;
    const char* text;
    void (*expect)(CCurveObj&);
    double applVersion = kApplVersion;
  };
  // clang-format off
  for (const Case& c : {
      Case{3, "Entity Key=K", [](CCurveObj& k) {
          k.SetEntityKey("K"); k.SetEntitySubKey("N/A"); k.SetHasEntitySubKey(0); }},
      Case{3, "Entity Key=::S", [](CCurveObj& k) {
          k.SetEntityKey("::S"); k.SetEntitySubKey("N/A"); k.SetHasEntitySubKey(0); }},
      Case{3, "Entity Key=K::S::T", [](CCurveObj& k) {
          k.SetEntityKey("K"); k.SetEntitySubKey("S::T"); }},
      Case{3, "Entity Key=K::n/a", [](CCurveObj& k) { k.SetEntityKey("K"); k.SetEntitySubKey("n/a"); }},
      Case{25, "X Increment Type=j", [](CCurveObj& k) { k.SetXIncrementType('N'); }},
      Case{25, "X Increment Type=JJ", [](CCurveObj& k) { k.SetXIncrementType('N'); }},
      Case{21, "Symbol Factor=7", [](CCurveObj& k) { k.SetSymbolFactor(4); }, 3.51},
      Case{21, "Symbol Factor=7", [](CCurveObj& k) { k.SetSymbolFactor(7); }, 3.52},
      Case{21, "Symbol Factor=6", [](CCurveObj&) {}, 3.0},
      Case{23, "Symbol Deselect Color=9 9 9", [](CCurveObj&) {}},  // the second entry counts
      Case{31, "-0, 0.1, 1e-310, 99, trailing", [](CCurveObj&) {}},  // extra values and text
      Case{33, "0, 1, 2,", [](CCurveObj&) {}}}) {  // no blank after the last comma
    // clang-format on
    SCOPED_TRACE(c.text);
    CCurveObj expected = SampleCurve(3);
    c.expect(expected);
    expected.ScaleCurve();
    EXPECT_TRUE(ReadCurve(Damaged(3, c.line, c.text), c.applVersion) == expected);
  }
}

// Each case puts a text in place of a line of the stored 13-point sample curve (null: drops the
// line); the report must name the entry given ("" for none).
TEST(CurveRead, RefusesDamageNamingTheEntryAndLeavesTheCurve) {
  using Case = std::tuple<int, const char*, const char*>;
  for (auto [line, text, entry] :
       {Case{24, nullptr, "Symbol Deselect Color"},
        Case{1, "Number Of Curve Points=-1", "Number Of Curve Points"},
        Case{1, "Number Of Curve Points=2000000000", ""},
        Case{20, "Symbol Color=1 2", "Symbol Color"}, Case{31, "1, 2, 3, ", ""},
        Case{33, "1, x, ", ""}, Case{35, "1, 256, ", ""}, Case{32, "", ""}}) {
    SCOPED_TRACE(text ? text : "dropped");
    ReportRecorder reports;
    LoadArchive ar(Damaged(13, line, text), 1);
    CCurveObj curve = SampleCurve(3, 2);
    g_largestAllocation = 0;
    EXPECT_EQ(ThrownArchiveCause([&] { ar->Read(curve); }), CArchiveException::badIndex);
    EXPECT_LT(g_largestAllocation, 100'000u);  // no room made for a count the file cannot hold
    EXPECT_TRUE(curve == SampleCurve(3, 2));   // also not rescaled
    const std::string& box = reports.boxes.at(0).text;
    const std::size_t named = box.find("Section/Entry: ");
    EXPECT_EQ(named == box.npos ? "" : box.substr(named + 15), entry);
  }
}

TEST(CurveRead, IsAllOrNothingAtEveryLine) {
  CCurveObj sample = SampleCurve(25);
  ExpectAllOrNothing([&](CArchiveEx& ar) { return ar.Write(sample); },
                     [](CArchiveEx& ar, CCurveObj& curve) { return ar.Read(curve); },
                     SampleCurve(4, 3));
}

}  // namespace
}  // namespace labarc::testing
