// Draws a graph as an SVG picture: the layout a document stores (titles, axes with their ranges,
// ticks and grids, the legend, the results window, the background) with each curve drawn as it
// stores itself, or an automatic chart of the curves alone.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include <labarc/curve/curve_obj.h>
#include <labarc/graph/axis.h>
#include <labarc/graph/geometry.h>
#include <labarc/graph/results_wnd.h>
#include <labarc/graph/window.h>

namespace labarc::tool {

// One graph window as a document stores it, with the layout stored before it and its results
// window after it.
struct GraphLayout {
  std::string section;
  std::optional<_GEOMETRY> geometry;
  std::vector<_AXIS> axes;  // in file order: x, y, alternative y; further axes are not drawn
  _WINDOW window;
  std::optional<CResultsWnd> results;
};

struct PlotInput {
  const GraphLayout* graph = nullptr;  // null: an automatic chart
  std::string title;                   // the automatic chart's title
  std::vector<const CCurveObj*> curves;
  int width = 800;
  int height = 500;
};

// Writes the picture. Returns a line for each stored code that has no reading and was drawn as
// the default instead.
std::vector<std::string> WriteGraphSvg(std::ostream& out, const PlotInput& input);

}  // namespace labarc::tool
