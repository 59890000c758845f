// The settings of one graph window: the host's flags and codes, graph type and origin, three
// titles, the legend and the background colour. The titles are constructed before the legend
// and destroyed after it; a copy assigns the legend through the legend's own assignment.
#pragma once

#include <labarc/graph/legend.h>
#include <labarc/values/text_object.h>

inline constexpr int WINDOW_TITLES = 3;

struct _WINDOW {
  int nModify = 0;
  int nCurveCalc = 0;
  int nCalcGeometry = 0;
  int nEncloseGraph = 0;
  int nState = 0;
  int nGraphType = 0;       // 0 to 3
  int nOriginLocation = 0;  // 0 or 1
  _TEXT titles[WINDOW_TITLES];
  int nTitleCount = 0;
  CLegend legend;
  unsigned long crBackgroundColor = 0;  // an RGB colour

  bool operator==(const _WINDOW&) const = default;
};
