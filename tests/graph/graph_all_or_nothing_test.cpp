// Every graph composite reads back what it wrote, leaves the members without entries as the
// target had them, and changes nothing when its lines are cut or damaged anywhere.
#include <cstring>

#include "graph/graph_samples.h"
#include "support/all_or_nothing.h"

namespace labarc::testing {
namespace {

// The geometry's name lines are read without being looked at.
bool IsNameLine(std::string_view line) { return line.find('=') == line.npos; }

template <class T>
void ExpectComposite(const T& value, const T& different,
                     bool (*unread)(std::string_view) = nullptr) {
  ExpectAllOrNothing([&](CArchiveEx& ar) { return ar.Write(value); },
                     [](CArchiveEx& ar, T& target) { return ar.Read(target); }, different, unread);
}

TEST(GraphAllOrNothingTest, EveryCompositeUnchangedWhenCutOrSpoiledAnywhere) {
  _GEOMETRY other{};
  other.dGPMax[3] = 7;
  ExpectComposite(SampleGeometry(), other, IsNameLine);
  ExpectComposite(SampleAxis().tickLabel, _TICKLABEL{});
  ExpectComposite(SampleAxis().tickMark, TICKMARK{});
  ExpectComposite(SampleAxis(), OtherAxis());
  ExpectComposite(SampleLegend(), OtherLegend());
  ExpectComposite(SampleWindow(), OtherWindow());
  ExpectComposite(SampleResults(), OtherResults());
}

// Reads `stored` into `target` and expects `expected`: the stored members of the sample, the
// unstored ones of the target.
template <class T>
void ExpectRoundTrip(const T& stored, T target, const T& expected) {
  LoadArchive load(Stored(stored));
  ASSERT_EQ(load->Read(target), 1);
  EXPECT_TRUE(target == expected);
}

TEST(GraphRoundTripTest, StoredMembersReadBackAndTheOthersStay) {
  {
    const _GEOMETRY sample = SampleGeometry();
    _GEOMETRY read{};
    LoadArchive load(Stored(sample));
    ASSERT_EQ(load->Read(read), 1);
    EXPECT_EQ(std::memcmp(&read, &sample, sizeof read), 0);  // doubles bit for bit
  }
  ExpectRoundTrip(SampleAxis().tickLabel, _TICKLABEL{}, SampleAxis().tickLabel);
  ExpectRoundTrip(SampleAxis().tickMark, TICKMARK{}, SampleAxis().tickMark);

  _AXIS axis = SampleAxis();
  const _AXIS otherAxis = OtherAxis();
  axis.nPixelStart = otherAxis.nPixelStart;
  axis.dPixelsPerUnit = otherAxis.dPixelsPerUnit;
  axis.rcHitArea = otherAxis.rcHitArea;
  ExpectRoundTrip(SampleAxis(), otherAxis, axis);

  CLegend legend = SampleLegend();
  legend.m_nCurveCount = 3;
  legend.m_strTitle = "Curves";
  legend.m_nDrawGeneration = 17;
  legend.m_bTracking = TRUE;
  ExpectRoundTrip(SampleLegend(), OtherLegend(), legend);

  _WINDOW window = SampleWindow();
  window.legend = legend;
  window.legend.m_nDrawGeneration = 23;
  ExpectRoundTrip(SampleWindow(), OtherWindow(), window);

  CResultsWnd results = SampleResults();
  results.m_strResults = "y = 2x + 1";
  results.m_nResultsLines = 1;
  results.m_nTextGeneration = 9;
  results.m_ptGrab = POINT{3, 4};
  ExpectRoundTrip(SampleResults(), OtherResults(), results);
}

}  // namespace
}  // namespace labarc::testing
