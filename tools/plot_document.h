// What `plot` takes from a document: its curves and its graph windows, each with the geometry
// and axes stored before it and the results window stored after it.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "commands.h"
#include "graph_plot.h"

namespace labarc::tool {

struct PlotDocument {
  struct Curve {
    std::string section;
    std::shared_ptr<const CCurveObj> curve;
  };
  std::vector<Curve> curves;
  std::vector<GraphLayout> graphs;
};

// Reads the document through the library, reporting its problems as `check` does. Returns the
// walk's exit code: 0, 1 after problems, 2 when it cannot be read at all.
int ReadPlotDocument(const Source& source, const std::string& applName, Output output,
                     PlotDocument& document);

}  // namespace labarc::tool
