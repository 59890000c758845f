// Every graph composite reads back what it wrote, leaves the members without entries as the
// target had them, and changes nothing when its lines are cut or damaged anywhere.
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

// A read takes every stored member and leaves the others as the target had them.
template <class T>
void ExpectRoundTrip(const T& sample, T target, const T& expected) {
  LoadArchive load(Stored(sample));
  ASSERT_EQ(load->Read(target), 1);
  EXPECT_TRUE(target == expected);
}

TEST(GraphRoundTripTest, StoredMembersReadBackAndTheOthersStay) {
  ExpectRoundTrip(SampleAxis(), OtherAxis(), WithOtherAxisUnstored(SampleAxis()));
  ExpectRoundTrip(SampleLegend(), OtherLegend(), WithOtherLegendsUnstored(SampleLegend()));
  _WINDOW window = SampleWindow();
  window.legend = WithOtherLegendsUnstored(SampleLegend());
  ExpectRoundTrip(SampleWindow(), OtherWindow(), window);
  ExpectRoundTrip(SampleResults(), OtherResults(), WithOtherResultsUnstored(SampleResults()));
}

}  // namespace
}  // namespace labarc::testing
