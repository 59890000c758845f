// plot: the graph a document stores, drawn as an SVG picture with its curves; or, without a
// graph window (or with --auto), an automatic chart of the curves.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <ostream>

#include "commands.h"
#include "graph_plot.h"
#include "plot_document.h"

namespace labarc::tool {

namespace {

bool SameFile(const std::string& a, const std::string& b) {
  std::error_code error;
  return std::filesystem::exists(b, error) && std::filesystem::equivalent(a, b, error);
}

std::string GraphName(const GraphLayout& graph) {
  return std::string(graph.window.titles[0].strWording.View());
}

// The graph `choice` names: its number counted from 1, or its first title. Null when none is.
const GraphLayout* PickGraph(const std::vector<GraphLayout>& graphs, const std::string& choice) {
  if (choice.empty()) return graphs.empty() ? nullptr : &graphs.front();
  if (std::all_of(choice.begin(), choice.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    const std::size_t number = choice.size() < 6 ? std::stoul(choice) : 0;
    return number >= 1 && number <= graphs.size() ? &graphs[number - 1] : nullptr;
  }
  for (const GraphLayout& graph : graphs)
    if (GraphName(graph) == choice) return &graph;
  return nullptr;
}

}  // namespace

int RunPlot(const Source& source, const PlotOptions& options, Output output) {
  if (SameFile(source.Name(), options.output)) {
    output.err << "labarc: refusing to write the plot over its input " << options.output << '\n';
    return 2;
  }
  PlotDocument document;
  const int result = ReadPlotDocument(source, options, output, document);
  if (result == 2) return result;
  // A file the library refuses as a whole (a newer format, another application) is not drawn.
  if (!document.headerRead) {
    output.err << "labarc: " << source.Name() << ": not plotted: its header was refused\n";
    return 1;
  }

  const GraphLayout* graph = nullptr;
  if (!options.automatic) graph = PickGraph(document.graphs, options.window);
  if (!options.window.empty() && !graph) {
    output.err << "labarc: " << source.Name() << ": no graph window \"" << options.window << '"';
    if (document.graphs.empty()) output.err << "; the file holds none";
    for (std::size_t i = 0; i < document.graphs.size(); ++i)
      output.err << (i ? ", " : "; it holds ") << i + 1 << " \"" << GraphName(document.graphs[i])
                 << '"';
    output.err << '\n';
    return 2;
  }

  PlotInput input;
  input.graph = graph;
  input.title = std::filesystem::path(source.Name()).filename().string();
  input.width = options.width;
  input.height = options.height;
  for (const auto& curve : document.curves) input.curves.push_back(curve.get());
  // A graph is drawn without curves too; a curve asked for by name must be there.
  if (input.curves.empty() && (!graph || !options.curves.empty())) {
    output.err << "labarc: " << source.Name() << ": ";
    if (document.curveNames.empty() || options.curves.empty()) {
      output.err << "no curves to plot\n";
    } else {
      output.err << "no such curve; the curves are:";
      for (const std::string& name : document.curveNames) output.err << " \"" << name << '"';
      output.err << '\n';
    }
    return 1;
  }

  std::ofstream svg(options.output, std::ios::binary | std::ios::trunc);
  std::vector<std::string> notes;
  if (svg) {
    notes = WriteGraphSvg(svg, input);
    svg.flush();
  }
  if (!svg) {
    output.err << "labarc: cannot write " << options.output << '\n';
    return 2;
  }
  if (options.verbose)
    for (const std::string& note : notes)
      output.err << "labarc: " << source.Name() << ": " << note << '\n';
  return result;
}

}  // namespace labarc::tool
