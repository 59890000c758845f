// The coordinate mapping of one graph: where plot and graph lie in logical units ("LP"), each
// axis slot's range and steps in graph values ("GP"), the factors between the two and the screen
// measures recorded with them. A plain structure: the host fills it.
#pragma once

#include <labarc/framework/win_types.h>

// Axis slots of the per-axis arrays: x, y, alternative y, and the active axis.
inline constexpr int GEOMETRY_AXIS_SLOTS = 4;

struct _GEOMETRY {
  int nLPStartX;
  int nLPStartY;
  int nLPEndX;
  int nLPEndY;
  int nLPDeltaX;
  int nLPDeltaY;
  RECT rcLPPlotLoc;
  RECT rcLPGraphLoc;
  double dGPPosMin[GEOMETRY_AXIS_SLOTS];
  double dGPMin[GEOMETRY_AXIS_SLOTS];
  double dGPMax[GEOMETRY_AXIS_SLOTS];
  double dGPMins[GEOMETRY_AXIS_SLOTS];
  double dGPMaxs[GEOMETRY_AXIS_SLOTS];
  double dGPDelta[GEOMETRY_AXIS_SLOTS];
  double dGPDeltas[GEOMETRY_AXIS_SLOTS];
  double dXFactor;
  double dYFactor;
  int nXAdjScreen;
  int nYAdjScreen;
  int nXScreen;
  int nYScreen;
  int nYCaption;
  int nYMenuBar;
  long lXScalingFactor;  // 32-bit in the file
  long lYScalingFactor;
};
