#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <new>
#include <tuple>
#include <vector>

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

const double kNaNs[] = {NAN, -NAN, std::bit_cast<double>(0x7FF0'0000'0000'0001),
                        std::bit_cast<double>(0xFFF8'0000'0000'0ABC)};
const double kAwkward[] = {-0.0,     0.1,        1e-310,
                           -DBL_MAX, 123456.789, -INFINITY,  // and NaNs
                           kNaNs[1], kNaNs[2],   kNaNs[3]};

// A curve with characteristics away from their defaults and awkward coordinates.
CCurveObj SampleCurve(int numPoints, int seed = 1) {
  CCurveObj curve(numPoints);
  curve.SetName(CString(std::string("Sample ") + static_cast<char>('A' + seed)));
  curve.SetEntityKey("Run"), curve.SetEntitySubKey("Batch 3"), curve.SetXIncrementType('J');
  curve.SetHasEntitySubKey(seed == 1), curve.SetSymbolType(-1), curve.SetSymbolFactor(5 + seed);
  for (int i = 0; i < numPoints; ++i) {
    CURVEPOINT point{static_cast<char>(i * seed), kAwkward[i * seed % 9], i / 3.0 + seed};
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

// Every kind of double has its own text: signed zero, infinities, and NaNs with their sign and,
// unless it is the quiet default, their payload.
TEST(CurveText, MatchesTheStoredLayoutLineForLine) {
  CCurveObj curve(14);
  curve.SetYIncrementType('J'), curve.SetYIncrement(CCurveObj::LOGARITHMIC);
  const double y[] = {-0.0,    kNaNs[0], kNaNs[1], kNaNs[2],   INFINITY, -INFINITY, 5e-324,
                      DBL_MAX, -1e20,    0.1,      123456.789, kNaNs[3], 1e21,      2};
  for (int i = 0; i < 14; ++i) {
    CURVEPOINT point{static_cast<char>(i == 13 ? -1 : i % 3), i * 0.5, y[i]};
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
      "-0, nan, -nan, nan(0x1), inf, -inf, 5e-324, 1.7976931348623157e+308, -1e+20, 0.1, "
      "123456.789, -nan(0x8000000000abc), ", "1e+21, 2, ",
      "0, 1, 2, 0, 1, 2, 0, 1, 2, 0, 1, 2, ", "0, 255, "}));
  // clang-format on
}

// Equal stored texts mean equal curves: every characteristic is stored, and each coordinate as
// its shortest exact text (which, unlike ==, also lets NaN coordinates compare). A read is all
// or nothing: cut or damaged at any line, it leaves the curve as it was.
TEST(CurveRead, RoundTripKeepsEveryCharacteristicAndPointExactly) {
  for (std::size_t n : {0, 1, 12, 13, 25, 1'000'000}) {
    SCOPED_TRACE(n);
    const std::string text = Store(SampleCurve(static_cast<int>(n)));
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 31 + 3 * ((n + 11) / 12));
    const CCurveObj read = ReadCurve(text);
    EXPECT_TRUE(n < 1000 || g_largestAllocation == n * sizeof(CURVEPOINT));  // room made once
    EXPECT_TRUE(Store(read) == text);  // no diff: that of texts this long would not fit in memory
    if (n != 25) continue;
    ExpectAllOrNothing([&](CArchiveEx& ar) { return ar.Write(read); },
                       [](CArchiveEx& ar, CCurveObj& curve) { return ar.Read(curve); },
                       SampleCurve(2, 3));  // no NaN, so that == compares it
    CCurveObj copy = read;  // characteristics taken from nothing or from itself change nothing
    copy.CopyCurveCharacteristics(nullptr, 0), copy.CopyCurveCharacteristics(&copy, 0);
    EXPECT_TRUE(Store(copy) == text);
  }
}

// A curve given a new count is a fresh curve of that count that kept its characteristics: no
// point, extent or scaled state of before survives.
TEST(CurvePoints, ResetToACountKeepsOnlyTheCharacteristics) {
  for (int count : {-3, 0, 2, 40}) {
    CCurveObj curve = SampleCurve(25, 2);
    curve.ScaleCurve();
    curve.ResetPoints(count);
    CCurveObj expected(count);
    CCurveObj sample = SampleCurve(0, 2);
    expected.CopyCurveCharacteristics(&sample, 0);
    EXPECT_TRUE(curve == expected) << count;
    EXPECT_TRUE(curve.GetStoredPoints().empty() && !curve.IsScaled()) << count;
    CURVEPOINT point{1, 1, 1};
    EXPECT_TRUE(curve.GetCurvePoint(count - 1, &point) == (count > 0) &&
                point == (count > 0 ? CURVEPOINT{} : CURVEPOINT{1, 1, 1}))
        << count;
  }
}

// The extents span the coordinates; a NaN takes no part wherever it stands, and an axis with
// nothing else spans 0 to 0.
TEST(CurveExtents, SpanThePointsLeavingNaNsOut) {
  using Points = std::vector<CURVEPOINT>;
  using Extents = CCurveObj::EXTENTS;
  for (auto [points, extents] :
       {std::pair{Points{}, Extents{0, 0, 0, 0}},
        {Points{{0, 3, -5}, {0, 1, -1}, {0, 2, -7}}, {1, 3, -7, -1}},
        {Points{{0, NAN, -2}, {0, 4, NAN}, {0, 6, -3}, {0, -NAN, 9}}, {4, 6, -3, 9}},
        {Points{{0, NAN, NAN}, {0, -INFINITY, 1}, {0, 5, INFINITY}}, {-INFINITY, 5, 1, INFINITY}},
        {Points{{0, NAN, 8}}, {0, 0, 8, 8}}}) {
    CCurveObj curve(static_cast<int>(points.size()));
    CURVEPOINT stale{0, 1e9, 1e9};  // the extents of earlier points must not stay
    if (!points.empty()) curve.SetCurvePoint(0, stale), curve.ScaleCurve();
    for (int i = 0; i < curve.GetNumPoints(); ++i) curve.SetCurvePoint(i, points[i]);
    curve.ScaleCurve();
    const Extents& e = curve.GetExtents();
    EXPECT_TRUE(e == extents) << e.dMinX << " " << e.dMaxX << " " << e.dMinY << " " << e.dMaxY;
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
// line); the report must name the entry given and the point line's problem. A count the file
// cannot hold is refused before room is made for it, and the curve is left as it was, not even
// rescaled.
TEST(CurveRead, RefusesDamageNamingTheEntryAndLeavesTheCurve) {
  using Case = std::tuple<int, const char*, const char*>;
  for (auto [line, text, entry] :
       {Case{24, nullptr, "Symbol Deselect Color"},
        Case{1, "Number Of Curve Points=-1", "Number Of Curve Points"},
        Case{1, "Number Of Curve Points=2000000000",
             "Number Of Curve Points\nthe rest of the file cannot hold that many"},
        Case{20, "Symbol Color=1 2", "Symbol Color"},
        Case{31, "1, 2, 3, ",
             "x values of curve \"Sample B\"\nthe point line holds 3 values, the "
             "curve needs 12"},
        Case{33, "1, x, ", "y values of curve \"Sample B\""},
        Case{35, "1, 256, ", "flags of curve \"Sample B\""},
        Case{32, "",
             "x values of curve \"Sample B\"\nthe point line holds 0 values, the curve "
             "needs 1"},
        Case{1, "Number Of Curve Points=14",  // one too many
             "x values of curve \"Sample B\"\nthe point line holds 1 values, the curve needs 2"}}) {
    SCOPED_TRACE(text ? text : "dropped");
    ReportRecorder reports;
    LoadArchive ar(Damaged(13, line, text), 1);
    CCurveObj curve = SampleCurve(3, 2);
    g_largestAllocation = 0;
    EXPECT_EQ(ThrownArchiveCause([&] { ar->Read(curve); }), CArchiveException::badIndex);
    EXPECT_LT(g_largestAllocation, 100'000u);
    EXPECT_TRUE(curve == SampleCurve(3, 2));
    const std::string& box = reports.boxes.at(0).text;
    const std::size_t named = box.find("Section/Entry: ");
    EXPECT_EQ(named == box.npos ? "" : box.substr(named + 15), entry);
  }
}

// A hostile count over many short values: the working memory of the read follows the file's
// length, whatever count the file claims. Measured in a child process, from its peak resident size.
TEST(CurveRead, MemoryIsBoundedByTheFileNotByTheCount) {
  constexpr std::uint64_t kValueLines = 700'000;  // 12 values "1, " each: 25 MB
  constexpr std::uint64_t kLineBytes = 12 * 3 + 2;
  const TempFolder folder;
  const std::string path = folder / "hostile.txt";
  std::string head;
  {
    StoreArchive store;
    store->Write(CCurveObj(0));
    head = store.Text();
  }
  const std::uint64_t size = head.size() + kValueLines * kLineBytes;
  // Far more points than the file holds; as many as its values could hold.
  for (const std::uint64_t claimed : {std::uint64_t{2'000'000'000}, kValueLines * kLineBytes / 6}) {
    SCOPED_TRACE(claimed);
    {
      std::ofstream file(path, std::ios::binary | std::ios::trunc);
      std::string text = head;
      text.replace(text.find("Points=0"), 8, "Points=" + std::to_string(claimed));
      file << text;
      std::string line;
      for (int i = 0; i < 12; ++i) line += "1, ";
      line += "\r\n";
      for (std::uint64_t i = 0; i < kValueLines; ++i) file << line;
    }
    const pid_t child = ::fork();
    if (child == 0) {
      rusage before{}, after{};
      ::getrusage(RUSAGE_SELF, &before);
      CFile file(path.c_str(), CFile::modeRead);
      CArchive host(&file, CArchive::load);
      CArchiveEx ar(&host, CString(kApplName), kApplVersion, 0);
      CCurveObj curve;
      const int read = ar.Read(curve);
      ::getrusage(RUSAGE_SELF, &after);
      const std::uint64_t grown = static_cast<std::uint64_t>(after.ru_maxrss - before.ru_maxrss)
                                  << 10;
      std::fprintf(stderr, "read %d, peak grew by %llu bytes for a file of %llu\n", read,
                   static_cast<unsigned long long>(grown), static_cast<unsigned long long>(size));
      ::_exit(read == 0 && grown <= 4 * size + (std::uint64_t{64} << 20) ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_EQ(status, 0) << "see the child's line above";
  }
}

}  // namespace
}  // namespace labarc::testing
