#include "plot_document.h"

#include <algorithm>
#include <optional>

#include <labarc/document/document.h>
#include <labarc/framework/ascii.h>
#include "command_support.h"

namespace labarc::tool {

namespace {

// Gathers the graph layout in file order: a geometry and axes wait for the window that follows
// them in their section; a results window joins the window before it.
class PlotDocumentReader : public WalkReporting {
 public:
  PlotDocumentReader(std::string file, Output output, const PlotOptions& options,
                     PlotDocument& document)
      : WalkReporting(std::move(file), output, output.err, 0),
        m_options(options),
        m_document(document),
        m_curvesHere(options.section.empty()) {}

  void OnHeader(const DocumentHeader& header) override { m_document.headerRead = header.read; }

  void OnSection(int, std::string_view name) override {
    m_curvesHere = m_options.section.empty() || EqualsNoCase(name, m_options.section);
    m_geometry.reset();
    m_axes.clear();
    m_windowHere = false;
    m_section = name;
  }

  void OnComposite(DocumentComposite& composite) override {
    CompositeValue& value = *composite.value;
    if (const CCurveObj* characteristics = value.As<CCurveObj>()) {
      if (composite.points) AddCurve(*characteristics, *composite.points);
    } else if (const auto* geometry = value.As<_GEOMETRY>()) {
      m_geometry = *geometry;
      m_axes.clear();
    } else if (const auto* axis = value.As<_AXIS>()) {
      m_axes.push_back(*axis);
    } else if (const auto* window = value.As<_WINDOW>()) {
      m_document.graphs.push_back({m_section, m_geometry, std::move(m_axes), *window, {}});
      m_geometry.reset();
      m_axes.clear();
      m_windowHere = true;
    } else if (const auto* results = value.As<CResultsWnd>()) {
      if (m_windowHere && !m_document.graphs.back().results)
        m_document.graphs.back().results = *results;
    }
  }

 private:
  // Curves are named without regard to letter case, as sections are.
  void AddCurve(const CCurveObj& characteristics, const CurvePoints& points) {
    if (!m_curvesHere) return;
    const std::string name(characteristics.GetName().View());
    m_document.curveNames.push_back(name);
    if (!m_options.curves.empty() &&
        std::none_of(m_options.curves.begin(), m_options.curves.end(),
                     [&](const std::string& wanted) { return EqualsNoCase(wanted, name); }))
      return;
    auto curve = std::make_shared<CCurveObj>();
    if (JoinCurve(characteristics, points, *curve)) m_document.curves.push_back(std::move(curve));
  }

  const PlotOptions& m_options;
  PlotDocument& m_document;
  std::string m_section;
  bool m_curvesHere;  // curves of the section being read are drawn
  std::optional<_GEOMETRY> m_geometry;
  std::vector<_AXIS> m_axes;
  bool m_windowHere = false;
};

}  // namespace

int ReadPlotDocument(const Source& source, const PlotOptions& options, Output output,
                     PlotDocument& document) {
  PlotDocumentReader reader(source.Name(), output, options, document);
  std::string error;
  // Only the values are drawn: the point text is not compared with the writer's.
  const bool opened = Walk(source, {options.applName, "", false}, reader, error);
  return reader.Finish(opened, error);
}

}  // namespace labarc::tool
