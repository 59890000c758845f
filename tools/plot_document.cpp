#include "plot_document.h"

#include <any>
#include <optional>

#include "command_support.h"

namespace labarc::tool {

namespace {

// Gathers the graph layout in file order: a geometry and axes wait for the window that follows
// them in their section; a results window joins the window before it.
class PlotDocumentReader : public WalkReporting {
 public:
  PlotDocumentReader(std::string file, Output output, PlotDocument& document)
      : WalkReporting(std::move(file), output, output.err, 0), m_document(document) {}

  void OnSection(int, std::string_view name) override {
    m_section = name;
    m_geometry.reset();
    m_axes.clear();
    m_windowHere = false;
  }

  void OnComposite(int, Composite& composite) override {
    if (composite.curve) {
      m_document.curves.push_back({m_section, composite.curve});
    } else if (const auto* geometry = std::any_cast<_GEOMETRY>(&composite.value)) {
      m_geometry = *geometry;
      m_axes.clear();
    } else if (const auto* axis = std::any_cast<_AXIS>(&composite.value)) {
      m_axes.push_back(*axis);
    } else if (const auto* window = std::any_cast<_WINDOW>(&composite.value)) {
      m_document.graphs.push_back({m_section, m_geometry, std::move(m_axes), *window, {}});
      m_geometry.reset();
      m_axes.clear();
      m_windowHere = true;
    } else if (const auto* results = std::any_cast<CResultsWnd>(&composite.value)) {
      if (m_windowHere && !m_document.graphs.back().results)
        m_document.graphs.back().results = *results;
    }
  }

 private:
  PlotDocument& m_document;
  std::string m_section;
  std::optional<_GEOMETRY> m_geometry;
  std::vector<_AXIS> m_axes;
  bool m_windowHere = false;
};

}  // namespace

int ReadPlotDocument(const Source& source, const std::string& applName, Output output,
                     PlotDocument& document) {
  PlotDocumentReader reader(source.Name(), output, document);
  std::string error;
  const bool opened = Walk(source, {applName, ""}, reader, error);
  return reader.Finish(opened, error);
}

}  // namespace labarc::tool
