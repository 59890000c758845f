// The stored runs of ticks, axes, legends, windows and results windows, their range checks and
// the results reader's clamps.
#include <algorithm>
#include <functional>
#include <string>
#include <tuple>

#include "graph/graph_samples.h"
#include "graph/results_describe.h"

namespace labarc::testing {
namespace {

// Nested runs are taken from their own writers, which their own tests check line for line.
TEST(LayoutEntriesTest, StoredRunsLineForLine) {
  const _AXIS axis = SampleAxis();
  const std::string tickLabel =
      Stored(kSampleFont) + Lines({"Num Digits=3", "Color=1 2 3", "Notation=-2"});
  EXPECT_EQ(Stored(axis.tickLabel), tickLabel);
  const std::string tickMark =
      Lines({"Minor Ticks=4", "Major Ticks=2", "Total Ticks=-9", "Tick Increment Value=0.1",
             "Minor Inside=1", "Minor Outside=0", "Minor Grid=1", "Minor Grid Line Type=2",
             "Major Inside=0", "Major Outside=1", "Major Grid=0", "Major Grid Line Type=3"});
  EXPECT_EQ(Stored(axis.tickMark), tickMark);
  EXPECT_EQ(Stored(axis), Lines({"Active=1"}) + Stored(axis.text) +
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
      Stored(kSampleFont);
  EXPECT_EQ(Stored(legend), legendText);

  const _WINDOW window = SampleWindow();
  EXPECT_EQ(Stored(window),
            Lines({"Modify=1", "Curve calc=-1", "Calc Geometry=2147483647", "Enclose graph=0",
                   "State=-2147483648", "Graph type=3", "Orgin location=1"}) +
                Stored(window.titles[0]) + Stored(window.titles[1]) + Stored(window.titles[2]) +
                Lines({"Title Count=-5"}) + legendText + Lines({"Background Color=255 255 255"}));

  const CResultsWnd results = SampleResults();
  EXPECT_EQ(Stored(results),
            Stored(CRectTracker(results)) +
                Lines({"lpszResultsShown=1", "lpszResultsPosition=-3",
                       "lpszResultsPercent=   50  12.5", "lpszResultsSize=320 -240"}) +
                Stored(kSampleFont) +
                Lines({"lpszResultsHeight=14", "lpszResultsLeftMargin=-2147483648",
                       "lpszResultsTopMargin=2147483647", "lpszResultsCharSize=7 15"}));
}

TEST(LayoutEntriesTest, PercentTextIsFiveWideGeneralNumbers) {
  using Case = std::tuple<double, double, const char*>;
  for (auto [x, y, text] : {Case{50, 12.5, "   50  12.5"}, Case{100, 0.5, "  100   0.5"},
                            Case{1e6, 0.25, "1e+06  0.25"}, Case{33.3333333, 7, "33.3333     7"}})
    EXPECT_EQ(labarc::ResultsPercentText(DPOINT{x, y}), text);
}

// The reader's clamps: tracker coordinates below 0 become 0, percents not above 0.1 become 0.1.
TEST(LayoutEntriesTest, ResultsReaderClampsWhatItReads) {
  using Case = std::tuple<CRect, DPOINT, CRect, DPOINT>;  // stored, then read
  for (auto [rect, percent, readRect, readPercent] :
       {Case{CRect(-5, 5, 400, 300), DPOINT{0, 50}, CRect(0, 5, 400, 300), DPOINT{0.1, 50}},
        Case{CRect(-1, -2, -3, -4), DPOINT{0.1, 0.1}, CRect(0, 0, 0, 0), DPOINT{0.1, 0.1}},
        Case{CRect(1, 2, 3, 4), DPOINT{0.2, 0.05}, CRect(1, 2, 3, 4), DPOINT{0.2, 0.1}},
        Case{CRect(1, 2, 3, 4), DPOINT{-7, 1e6}, CRect(1, 2, 3, 4), DPOINT{0.1, 1e6}}}) {
    CResultsWnd stored = SampleResults();
    stored.m_rect = rect;
    stored.m_dptResultsPercent = percent;
    CResultsWnd read;
    LoadArchive load(Stored(stored));
    ASSERT_EQ(load->Read(read), 1);
    EXPECT_TRUE(read.m_rect == readRect);
    EXPECT_EQ(read.m_dptResultsPercent.x, readPercent.x);
    EXPECT_EQ(read.m_dptResultsPercent.y, readPercent.y);
  }
}

// A code out of its range fails right after its entry: on writing the line is written and
// nothing after it; on reading the caller's value is untouched. The composite's own report,
// naming no entry, is the only one.
struct CodeCase {
  const char* label;
  int value;
  bool passes;
};

template <class T>
void ExpectCodeChecks(const T& sample, const T& other, std::function<void(T&, int)> set,
                      std::initializer_list<CodeCase> cases) {
  for (const CodeCase& c : cases) {
    SCOPED_TRACE(std::string(c.label) + "=" + std::to_string(c.value));
    T value = sample;
    set(value, c.value);
    StoreArchive store;
    EXPECT_EQ(store->Write(value), c.passes ? 1 : 0);
    const std::string text = store.Text();
    const std::string line = std::string(c.label) + "=" + std::to_string(c.value) + "\r\n";
    const std::size_t end = text.find(line) + line.size();
    ASSERT_NE(text.find(line), std::string::npos);
    if (c.passes) continue;
    EXPECT_EQ(end, text.size());

    // The same line in a complete stored run, read quietly and with reports.
    set(value, 0);
    std::string damaged = Stored(value);
    const std::string good = std::string(c.label) + "=0\r\n";
    damaged.replace(damaged.find(good), good.size(), line);
    T target = other;
    LoadArchive quiet(damaged);
    EXPECT_EQ(quiet->Read(target), 0);
    EXPECT_EQ(quiet->GetCurLineNum(), static_cast<int>(std::count(text.begin(), text.end(), '\n')));
    ReportRecorder recorder;
    LoadArchive reporting(damaged, 1);
    EXPECT_EQ(ThrownArchiveCause([&] { reporting->Read(target); }), CArchiveException::badIndex);
    EXPECT_TRUE(target == other);
    ASSERT_EQ(recorder.boxes.size(), 1u);
    EXPECT_EQ(recorder.boxes[0].text.find("Section/Entry"), std::string::npos);
  }
}

TEST(LayoutEntriesTest, CodesAreCheckedAfterTheirEntry) {
  ExpectCodeChecks<CLegend>(SampleLegend(), OtherLegend(),
                            [](CLegend& l, int v) { l.m_nLegendPosition = v; },
                            {{"Legend Position", -1, false},
                             {"Legend Position", 3, false},
                             {"Legend Position", 2, true}});
  ExpectCodeChecks<CLegend>(SampleLegend(), OtherLegend(),
                            [](CLegend& l, int v) { l.m_nLegendDisplay = v; },
                            {{"Legend Display", 3, false}, {"Legend Display", 1, true}});
  ExpectCodeChecks<_WINDOW>(SampleWindow(), OtherWindow(),
                            [](_WINDOW& w, int v) { w.nGraphType = v; },
                            {{"Graph type", 4, false},
                             {"Graph type", -1, false},
                             {"Graph type", 0, true},
                             {"Graph type", 3, true}});
  ExpectCodeChecks<_WINDOW>(SampleWindow(), OtherWindow(),
                            [](_WINDOW& w, int v) { w.nOriginLocation = v; },
                            {{"Orgin location", 2, false}, {"Orgin location", 0, true}});
  // The window's legend: its failure leaves the whole window, titles too, unchanged.
  ExpectCodeChecks<_WINDOW>(SampleWindow(), OtherWindow(),
                            [](_WINDOW& w, int v) { w.legend.m_nLegendPosition = v; },
                            {{"Legend Position", 3, false}});
}

}  // namespace
}  // namespace labarc::testing
