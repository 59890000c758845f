#include "graph_plot.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <ostream>

#include "graph_plan.h"
#include "svg_text.h"

namespace labarc::tool {

namespace {

using namespace std::string_literals;

// Appends each part in turn. Path data is built this way, or from a string literal ("M"s + ...),
// rather than as `"M" + temporary`: GCC 12 at -O3 warns falsely (-Wrestrict) about a character
// literal added to a temporary string.
template <class... Parts>
void Append(std::string& to, const Parts&... parts) {
  (to += ... += parts);
}

using namespace drawing;

constexpr const char* kRoleNames[kRoles] = {"x", "y", "y2"};

// Pen styles, as dash lengths in line widths: 0 solid, 1 dashed, 2 dotted, 3 dash-dot,
// 4 dash-dot-dot; 5 draws nothing.
std::string DashArray(int style, double width) {
  static constexpr std::array<std::array<int, 6>, 5> kDashes = {{{0, 0, 0, 0, 0, 0},
                                                                 {4, 2, 0, 0, 0, 0},
                                                                 {1, 2, 0, 0, 0, 0},
                                                                 {4, 2, 1, 2, 0, 0},
                                                                 {4, 2, 1, 2, 1, 2}}};
  if (style <= 0 || style >= kNoPen) return "";
  std::string text = " stroke-dasharray=\"";
  for (const int dash : kDashes[static_cast<std::size_t>(style)]) {
    if (dash == 0) break;
    if (text.back() != '"') text += ',';
    text += Pixel(dash * std::max(width, 1.0));
  }
  return text + "\"";
}

std::string Stroke(unsigned long colour, double width, int style) {
  return " stroke=\"" + Colour(colour) + "\" stroke-width=\""s + Pixel(width) + "\"" +
         DashArray(style, width);
}

class GraphPainter {
 public:
  GraphPainter(std::ostream& out, const PlotInput& input, const GraphLayout& graph, int width,
               int height)
      : m_out(out),
        m_graph(graph),
        m_width(width),
        m_height(height),
        m_plan(PlanGraph(graph, input.curves, width, height)) {}

  std::vector<std::string> Paint() {
    const _WINDOW& window = m_graph.window;
    m_out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
          << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << m_width << "\" height=\""
          << m_height << "\" viewBox=\"0 0 " << m_width << ' ' << m_height
          << "\" font-family=\"sans-serif\" font-size=\"12\">\n"
          << "<rect class=\"background\" width=\"100%\" height=\"100%\" fill=\""
          << Colour(window.crBackgroundColor) << "\"/>\n"
          << "<defs><clipPath id=\"plot-area\"><rect" << BoxAttributes(m_plot)
          << "/></clipPath></defs>\n";
    if (window.nEncloseGraph)
      m_out << "<rect class=\"frame\"" << BoxAttributes(m_plot)
            << " fill=\"none\" stroke=\"black\"/>\n";
    for (const AxisPlan& axis : m_axes)
      if (axis.drawn) DrawGrids(axis);
    m_out << "<g clip-path=\"url(#plot-area)\">\n";
    for (const CurvePlan& curve : m_curves) DrawCurve(curve);
    m_out << "</g>\n";
    for (const AxisPlan& axis : m_axes)
      if (axis.drawn) DrawAxis(axis);
    DrawTitles();
    DrawLegend();
    DrawResults();
    m_out << "</svg>\n";
    return std::move(m_notes.lines);
  }

 private:
  std::string BoxAttributes(const Box& box) const {
    return " x=\""s + Pixel(box.left) + "\" y=\""s + Pixel(box.top) + "\" width=\"" +
           Pixel(box.right - box.left) + "\" height=\""s + Pixel(box.bottom - box.top) + "\"";
  }

  // A path of lines across the plot, one at each tick.
  std::string GridPath(const AxisPlan& axis, const std::vector<double>& ticks) const {
    std::string d;
    for (const double tick : ticks) {
      const std::string at = Pixel(axis.AtScaled(tick));
      if (axis.Horizontal())
        Append(d, "M", at, ",", Pixel(m_plot.top), "V", Pixel(m_plot.bottom));
      else
        Append(d, "M", Pixel(m_plot.left), ",", at, "H", Pixel(m_plot.right));
    }
    return d;
  }

  void DrawGrids(const AxisPlan& axis) {
    const TICKMARK& marks = axis.axis.tickMark;
    const std::string owner = Owner("axis", Wording(axis.axis.text));
    const struct {
      bool minor;
      int on, type;
      const char *name, *label;
    } grids[] = {
        {true, marks.nMinorGrid, marks.nMinorGridLineType, "minor", "Minor Grid Line Type"},
        {false, marks.nMajorGrid, marks.nMajorGridLineType, "major", "Major Grid Line Type"}};
    for (const auto& grid : grids) {
      if (!grid.on) continue;
      const int style = m_notes.Code(owner, grid.label, grid.type, kPenStyles, "0 (solid)");
      if (style == kNoPen) continue;
      const std::string d = GridPath(axis, Ticks(axis, grid.minor));
      if (d.empty()) continue;
      m_out << "<path class=\"grid " << grid.name << ' ' << kRoleNames[axis.role]
            << "\" fill=\"none\"" << Stroke(axis.axis.crColor, 1, style)
            << " stroke-opacity=\"0.3\" d=\"" << d << "\"/>\n";
    }
  }

  void DrawAxis(const AxisPlan& axis) {
    const TICKMARK& marks = axis.axis.tickMark;
    const _TICKLABEL& labels = axis.axis.tickLabel;
    const double cross = axis.side == 'b'   ? m_plot.bottom
                         : axis.side == 't' ? m_plot.top
                         : axis.side == 'l' ? m_plot.left
                                            : m_plot.right;
    const double outward = axis.side == 'b' || axis.side == 'r' ? 1 : -1;
    m_out << "<g class=\"axis " << kRoleNames[axis.role] << "\" data-range=\""
          << Short(axis.Value(axis.from)) << ' ' << Short(axis.Value(axis.to)) << "\">\n";
    const std::string colour = Stroke(axis.axis.crColor, 1, 0);
    m_out << "<path class=\"axis-line\" fill=\"none\"" << colour << " d=\""
          << (axis.Horizontal()
                  ? "M"s + Pixel(m_plot.left) + ',' + Pixel(cross) + "H"s + Pixel(m_plot.right)
                  : "M"s + Pixel(cross) + ',' + Pixel(m_plot.bottom) + "V"s + Pixel(m_plot.top))
          << "\"/>\n";

    // Ticks: inside reaches into the plot, outside away from it.
    std::string d;
    const struct {
      bool minor;
      int inside, outside;
      double length;
    } kinds[] = {{false, marks.nMajorInside, marks.nMajorOutside, 6},
                 {true, marks.nMinorInside, marks.nMinorOutside, 3}};
    for (const auto& kind : kinds) {
      if (!kind.inside && !kind.outside) continue;
      const double a = cross - outward * (kind.inside ? kind.length : 0);
      const double b = cross + outward * (kind.outside ? kind.length : 0);
      for (const double tick : Ticks(axis, kind.minor)) {
        const std::string at = Pixel(axis.AtScaled(tick));
        if (axis.Horizontal())
          Append(d, "M", at, ",", Pixel(a), "V", Pixel(b));
        else
          Append(d, "M", Pixel(a), ",", at, "H", Pixel(b));
      }
    }
    if (!d.empty())
      m_out << "<path class=\"ticks\" fill=\"none\"" << colour << " d=\"" << d << "\"/>\n";

    // Numbers at the major ticks, as many as fit side by side.
    const double size = FontSize(labels.lfFont, 11);
    const double gap = (marks.nMajorOutside ? 6 : 0) + 4;
    std::vector<std::pair<double, std::string>> numbers;
    std::size_t widest = 0;
    for (const double tick : Ticks(axis, false)) {
      numbers.emplace_back(axis.AtScaled(tick), TickText(axis, tick, m_notes));
      widest = std::max(widest, numbers.back().second.size());
    }
    const double room = axis.Horizontal() ? widest * 0.6 * size + 6 : size * 1.3;
    const double spacing =
        numbers.size() > 1 ? std::abs(numbers[1].first - numbers[0].first) : room;
    const std::size_t every = spacing > 0 ? static_cast<std::size_t>(std::ceil(room / spacing)) : 1;
    m_out << "<g class=\"tick-labels\" fill=\"" << Colour(labels.crColor) << '"'
          << FontAttributes(labels.lfFont, 11) << " text-anchor=\""
          << (axis.Horizontal()  ? "middle"
              : axis.side == 'l' ? "end"
                                 : "start")
          << "\">";
    for (std::size_t i = 0; i < numbers.size(); i += std::max<std::size_t>(every, 1)) {
      const auto& [at, text] = numbers[i];
      if (axis.Horizontal())
        m_out << "<text x=\"" << Pixel(at) << "\" y=\""
              << Pixel(cross + outward * gap + (outward > 0 ? size * 0.8 : -size * 0.2)) << "\">";
      else
        m_out << "<text x=\"" << Pixel(cross + outward * gap) << "\" y=\""
              << Pixel(at + size * 0.35) << "\">";
      m_out << XmlText(text) << "</text>";
    }
    m_out << "</g>\n";

    if (!axis.title.empty()) {
      const double titleSize = FontSize(axis.titleFont, 12);
      const double band = axis.Horizontal() ? size * 1.2 : widest * 0.6 * size;
      const double offset = gap + band + 6 + titleSize * (outward > 0 ? 0.8 : 0.2);
      m_out << "<text class=\"axis-title\" fill=\"" << Colour(axis.titleColour) << '"'
            << FontAttributes(axis.titleFont, 12) << " text-anchor=\"middle\"";
      if (axis.Horizontal()) {
        m_out << " x=\"" << Pixel((m_plot.left + m_plot.right) / 2) << "\" y=\""
              << Pixel(cross + outward * offset) << "\"";
      } else {
        const std::string x = Pixel(cross + outward * (gap + band + 6 + titleSize * 0.5));
        const std::string y = Pixel((m_plot.top + m_plot.bottom) / 2);
        m_out << " x=\"" << x << "\" y=\"" << y << "\" dy=\"0.35em\" transform=\"rotate("
              << (outward < 0 ? "-90 " : "90 ") << x << ' ' << y << ")\"";
      }
      m_out << '>' << XmlText(axis.title) << "</text>\n";
    }
    m_out << "</g>\n";
  }

  // ---- curves ---------------------------------------------------------------------------------

  // The line through a curve's points. A long curve is thinned to the drawing's resolution: of
  // each run of points in one pixel column, the first, the lowest, the highest and the last are
  // kept, in their order, so no extreme is lost.
  std::string LinePath(const CurvePlan& plan) const {
    const AxisPlan& xAxis = m_axes[kX];
    const AxisPlan& yAxis = m_axes[static_cast<std::size_t>(plan.role)];
    const int count = plan.curve->GetNumPoints();
    const double columns = std::max(1.0, m_plot.right - m_plot.left);
    const bool thin = count > 4 * columns;
    std::string d;
    double lastY = kNaN;
    const auto add = [&](double x, double y) {
      if (d.empty()) {
        d = "M"s + Pixel(x) + ',' + Pixel(y);
      } else {
        if (plan.lineType == 1) d += " L"s + Pixel(x) + ',' + Pixel(lastY);
        d += " L"s + Pixel(x) + ',' + Pixel(y);
      }
      lastY = y;
    };
    struct Run {
      double column = kNaN;
      std::array<std::pair<int, std::array<double, 2>>, 4> kept;  // first, lowest, highest, last
    } run;
    const auto flush = [&] {
      if (std::isnan(run.column)) return;
      auto kept = run.kept;
      std::sort(kept.begin(), kept.end(),
                [](const auto& a, const auto& b) { return a.first < b.first; });
      for (std::size_t i = 0; i < kept.size(); ++i)
        if (i == 0 || kept[i].first != kept[i - 1].first) add(kept[i].second[0], kept[i].second[1]);
    };
    for (int i = 0; i < count; ++i) {
      CURVEPOINT point;
      plan.curve->GetCurvePoint(i, &point);
      const double x = xAxis.At(point.dX), y = yAxis.At(point.dY);
      if (!std::isfinite(x) || !std::isfinite(y)) continue;
      if (!thin) {
        add(x, y);
        continue;
      }
      const double column = std::clamp(std::floor(x - m_plot.left), -1.0, columns);
      const std::pair<int, std::array<double, 2>> here{i, {x, y}};
      if (column != run.column) {
        flush();
        run.column = column;
        run.kept = {here, here, here, here};
        continue;
      }
      if (y < run.kept[1].second[1]) run.kept[1] = here;
      if (y > run.kept[2].second[1]) run.kept[2] = here;
      run.kept[3] = here;
    }
    flush();
    return d;
  }

  // One symbol centred at (x, y): 0 square, 1 circle, 2 triangle, 3 diamond, 4 plus, 5 cross.
  static std::string Symbol(int type, double x, double y, double size) {
    const double r = size / 2;
    const std::string at = "M"s + Pixel(x - r) + ',' + Pixel(y - r);
    const std::string s = Pixel(size), half = Pixel(r), minusSize = Pixel(-size);
    switch (type) {
      case 1:
        return "M"s + Pixel(x - r) + ',' + Pixel(y) + "a" + half + ',' + half + " 0 1,0 " + s +
               ",0a" + half + ',' + half + " 0 1,0 " + minusSize + ",0z";
      case 2:
        return "M"s + Pixel(x) + ',' + Pixel(y - r) + "l" + half + ',' + s + "h" + minusSize + "z";
      case 3:
        return "M"s + Pixel(x) + ',' + Pixel(y - r) + "l" + half + ',' + half + "l-" + half + ',' +
               half + "l-" + half + ",-" + half + "z";
      case 4:
        return "M"s + Pixel(x - r) + ',' + Pixel(y) + "h" + s + "M"s + Pixel(x) + ',' +
               Pixel(y - r) + "v" + s;
      case 5:
        return at + "l" + s + ',' + s + "m0," + minusSize + "l" + minusSize + ',' + s;
      default:
        return at + "h" + s + "v" + s + "h" + minusSize + "z";
    }
  }

  // Symbols at every interval-th point, in the symbol colour, or the deselect colour for a point
  // whose flag is 0. Symbols that would cover one already drawn are left out.
  void DrawSymbols(const CurvePlan& plan) {
    const AxisPlan& xAxis = m_axes[kX];
    const AxisPlan& yAxis = m_axes[static_cast<std::size_t>(plan.role)];
    const double cell = std::max(2.0, plan.symbolSize / 2);
    const auto columns = static_cast<std::size_t>((m_plot.right - m_plot.left) / cell) + 1;
    const auto rows = static_cast<std::size_t>((m_plot.bottom - m_plot.top) / cell) + 1;
    std::vector<bool> taken(columns * rows * 2);
    std::string paths[2];  // selected, deselected
    int otherFlags = 0;
    const int count = plan.curve->GetNumPoints();
    for (int i = 0; i < count; i += plan.symbolInterval) {
      CURVEPOINT point;
      plan.curve->GetCurvePoint(i, &point);
      if (point.cFlag != 0 && point.cFlag != 1) ++otherFlags;
      const double x = xAxis.At(point.dX), y = yAxis.At(point.dY);
      if (!(x >= m_plot.left && x <= m_plot.right && y >= m_plot.top && y <= m_plot.bottom))
        continue;
      const std::size_t deselected = point.cFlag == 0;
      const std::size_t at = (static_cast<std::size_t>((y - m_plot.top) / cell) * columns +
                              static_cast<std::size_t>((x - m_plot.left) / cell)) *
                                 2 +
                             deselected;
      if (taken[at]) continue;
      taken[at] = true;
      paths[deselected] += Symbol(plan.symbolType, x, y, plan.symbolSize);
    }
    if (otherFlags)
      m_notes.Add(Owner("curve", plan.name) +
                  ": point flags other than 0 and 1 have no reading; drawn as 1");
    const unsigned long colours[2] = {plan.curve->GetSymbolColor(),
                                      plan.curve->GetSymbolDeselectColor()};
    for (int k = 0; k < 2; ++k)
      if (!paths[k].empty())
        m_out << "<path class=\"symbols" << (k ? " deselected" : "") << '"'
              << SymbolPaint(plan.symbolType, colours[k]) << " d=\"" << paths[k] << "\"/>\n";
  }

  // Open symbols (plus, cross) are stroked, the others filled.
  static std::string SymbolPaint(int type, unsigned long colour) {
    return type >= 4 ? " fill=\"none\" stroke=\"" + Colour(colour) + "\" stroke-width=\"1.5\""
                     : " fill=\"" + Colour(colour) + "\"";
  }

  void DrawCurve(const CurvePlan& plan) {
    if (plan.line) {
      const std::string d = LinePath(plan);
      m_out << "<path class=\"curve\" data-curve=\"" << XmlText(plan.name) << "\" fill=\"none\""
            << Stroke(plan.curve->GetLineColor(), plan.lineWidth, plan.lineStyle)
            << " stroke-linejoin=\"round\" d=\"" << (d.empty() ? "M0,0" : d) << "\"/>\n";
    }
    if (plan.symbols) DrawSymbols(plan);
  }

  // ---- texts ----------------------------------------------------------------------------------

  void DrawTitles() {
    const _WINDOW& window = m_graph.window;
    const int count = std::clamp(window.nTitleCount, 0, WINDOW_TITLES);
    if (count != window.nTitleCount)
      m_notes.Add(Owner("window", Wording(window.titles[0])) + ": Title Count " +
                  std::to_string(window.nTitleCount) + " has no reading; drawn as " +
                  std::to_string(count));
    double y = 4;
    for (int i = 0; i < count; ++i) {
      const _TEXT& title = window.titles[i];
      if (!title.bShow || Wording(title).empty()) continue;
      const double size = FontSize(title.lfFont, 16);
      y += size;
      m_out << "<text class=\"title\" x=\"" << Pixel(m_width / 2.0) << "\" y=\"" << Pixel(y)
            << "\" text-anchor=\"middle\" fill=\"" << Colour(title.crColor) << '"'
            << FontAttributes(title.lfFont, 16) << '>' << XmlText(Wording(title)) << "</text>\n";
      y += 4;
    }
  }

  // The legend: a line (and symbol) sample and the name of each curve that is drawn and not
  // hidden from it, in a box whose left edge (Legend Position 0), centre (1) or right edge (2)
  // stands at the stored percent of the picture's width, its top at the percent of its height.
  void DrawLegend() {
    const CLegend& legend = m_graph.window.legend;
    const int position =
        m_notes.Code("legend", "Legend Position", legend.m_nLegendPosition, 3, "0 (left edge)");
    if (!legend.m_nLegendShown) return;
    std::vector<const CurvePlan*> entries;
    std::size_t widest = 0;
    for (const CurvePlan& curve : m_curves)
      if (!curve.curve->GetHideFromLegend()) {
        entries.push_back(&curve);
        widest = std::max(widest, curve.name.size());
      }
    if (entries.empty()) return;
    LOGFONT font = legend.m_lfLegendFont;
    if (font.lfHeight == 0) font.lfHeight = legend.m_nLegendFontHeight;
    const double size = FontSize(font, 12), row = size * 1.5;
    const double width = 44 + widest * 0.6 * size, height = entries.size() * row + 8;
    const auto percent = [](double value) {
      return std::isfinite(value) ? std::clamp(value, 0.0, 100.0) : 0.0;
    };
    double left = percent(legend.m_dLocationPercentX) / 100 * m_width - position * width / 2;
    double top = percent(legend.m_dLocationPercentY) / 100 * m_height;
    left = std::clamp(left, 0.0, std::max(0.0, m_width - width));
    top = std::clamp(top, 0.0, std::max(0.0, m_height - height));
    m_out << "<g class=\"legend\">\n<rect class=\"legend-box\""
          << BoxAttributes({left, top, left + width, top + height}) << " fill=\""
          << Colour(m_graph.window.crBackgroundColor) << "\" stroke=\""
          << Colour(legend.m_crLegendColor) << "\" stroke-opacity=\"0.4\"/>\n";
    for (std::size_t i = 0; i < entries.size(); ++i) {
      const CurvePlan& entry = *entries[i];
      const double y = top + 4 + row * (static_cast<double>(i) + 0.5);
      if (entry.line)
        m_out << "<path fill=\"none\""
              << Stroke(entry.curve->GetLineColor(), std::min(entry.lineWidth, 4.0),
                        entry.lineStyle)
              << " d=\"M" << Pixel(left + 6) << ',' << Pixel(y) << "H" << Pixel(left + 32)
              << "\"/>";
      if (entry.symbols)
        m_out << "<path" << SymbolPaint(entry.symbolType, entry.curve->GetSymbolColor()) << " d=\""
              << Symbol(entry.symbolType, left + 19, y, std::min(entry.symbolSize, size)) << "\"/>";
      m_out << "<text x=\"" << Pixel(left + 38) << "\" y=\"" << Pixel(y + size * 0.35)
            << "\" fill=\"" << Colour(legend.m_crLegendColor) << '"' << FontAttributes(font, 12)
            << '>' << XmlText(entry.name) << "</text>\n";
    }
    m_out << "</g>\n";
  }

  // The results window's text, made afresh from the curves as the host makes it: each drawn
  // curve's name, point count and range of values, with its top left corner at the stored
  // percent of the picture.
  void DrawResults() {
    if (!m_graph.results || !m_graph.results->m_nResultsShown || m_curves.empty()) return;
    const CResultsWnd& results = *m_graph.results;
    m_notes.Code("results window", "lpszResultsPosition", results.m_nResultsPosition, 1,
                 "0 (at its percent)");
    const double size = FontSize(results.m_lfResultsFont, 12);
    const auto percent = [](double value) {
      return std::isfinite(value) ? std::clamp(value, 0.0, 100.0) : 0.0;
    };
    const double left = percent(results.m_dptResultsPercent.x) / 100 * m_width;
    double y = percent(results.m_dptResultsPercent.y) / 100 * m_height;
    m_out << "<g class=\"results\" fill=\"black\"" << FontAttributes(results.m_lfResultsFont, 12)
          << ">\n";
    for (const CurvePlan& curve : m_curves) {
      Range values;
      const int count = curve.curve->GetNumPoints();
      for (int i = 0; i < count; ++i) {
        CURVEPOINT point;
        curve.curve->GetCurvePoint(i, &point);
        values.Add(point.dY);
      }
      std::string line = curve.name + ": " + std::to_string(count) + " points";
      if (!values.Empty()) line += ", y " + Short(values.low) + " to " + Short(values.high);
      y += size * 1.3;
      m_out << "<text x=\"" << Pixel(left) << "\" y=\"" << Pixel(y) << "\">" << XmlText(line)
            << "</text>\n";
    }
    m_out << "</g>\n";
  }

  std::ostream& m_out;
  const GraphLayout& m_graph;
  const int m_width;
  const int m_height;
  GraphPlan m_plan;
  const Box& m_plot = m_plan.plot;
  const std::array<AxisPlan, kRoles>& m_axes = m_plan.axes;
  const std::vector<CurvePlan>& m_curves = m_plan.curves;
  Notes& m_notes = m_plan.notes;
};

}  // namespace

std::vector<std::string> WriteGraphSvg(std::ostream& out, const PlotInput& input) {
  const int width = std::clamp(input.width, 200, 20000);
  const int height = std::clamp(input.height, 150, 20000);
  if (input.graph) return GraphPainter(out, input, *input.graph, width, height).Paint();
  const GraphLayout automatic = AutomaticLayout(input.title, width, height);
  return GraphPainter(out, input, automatic, width, height).Paint();
}

}  // namespace labarc::tool
