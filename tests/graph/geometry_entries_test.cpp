// The geometry's stored run, and the number of axis blocks that the archive version selects.
#include <cstring>
#include <string>
#include <tuple>

#include "graph/graph_samples.h"

namespace labarc::testing {
namespace {

_GEOMETRY GoldenGeometry() {
  _GEOMETRY g{1,
              2,
              3,
              4,
              5,
              6,
              {10, 20, 30, 40},
              {0, 0, 50, 60},
              {},
              {},
              {},
              {},
              {},
              {},
              {},
              2.5,
              -0.75,
              800,
              600,
              1024,
              768,
              19,
              20,
              100,
              -100};
  for (int slot = 0; slot < GEOMETRY_AXIS_SLOTS; ++slot) {
    g.dGPPosMin[slot] = 0.5;
    g.dGPMin[slot] = slot - 1.0;
    g.dGPMax[slot] = 10.0 * (slot + 1);
    g.dGPMins[slot] = -1.5;
    g.dGPMaxs[slot] = slot + 0.25;
    g.dGPDelta[slot] = 2;
    g.dGPDeltas[slot] = 0.125;
  }
  return g;
}

const std::string kLogicalLines =
    Lines({"LP Start X=1", "LP Start Y=2", "LP End X=3", "LP End Y=4", "LP Delta X=5",
           "LP Delta Y=6", "LP Plot Loc=10 20 30 40", "LP Graph Loc=0 0 50 60"});
const std::string kAxisBlocks[] = {
    Lines({"X Axis", "GP Pos Min=0.5", "GP Min=-1", "GP Max=10", "GP Mins=-1.5", "GP Maxs=0.25",
           "GP Delta=2", "GP Deltas=0.125"}),
    Lines({"Y Axis", "GP Pos Min=0.5", "GP Min=0", "GP Max=20", "GP Mins=-1.5", "GP Maxs=1.25",
           "GP Delta=2", "GP Deltas=0.125"}),
    Lines({"Y Alt Axis", "GP Pos Min=0.5", "GP Min=1", "GP Max=30", "GP Mins=-1.5", "GP Maxs=2.25",
           "GP Delta=2", "GP Deltas=0.125"}),
    Lines({"Active", "GP Pos Min=0.5", "GP Min=2", "GP Max=40", "GP Mins=-1.5", "GP Maxs=3.25",
           "GP Delta=2", "GP Deltas=0.125"})};
const std::string kClosingLines =
    Lines({"X Factor=2.5", "Y Factor=-0.75", "X Adj Screen=800", "Y Adj Screen=600",
           "X Screen=1024", "Y Screen=768", "Y Caption=19", "Y Menu Bar=20", "X Scaling Factor=100",
           "Y Scaling Factor=-100"});

std::string Blocks(int count) {
  std::string text = kLogicalLines;
  for (int slot = 0; slot < count; ++slot) text += kAxisBlocks[slot];
  return text + kClosingLines;
}

bool Same(const _GEOMETRY& a, const _GEOMETRY& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

TEST(GeometryEntriesTest, StoresFiftyLinesWithFourBareNameLines) {
  EXPECT_EQ(Stored(GoldenGeometry()), Blocks(4));
}

// Archives of version 1.02 and older hold three axis blocks, and slot 3 keeps the caller's
// values; newer ones, and an archive whose header was never read, hold four. Name lines are
// not looked at: any text passes.
TEST(GeometryEntriesTest, ArchiveVersionChoosesTheAxisBlocks) {
  using Case = std::tuple<const char*, int>;  // the header's version, the blocks in the file
  for (auto [version, blocks] : {Case{"1.02", 3}, Case{"1.00", 3}, Case{"1", 3}, Case{"1.025", 4},
                                 Case{"1.03", 4}, Case{nullptr, 4}}) {
    SCOPED_TRACE(version ? version : "no header read");
    std::string text = Blocks(blocks);
    text.replace(text.find("Y Alt Axis"), 10, "Anything=at all");
    if (version)
      text = Lines({"[Archive Header]", std::string("Archive Version Number=") + version,
                    "Application Name=Plotter", "Application Version Number=4.2"}) +
             text;
    LoadArchive load(text);
    if (version) {
      ASSERT_EQ(load->ReadHeader(), 1);
    }
    _GEOMETRY read{};
    read.dGPMax[3] = 99;
    read.dGPDeltas[3] = -99;
    _GEOMETRY expected = GoldenGeometry();
    if (blocks == 3) {
      for (auto slots :
           {&_GEOMETRY::dGPPosMin, &_GEOMETRY::dGPMin, &_GEOMETRY::dGPMax, &_GEOMETRY::dGPMins,
            &_GEOMETRY::dGPMaxs, &_GEOMETRY::dGPDelta, &_GEOMETRY::dGPDeltas})
        (expected.*slots)[3] = (read.*slots)[3];
    }
    ASSERT_EQ(load->Read(read), 1);
    EXPECT_TRUE(Same(read, expected));
  }
}

// A version that is no number would pass the newer-format check and choose the blocks at
// random: it is refused, naming the entry, and the archive keeps its version.
TEST(GeometryEntriesTest, VersionThatIsNoNumberIsRefused) {
  for (const char* version : {"nan", "inf", "-inf", "NaN"}) {
    SCOPED_TRACE(version);
    const std::string text =
        Lines({"[Archive Header]", std::string("Archive Version Number=") + version,
               "Application Name=Plotter", "Application Version Number=4.2"});
    LoadArchive quiet(text);
    EXPECT_EQ(quiet->ReadHeader(), 0);
    EXPECT_EQ(quiet->GetArchiveVersion(), CArchiveEx::ARCHIVE_VERSION);

    ReportRecorder recorder;
    LoadArchive reporting(text, 1);
    EXPECT_EQ(ThrownArchiveCause([&] { reporting->ReadHeader(); }), CArchiveException::badIndex);
    EXPECT_EQ(reporting->GetArchiveVersion(), CArchiveEx::ARCHIVE_VERSION);
    ASSERT_EQ(recorder.boxes.size(), 1u);
    EXPECT_NE(recorder.boxes[0].text.find("line 2!\nFile Name: /documents/load.txt\n"
                                          "Section/Entry: Archive Version Number"),
              std::string::npos)
        << recorder.boxes[0].text;
  }
}

}  // namespace
}  // namespace labarc::testing
