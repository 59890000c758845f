// Every graph composite: its exact text, a read that takes the stored members and leaves the
// others, and the rules its readers apply. (Every composite's all-or-nothing read, at every line
// cut or damaged, is the registry test's.)
#include <algorithm>
#include <climits>
#include <functional>
#include <string>
#include <tuple>
#include <type_traits>

#include "support/all_or_nothing.h"

namespace labarc::testing {
namespace {

// Samples with every stored member set: ints at their extremes, negative codes, an axis minimum
// above its maximum, doubles that need all their digits, a negative zero.
const LOGFONT kFont{-13, 0, 0, 0, 700, 1, 0, 0, 0, 3, 2, 1, 34, "Arial"};
_TEXT SampleText(const char* wording) {
  return _TEXT{1, RGB(0, 0, 128), 5, -6, RECT{40, 0, 280, 18}, kFont, CString(wording)};
}

_GEOMETRY SampleGeometry() {
  // clang-format off
  _GEOMETRY g{INT_MIN, INT_MAX, 10, 20, -3, 0, {1, 2, 3, 4}, {-5, -6, 700, 800}, {}, {}, {}, {},
              {}, {}, {}, 0.1, 1e-300, 1, 2, 3, 4, 5, 6, -2147483647L - 1, 2147483647L};
  // clang-format on
  for (int slot = 0; slot < GEOMETRY_AXIS_SLOTS; ++slot) {
    g.dGPPosMin[slot] = g.dGPMins[slot] = 0.001 * (slot + 1);
    g.dGPMin[slot] = g.dGPMaxs[slot] = -10.5 * slot;
    g.dGPMax[slot] = g.dGPDeltas[slot] = 100.0 / 3 + slot;
    g.dGPDelta[slot] = -1e9 + slot;
  }
  return g;
}

_AXIS SampleAxis() {
  _AXIS a;
  a.nActive = 1, a.text = SampleText("Dose"), a.rcLocation = RECT{10, 20, 30, 40}, a.nType = -1;
  a.nPos = INT_MAX, a.nScaling = INT_MIN, a.tickLabel = _TICKLABEL{kFont, 3, RGB(1, 2, 3), -2};
  a.tickMark = TICKMARK{4, 2, -9, 0.1, 1, 0, 1, 2, 0, 1, 0, 3}, a.crColor = RGB(255, 0, 7);
  a.nGPLogOrder = -4, a.dGPAxisMin = 50, a.dGPAxisMax = -12.5, a.dGPIncrement = 1.0 / 3;
  return a;
}

CLegend SampleLegend() {
  CLegend l;
  static_cast<CRectTracker&>(l) = CRectTracker(CRect(200, 30, 300, 90), 5);
  l.m_nLegendShown = 1, l.m_nLegendFloat = -1, l.m_nLegendPosition = 2;
  l.m_dLocationPercentX = 12.5, l.m_dLocationPercentY = 0.1;
  l.m_lLegendSizeX = 2147483647L, l.m_lLegendSizeY = -2147483647L - 1;
  l.m_crLegendColor = RGB(10, 20, 30), l.m_nLegendFontHeight = 11, l.m_lfLegendFont = kFont;
  return l;
}

_WINDOW SampleWindow() {
  _WINDOW w;
  w.nModify = 1, w.nCurveCalc = -1, w.nCalcGeometry = INT_MAX, w.nState = INT_MIN;
  w.nGraphType = 3, w.nOriginLocation = 1, w.titles[0] = SampleText("Dose response");
  w.titles[1] = SampleText(""), w.titles[2] = SampleText("Run 7 = final"), w.nTitleCount = -5;
  w.legend = SampleLegend(), w.crBackgroundColor = RGB(255, 255, 255);
  return w;
}

// Values that read back as stored: no negative tracker coordinate, percents above 0.1 with at
// most six digits.
CResultsWnd SampleResults() {
  CResultsWnd r;
  static_cast<CRectTracker&>(r) = CRectTracker(CRect(0, 5, 400, 300), 1);
  r.m_nResultsShown = 1, r.m_nResultsPosition = -3, r.m_dptResultsPercent = DPOINT{50, 12.5};
  r.m_ptResultsSize = POINT{320, -240}, r.m_lfResultsFont = kFont, r.m_nResultsHeight = 14;
  r.m_nResultsLeftMargin = INT_MIN, r.m_nResultsTopMargin = INT_MAX;
  r.m_sizeResultsCharSize = CSize(7, 15);
  return r;
}

// `into` with its members without entries set, which a read must leave as they are.
template <class T>
T WithUnstored(T into) {
  if constexpr (std::is_same_v<T, _AXIS>) {
    into.nPixelStart = 7, into.dPixelsPerUnit = 2.5, into.rcHitArea = CRect(1, 2, 3, 4);
  } else if constexpr (std::is_same_v<T, CLegend>) {
    into.m_bTracking = TRUE, into.m_nCurveCount = 3, into.m_strTitle = "Curves";
    into.m_nDrawGeneration = 17;
  } else if constexpr (std::is_same_v<T, _WINDOW>) {
    into.legend = WithUnstored(into.legend);
  } else if constexpr (std::is_same_v<T, CResultsWnd>) {
    into.m_ptGrab = POINT{3, 4}, into.m_strResults = "y = 2x + 1", into.m_nResultsLines = 1;
    into.m_nTextGeneration = 9;
  }
  return into;
}

// The text of `value` written on its own.
template <class T>
std::string Stored(T value) {
  StoreArchive store;
  EXPECT_EQ(store->Write(value), 1);
  return store.Text();
}

// The geometry's text: each slot's block opens with a name line.
// clang-format off
const std::string kGeometryText = Lines({
    "LP Start X=-2147483648", "LP Start Y=2147483647", "LP End X=10", "LP End Y=20",
    "LP Delta X=-3", "LP Delta Y=0", "LP Plot Loc=1 2 3 4", "LP Graph Loc=-5 -6 700 800",
    "X Axis", "GP Pos Min=0.001", "GP Min=-0", "GP Max=33.333333333333336", "GP Mins=0.001",
    "GP Maxs=-0", "GP Delta=-1e+09", "GP Deltas=33.333333333333336",
    "Y Axis", "GP Pos Min=0.002", "GP Min=-10.5", "GP Max=34.333333333333336", "GP Mins=0.002",
    "GP Maxs=-10.5", "GP Delta=-999999999", "GP Deltas=34.333333333333336",
    "Y Alt Axis", "GP Pos Min=0.003", "GP Min=-21", "GP Max=35.333333333333336", "GP Mins=0.003",
    "GP Maxs=-21", "GP Delta=-999999998", "GP Deltas=35.333333333333336",
    "Active", "GP Pos Min=0.004", "GP Min=-31.5", "GP Max=36.333333333333336", "GP Mins=0.004",
    "GP Maxs=-31.5", "GP Delta=-999999997", "GP Deltas=36.333333333333336",
    "X Factor=0.1", "Y Factor=1e-300", "X Adj Screen=1", "Y Adj Screen=2", "X Screen=3",
    "Y Screen=4", "Y Caption=5", "Y Menu Bar=6", "X Scaling Factor=-2147483648",
    "Y Scaling Factor=2147483647"});
// clang-format on

// `sample` is stored as `golden` and read into a target without its values.
template <class T>
void ExpectComposite(const T& sample, const std::string& golden) {
  const std::string text = Stored(sample);
  EXPECT_EQ(text, golden);
  LoadArchive load(text);
  T target = WithUnstored(T());
  ASSERT_EQ(load->Read(target), 1);
  EXPECT_TRUE(SameValue(target, WithUnstored(sample)));
}

// Nested runs are taken from their own writers, which their own tests check line for line.
TEST(GraphEntriesTest, EveryCompositesTextAndRead) {
  ExpectComposite(SampleGeometry(), kGeometryText);

  const _AXIS axis = SampleAxis();
  const std::string tickLabel =
      Stored(kFont) + Lines({"Num Digits=3", "Color=1 2 3", "Notation=-2"});
  ExpectComposite(axis.tickLabel, tickLabel);
  const std::string tickMark =
      Lines({"Minor Ticks=4", "Major Ticks=2", "Total Ticks=-9", "Tick Increment Value=0.1",
             "Minor Inside=1", "Minor Outside=0", "Minor Grid=1", "Minor Grid Line Type=2",
             "Major Inside=0", "Major Outside=1", "Major Grid=0", "Major Grid Line Type=3"});
  ExpectComposite(axis.tickMark, tickMark);
  ExpectComposite(axis, Lines({"Active=1"}) + Stored(axis.text) +
                            Lines({"Location=10 20 30 40", "Type=-1", "Pos=2147483647",
                                   "Scaling=-2147483648", "Direction=0"}) +
                            tickLabel + tickMark +
                            Lines({"Color=255 0 7", "GP Log Order=-4", "GP Axis Min=50",
                                   "GP Axis Max=-12.5", "GP Increment=0.3333333333333333"}));

  const CLegend legend = SampleLegend();
  const std::string legendText =
      Stored(CRectTracker(legend)) +
      Lines({"Legend Shown=1", "Legend Float=-1", "Legend Position=2", "Legend Display=0",
             "Location Percent X=12.5", "Location Percent Y=0.1", "Legend Size X=2147483647",
             "Legend Size Y=-2147483648", "Legend Color=10 20 30", "Legend Font Height=11"}) +
      Stored(kFont);
  ExpectComposite(legend, legendText);

  const _WINDOW window = SampleWindow();
  ExpectComposite(
      window, Lines({"Modify=1", "Curve calc=-1", "Calc Geometry=2147483647", "Enclose graph=0",
                     "State=-2147483648", "Graph type=3", "Orgin location=1"}) +
                  Stored(window.titles[0]) + Stored(window.titles[1]) + Stored(window.titles[2]) +
                  Lines({"Title Count=-5"}) + legendText + Lines({"Background Color=255 255 255"}));

  const CResultsWnd results = SampleResults();
  ExpectComposite(results,
                  Stored(CRectTracker(results)) +
                      Lines({"lpszResultsShown=1", "lpszResultsPosition=-3",
                             "lpszResultsPercent=   50  12.5", "lpszResultsSize=320 -240"}) +
                      Stored(kFont) +
                      Lines({"lpszResultsHeight=14", "lpszResultsLeftMargin=-2147483648",
                             "lpszResultsTopMargin=2147483647", "lpszResultsCharSize=7 15"}));
}

// Archives of version 1.02 and older hold three axis blocks, and slot 3 keeps the caller's
// values; newer ones, and an archive whose header was never read, hold four. Name lines are
// not looked at: any text passes. A version that is no number would pass the newer-format check
// and choose the blocks at random: it is refused, naming the entry, and the archive keeps its
// version.
TEST(GraphEntriesTest, ArchiveVersionChoosesTheGeometrysAxisBlocks) {
  using Case = std::tuple<const char*, int>;  // the header's version, the blocks (0: refused)
  for (auto [version, blocks] :
       {Case{"1.02", 3}, Case{"1.00", 3}, Case{"1", 3}, Case{"1.025", 4}, Case{"1.03", 4},
        Case{nullptr, 4}, Case{"nan", 0}, Case{"inf", 0}, Case{"-inf", 0}, Case{"NaN", 0}}) {
    SCOPED_TRACE(version ? version : "no header read");
    const std::string header =
        version ? Lines({"[Archive Header]", std::string("Archive Version Number=") + version,
                         "Application Name=Plotter", "Application Version Number=4.2"})
                : "";
    if (blocks == 0) {
      LoadArchive quiet(header);
      EXPECT_EQ(quiet->ReadHeader(), 0);
      EXPECT_EQ(quiet->GetArchiveVersion(), CArchiveEx::ARCHIVE_VERSION);
      ReportRecorder recorder;
      LoadArchive reporting(header, 1);
      EXPECT_EQ(ThrownArchiveCause([&] { reporting->ReadHeader(); }), CArchiveException::badIndex);
      EXPECT_EQ(reporting->GetArchiveVersion(), CArchiveEx::ARCHIVE_VERSION);
      ASSERT_EQ(recorder.boxes.size(), 1u);
      EXPECT_NE(recorder.boxes[0].text.find("line 2!\nFile Name: /documents/load.txt\n"
                                            "Section/Entry: Archive Version Number"),
                std::string::npos);
      continue;
    }
    std::string text = kGeometryText;
    const std::size_t active = text.find("Active"), closing = text.find("X Factor");
    if (blocks == 3) text.erase(active, closing - active);
    LoadArchive load(header + text.replace(text.find("Y Alt Axis"), 10, "Anything=at all"));
    EXPECT_EQ(version ? load->ReadHeader() : 1, 1);
    _GEOMETRY read{}, expected = SampleGeometry();
    read.dGPMax[3] = 99, read.dGPDeltas[3] = -99;
    for (auto slots :
         {&_GEOMETRY::dGPPosMin, &_GEOMETRY::dGPMin, &_GEOMETRY::dGPMax, &_GEOMETRY::dGPMins,
          &_GEOMETRY::dGPMaxs, &_GEOMETRY::dGPDelta, &_GEOMETRY::dGPDeltas})
      if (blocks == 3) (expected.*slots)[3] = (read.*slots)[3];
    ASSERT_EQ(load->Read(read), 1);
    EXPECT_TRUE(SameValue(read, expected));
  }
}

// A code out of its range fails right after its entry: on writing that line is the last one
// written; on reading the caller's value is untouched, and the one report names the entry, the
// code found and the codes allowed.
template <class T, class Code>
void ExpectCodeChecks(T value, const char* label, Code code,
                      std::initializer_list<std::pair<int, bool>> cases) {
  for (const auto& [number, passes] : cases) {
    const std::string line = std::string(label) + "=" + std::to_string(number) + "\r\n";
    SCOPED_TRACE(line);
    std::invoke(code, value) = number;
    StoreArchive store;
    EXPECT_EQ(store->Write(value), passes ? 1 : 0);
    const std::string text = store.Text();
    ASSERT_NE(text.find(line), std::string::npos);
    if (passes) continue;
    EXPECT_EQ(text.find(line) + line.size(), text.size());

    // The same line in a complete stored run, read quietly and with reports.
    std::invoke(code, value) = 0;
    std::string damaged = Stored(value);
    damaged.replace(damaged.find(std::string(label) + "=0\r\n"), strlen(label) + 4, line);
    const T other = WithUnstored(T());
    T target = other;
    LoadArchive quiet(damaged);
    EXPECT_EQ(quiet->Read(target), 0);
    EXPECT_EQ(quiet->GetCurLineNum(), static_cast<int>(std::count(text.begin(), text.end(), '\n')));
    ReportRecorder recorder;
    LoadArchive reporting(damaged, 1);
    EXPECT_EQ(ThrownArchiveCause([&] { reporting->Read(target); }), CArchiveException::badIndex);
    EXPECT_TRUE(target == other);
    ASSERT_EQ(recorder.boxes.size(), 1u);
    const auto& f = reporting->GetLastFailure();
    EXPECT_EQ(std::tie(f.kind, f.expected, f.found),
              std::tuple(CArchiveEx::FailureKind::outOfRange, CString(label),
                         CString(std::to_string(number).c_str())));
    const std::string named =
        std::string("\nSection/Entry: ") + label + "\nthe allowed values are 0 to ";
    EXPECT_NE(recorder.boxes[0].text.find(named), std::string::npos) << recorder.boxes[0].text;
  }
}

TEST(GraphEntriesTest, CodesAreCheckedAfterTheirEntry) {
  ExpectCodeChecks(SampleLegend(), "Legend Position", &CLegend::m_nLegendPosition,
                   {{-1, false}, {3, false}, {2, true}});
  ExpectCodeChecks(SampleLegend(), "Legend Display", &CLegend::m_nLegendDisplay,
                   {{3, false}, {-1, false}, {2, true}});
  ExpectCodeChecks(SampleWindow(), "Graph type", &_WINDOW::nGraphType,
                   {{4, false}, {-1, false}, {0, true}, {3, true}});
  ExpectCodeChecks(SampleWindow(), "Orgin location", &_WINDOW::nOriginLocation,
                   {{2, false}, {-1, false}, {1, true}});
  // The window's legend: its failure leaves the whole window, titles too, unchanged.
  ExpectCodeChecks(SampleWindow(), "Legend Position",
                   [](_WINDOW& w) -> int& { return w.legend.m_nLegendPosition; }, {{3, false}});
}

// The reader's clamps: tracker coordinates below 0 become 0, percents not above 0.1 become 0.1.
// The percent is written as two five-wide general numbers.
TEST(GraphEntriesTest, ResultsReaderClampsWhatItReads) {
  using Case = std::tuple<CRect, DPOINT, const char*, CRect, DPOINT>;  // stored, its text, read
  for (auto [rect, percent, text, readRect, readPercent] :
       {Case{{-5, 5, 400, 300}, {0, 50}, "    0    50", {0, 5, 400, 300}, {0.1, 50}},
        Case{{-1, -2, -3, -4}, {0.1, 0.1}, "  0.1   0.1", {0, 0, 0, 0}, {0.1, 0.1}},
        Case{{1, 2, 3, 4}, {0.2, 0.05}, "  0.2  0.05", {1, 2, 3, 4}, {0.2, 0.1}},
        Case{{1, 2, 3, 4}, {-7, 1e6}, "   -7 1e+06", {1, 2, 3, 4}, {0.1, 1e6}}}) {
    CResultsWnd stored = SampleResults(), read;
    stored.m_rect = rect;
    stored.m_dptResultsPercent = percent;
    LoadArchive load(Stored(stored));
    EXPECT_NE(Stored(stored).find(std::string("lpszResultsPercent=") + text), std::string::npos);
    ASSERT_EQ(load->Read(read), 1);
    EXPECT_TRUE(read.m_rect == readRect && SameValue(read.m_dptResultsPercent, readPercent));
  }
}

}  // namespace
}  // namespace labarc::testing
