// A geometry's run: the logical-unit entries, one block per axis slot (a bare name line and the
// slot's seven "GP" values), then the factors and the screen measures. Archives of version 1.02
// and older hold three axis blocks; a reader of one leaves slot 3 as it was.
#pragma once

#include <labarc/archive/describe.h>
#include <labarc/framework/cstring.h>
#include <labarc/graph/geometry.h>

namespace labarc {

// The name line that opens each axis slot's block. The reader does not look at it.
inline constexpr const char* kGeometryAxisBlockNames[GEOMETRY_AXIS_SLOTS] = {
    "X Axis", "Y Axis", "Y Alt Axis", "Active"};
inline constexpr BlockCount kGeometryAxisBlocks{GEOMETRY_AXIS_SLOTS, 3, 1.02};

template <class Io>
bool Describe(const Io& io, _GEOMETRY& g) {
  return io("LP Start X", g.nLPStartX) && io("LP Start Y", g.nLPStartY) &&
         io("LP End X", g.nLPEndX) && io("LP End Y", g.nLPEndY) && io("LP Delta X", g.nLPDeltaX) &&
         io("LP Delta Y", g.nLPDeltaY) && io("LP Plot Loc", g.rcLPPlotLoc) &&
         io("LP Graph Loc", g.rcLPGraphLoc) &&
         io.Blocks(kGeometryAxisBlocks,
                   [&](int slot) {
                     CString name(kGeometryAxisBlockNames[slot]);
                     return io.Line(name) && io("GP Pos Min", g.dGPPosMin[slot]) &&
                            io("GP Min", g.dGPMin[slot]) && io("GP Max", g.dGPMax[slot]) &&
                            io("GP Mins", g.dGPMins[slot]) && io("GP Maxs", g.dGPMaxs[slot]) &&
                            io("GP Delta", g.dGPDelta[slot]) && io("GP Deltas", g.dGPDeltas[slot]);
                   }) &&
         io("X Factor", g.dXFactor) && io("Y Factor", g.dYFactor) &&
         io("X Adj Screen", g.nXAdjScreen) && io("Y Adj Screen", g.nYAdjScreen) &&
         io("X Screen", g.nXScreen) && io("Y Screen", g.nYScreen) && io("Y Caption", g.nYCaption) &&
         io("Y Menu Bar", g.nYMenuBar) && io("X Scaling Factor", g.lXScalingFactor) &&
         io("Y Scaling Factor", g.lYScalingFactor);
}

template <>
struct CompositeTraits<_GEOMETRY> : CopiedWorking<_GEOMETRY> {
  static constexpr const char* name = "geometry";
};

}  // namespace labarc
