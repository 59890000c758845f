#include <algorithm>
#include <bit>
#include <cstdlib>
#include <limits>
#include <new>

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

// A curve with every characteristic away from its default and awkward coordinates.
CCurveObj SampleCurve(int numPoints, int seed = 1) {
  CCurveObj curve(numPoints);
  curve.SetName(CString(std::string("Sample ") + static_cast<char>('A' + seed)));
  curve.SetIdentifier("id-7");
  curve.SetEntityKey("Run");
  curve.SetEntitySubKey(seed == 1 ? "Batch 3" : "N/A");
  curve.SetHasEntitySubKey(seed == 1);
  curve.SetLineColor(RGB(200, 10, seed));
  curve.SetSymbolType(-1);
  curve.SetSymbolFactor(5 + seed);
  curve.SetSymbolDeselectColor(RGB(1, 2, 3));
  curve.SetXIncrementType('J');
  curve.SetYIncrement(CCurveObj::DATE);
  curve.SetXTitle("Time [s]");
  const double awkward[] = {-0.0,       0.1,
                            1e-310,     -1.7976931348623157e308,
                            123456.789, std::numeric_limits<double>::quiet_NaN()};
  for (int i = 0; i < numPoints; ++i) {
    CURVEPOINT point{static_cast<char>(i * seed), awkward[i % 6] * seed, i / 3.0 + seed};
    curve.SetCurvePoint(i, point);
  }
  return curve;
}

// Characteristics equal and every point equal bit for bit.
void ExpectSameCurve(const CCurveObj& actual, const CCurveObj& expected) {
  CCurveObj a, e;
  a.CopyCurveCharacteristics(const_cast<CCurveObj*>(&actual), 0);
  e.CopyCurveCharacteristics(const_cast<CCurveObj*>(&expected), 0);
  EXPECT_TRUE(a == e);
  ASSERT_EQ(actual.GetNumPoints(), expected.GetNumPoints());
  for (int i = 0; i < actual.GetNumPoints(); ++i) {
    CURVEPOINT p, q;
    actual.GetCurvePoint(i, &p);
    expected.GetCurvePoint(i, &q);
    ASSERT_EQ(p.cFlag, q.cFlag) << i;
    ASSERT_EQ(std::bit_cast<std::uint64_t>(p.dX), std::bit_cast<std::uint64_t>(q.dX)) << i;
    ASSERT_EQ(std::bit_cast<std::uint64_t>(p.dY), std::bit_cast<std::uint64_t>(q.dY)) << i;
  }
}

std::string Store(CCurveObj curve) {
  StoreArchive ar;
  EXPECT_EQ(ar->Write(curve), 1);
  return ar.Text();
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  for (std::size_t at = 0; at < text.size(); at = text.find("\r\n", at) + 2)
    lines.push_back(text.substr(at, text.find("\r\n", at) - at));
  return lines;
}

std::string Join(const std::vector<std::string>& lines, std::size_t count) {
  std::string text;
  for (std::size_t i = 0; i < count && i < lines.size(); ++i) text += lines[i] + "\r\n";
  return text;
}

// The stored sample curve with the entry `label` given `value` instead.
std::string WithEntry(const std::string& label, const std::string& value, int points = 3) {
  std::vector<std::string> lines = SplitLines(Store(SampleCurve(points)));
  *std::find_if(lines.begin(), lines.end(), [&](auto& l) { return l.starts_with(label + "="); }) =
      label + "=" + value;
  return Join(lines, lines.size());
}

CCurveObj ReadCurve(const std::string& text, double applVersion = kApplVersion) {
  LoadArchive ar(text, 0, kApplName, applVersion);
  CCurveObj curve = SampleCurve(2, 2);
  EXPECT_EQ(ar->Read(curve), 1);
  EXPECT_TRUE(curve.IsScaled());
  return curve;
}

TEST(CurveText, MatchesTheStoredLayoutLineForLine) {
  CCurveObj curve(14);
  curve.SetName("Flow");
  curve.SetEntityKey("Plant");
  curve.SetYIncrementType('J');
  curve.SetYIncrement(CCurveObj::LOGARITHMIC);
  for (int i = 0; i < 14; ++i) {
    CURVEPOINT point{1, i * 0.5, -i * 1e20};
    curve.SetCurvePoint(i, point);
  }
  // clang-format off
  EXPECT_EQ(Store(curve), Lines({
      "Curve Name=Flow", "Number Of Curve Points=14", "Identifier=", "Entity Key=Plant",
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

class CurveRoundTrip : public ::testing::TestWithParam<int> {};

TEST_P(CurveRoundTrip, KeepsEveryCharacteristicAndPointBitForBit) {
  const int n = GetParam();
  const CCurveObj original = SampleCurve(n);
  const std::string text = Store(original);
  const std::vector<std::string> lines = SplitLines(text);
  ASSERT_EQ(lines.size(), 31u + 3 * static_cast<std::size_t>((n + 11) / 12));
  for (std::size_t i = 31; i < lines.size(); ++i) EXPECT_TRUE(lines[i].ends_with(", "));
  const CCurveObj read = ReadCurve(text);
  ExpectSameCurve(read, original);
  EXPECT_EQ(read.GetHasEntitySubKey(), 1);
}

INSTANTIATE_TEST_SUITE_P(Sizes, CurveRoundTrip, ::testing::Values(0, 1, 12, 13, 25, 1'000'000));

TEST(CurveRead, MakesRoomForTheCurveOnceAndTrustsNoCountBeyondTheFile) {
  LoadArchive whole(Store(SampleCurve(100'000)));
  CCurveObj curve;
  g_largestAllocation = 0;
  EXPECT_EQ(whole->Read(curve), 1);
  EXPECT_EQ(g_largestAllocation, 100'000 * sizeof(CURVEPOINT));

  LoadArchive damaged(WithEntry("Number Of Curve Points", "2000000000", 25));
  g_largestAllocation = 0;
  EXPECT_EQ(damaged->Read(curve), 0);
  EXPECT_LT(g_largestAllocation, 100'000u);
}

struct EntryCase {
  const char* label;
  const char* value;
  std::function<void(const CCurveObj&)> check;
  double applVersion = kApplVersion;
};

class CurveEntryRead : public ::testing::TestWithParam<EntryCase> {};

TEST_P(CurveEntryRead, AppliesTheEntrysRule) {
  GetParam().check(
      ReadCurve(WithEntry(GetParam().label, GetParam().value), GetParam().applVersion));
}

auto Key(const char* key, const char* subKey, int has) {
  return [=](const CCurveObj& c) {
    EXPECT_EQ(c.GetEntityKey(), key);
    EXPECT_EQ(c.GetEntitySubKey(), subKey);
    EXPECT_EQ(c.GetHasEntitySubKey(), has);
  };
}
auto XType(char type) {
  return [=](const CCurveObj& c) { EXPECT_EQ(c.GetXIncrementType(), type); };
}
auto Factor(int factor) {
  return [=](const CCurveObj& c) { EXPECT_EQ(c.GetSymbolFactor(), factor); };
}
auto Deselect(unsigned long colour) {
  return [=](const CCurveObj& c) { EXPECT_EQ(c.GetSymbolDeselectColor(), colour); };
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Rules, CurveEntryRead, ::testing::Values(
    EntryCase{"Entity Key", "K", Key("K", "N/A", 0)},
    EntryCase{"Entity Key", "K::S::T", Key("K", "S::T", 1)},
    EntryCase{"Entity Key", "::S", Key("::S", "N/A", 0)},
    EntryCase{"Entity Key", "K::n/a", Key("K", "n/a", 1)},
    EntryCase{"X Increment Type", "J", XType('J')}, EntryCase{"X Increment Type", "j", XType('N')},
    EntryCase{"X Increment Type", "", XType('N')}, EntryCase{"X Increment Type", "JJ", XType('N')},
    EntryCase{"Symbol Factor", "7", Factor(4), 3.51}, EntryCase{"Symbol Factor", "7", Factor(7), 3.52},
    EntryCase{"Symbol Factor", "6", Factor(6), 3.0},
    EntryCase{"Symbol Deselect Color", "9 9 9", Deselect(RGB(1, 2, 3))}));
// clang-format on

TEST(CurveRead, AcceptsExtraValuesAndTextAfterTheLastValue) {
  std::vector<std::string> lines = SplitLines(Store(SampleCurve(12)));
  lines[31] += "99, trailing";
  lines[32].pop_back();  // no blank after the last comma
  ExpectSameCurve(ReadCurve(Join(lines, lines.size())), SampleCurve(12));
}

// Each case edits line `line` of the stored 13-point curve (-1: drops the line before the
// points, the second "Symbol Deselect Color").
struct BadCurve {
  int line;
  const char* text;
  const char* entry;  // the entry named in the report; "" for none
};

class CurveRefused : public ::testing::TestWithParam<BadCurve> {};

TEST_P(CurveRefused, ReportsTheEntryAndLeavesTheCurve) {
  std::vector<std::string> lines = SplitLines(Store(SampleCurve(13)));
  if (GetParam().line < 0)
    lines.erase(lines.begin() + 24);
  else
    lines[GetParam().line] = GetParam().text;
  ReportRecorder reports;
  LoadArchive ar(Join(lines, lines.size()), 1);
  CCurveObj curve = SampleCurve(3, 2);
  EXPECT_EQ(ThrownArchiveCause([&] { ar->Read(curve); }), CArchiveException::badIndex);
  ExpectSameCurve(curve, SampleCurve(3, 2));
  EXPECT_FALSE(curve.IsScaled());
  ASSERT_EQ(reports.boxes.size(), 1u);
  const std::string& box = reports.boxes[0].text;
  const std::size_t named = box.find("Section/Entry: ");
  EXPECT_EQ(named == box.npos ? "" : box.substr(named + 15), GetParam().entry);
}

INSTANTIATE_TEST_SUITE_P(
    Damage, CurveRefused,
    ::testing::Values(BadCurve{-1, "", "Symbol Deselect Color"},
                      BadCurve{1, "Number Of Curve Points=-1", "Number Of Curve Points"},
                      BadCurve{1, "Number Of Curve Points=12x", "Number Of Curve Points"},
                      BadCurve{1, "Number Of Curve Points=2000000000", ""},
                      BadCurve{20, "Symbol Color=1 2", "Symbol Color"},
                      BadCurve{31, "1, 2, 3, ", ""}, BadCurve{33, "1, x, ", ""},
                      BadCurve{35, "1, 256, ", ""}, BadCurve{32, "", ""}));

// Whatever line of a stored curve is cut off or spoiled, the read fails, changes nothing and
// does not rescale.
TEST(CurveRead, IsAllOrNothingAtEveryLine) {
  ExpectAllOrNothing(
      [](CArchiveEx& ar) {
        CCurveObj curve = SampleCurve(25);
        return ar.Write(curve);
      },
      [](CArchiveEx& ar, CCurveObj& curve) { return ar.Read(curve); }, SampleCurve(4, 3));
}

}  // namespace
}  // namespace labarc::testing
