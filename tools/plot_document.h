// What `plot` takes from a document: its graph windows, each with the geometry and axes stored
// before it and the results window stored after it, and the curves chosen for drawing.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "commands.h"
#include "graph_plot.h"

namespace labarc::tool {

struct PlotDocument {
  std::vector<std::shared_ptr<const CCurveObj>> curves;  // those the options choose
  std::vector<std::string> curveNames;  // every curve's, in the section chosen (or all)
  std::vector<GraphLayout> graphs;      // in every section
  bool headerRead = false;              // the library accepted the file's header
};

// Reads the document through the library, reporting its problems as `check` does. Curves are
// kept only from `options.section` (when given) and of the names in `options.curves` (when
// given), in any letter case; graphs from every section. Returns the walk's exit code: 0, 1 after
// problems, 2 when it cannot be read at all.
int ReadPlotDocument(const Source& source, const PlotOptions& options, Output output,
                     PlotDocument& document);

}  // namespace labarc::tool
