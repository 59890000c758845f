// plot: the recognised curves as an SVG line chart. Each curve is reduced as it is read to at
// most a few thousand buckets, and drawn with at most two points per pixel column (the lowest and
// the highest value there), so that a curve of millions of points gives a small picture.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <limits>
#include <ostream>

#include <labarc/curve/curve_obj.h>
#include <labarc/document/document.h>
#include <labarc/framework/ascii.h>
#include "command_support.h"
#include "svg_chart.h"

namespace labarc::tool {

namespace {

class PlotVisitor : public WalkReporting {
 public:
  PlotVisitor(std::string file, Output output, const PlotOptions& options)
      : WalkReporting(std::move(file), output, output.err, 0), m_options(options) {}

  void OnHeader(const DocumentHeader& header) override { headerRead = header.read; }

  // Curves are named without regard to letter case, as sections are.
  void OnComposite(DocumentComposite& composite) override {
    const CCurveObj* characteristics = composite.value->As<CCurveObj>();
    if (!characteristics || !composite.points) return;
    const std::string name(characteristics->GetName().View());
    names.push_back(name);
    if (!m_options.curves.empty() &&
        std::none_of(m_options.curves.begin(), m_options.curves.end(),
                     [&](const std::string& wanted) { return EqualsNoCase(wanted, name); }))
      return;
    CCurveObj curve;
    if (JoinCurve(*characteristics, *composite.points, curve)) series.push_back(ReduceCurve(curve));
  }

  std::vector<ChartSeries> series;
  std::vector<std::string> names;  // of every curve in the sections read
  bool headerRead = false;

 private:
  const PlotOptions& m_options;
};

bool SameFile(const std::string& a, const std::string& b) {
  std::error_code error;
  return std::filesystem::exists(b, error) && std::filesystem::equivalent(a, b, error);
}

}  // namespace

int RunPlot(const Source& source, const PlotOptions& options, Output output) {
  if (SameFile(source.Name(), options.output)) {
    output.err << "labarc: refusing to write the plot over its input " << options.output << '\n';
    return 2;
  }
  PlotVisitor visitor(source.Name(), output, options);
  std::string error;
  const bool opened = Walk(source, {options.applName, options.section}, visitor, error);
  const int result = visitor.Finish(opened, error);
  if (result == 2) return result;
  // A file the library refuses as a whole (a newer format, another application) is not drawn.
  if (!visitor.headerRead) {
    output.err << "labarc: " << source.Name() << ": not plotted: its header was refused\n";
    return 1;
  }
  if (visitor.series.empty()) {
    output.err << "labarc: " << source.Name() << ": ";
    if (visitor.names.empty()) {
      output.err << "no curves to plot\n";
    } else {
      output.err << "no such curve; the curves are:";
      for (const std::string& name : visitor.names) output.err << " \"" << name << '"';
      output.err << '\n';
    }
    return 1;
  }
  std::ofstream svg(options.output, std::ios::binary | std::ios::trunc);
  if (svg) {
    const std::string title = std::filesystem::path(source.Name()).filename().string();
    WriteSvgChart(svg, title, visitor.series, options.width, options.height);
    svg.flush();
  }
  if (!svg) {
    output.err << "labarc: cannot write " << options.output << '\n';
    return 2;
  }
  return result;
}

}  // namespace labarc::tool
