#include "graph_plot.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <ostream>
#include <string_view>

#include "svg_text.h"

namespace labarc::tool {

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
enum Role { kX, kY, kY2, kRoles };
constexpr const char* kRoleNames[kRoles] = {"x", "y", "y2"};

struct Box {
  double left, top, right, bottom;
};

struct Range {
  double low = std::numeric_limits<double>::infinity();
  double high = -std::numeric_limits<double>::infinity();
  void Add(double v) {
    if (!std::isfinite(v)) return;
    low = std::min(low, v);
    high = std::max(high, v);
  }
  bool Empty() const { return !(low <= high); }
};

// Where `value` lies from `low` (0) to `high` (1). Working in halves keeps the span finite even
// when the values reach the largest doubles of both signs.
double Fraction(double value, double low, double high) {
  const double span = high * 0.5 - low * 0.5;
  return span != 0 ? (value * 0.5 - low * 0.5) / span : 0;
}

double Finite(double value) {
  constexpr double kMax = std::numeric_limits<double>::max();
  return std::clamp(value, -kMax, kMax);
}

// A round step of about range / count: 1, 2 or 5 times a power of ten.
double NiceStep(double range, int count) {
  const double raw = range / count;
  const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
  const double fraction = raw / magnitude;
  return (fraction <= 1 ? 1 : fraction <= 2 ? 2 : fraction <= 5 ? 5 : 10) * magnitude;
}

// The range of the data widened when empty or of one value, rounded out to round ticks.
Range AutomaticRange(Range range, double& step) {
  if (range.Empty()) range = {0, 1};
  const double halfSpan = range.high * 0.5 - range.low * 0.5;
  if (halfSpan <= std::max(std::abs(range.low), std::abs(range.high)) * 0.5e-12) {
    const double pad = range.low == 0 ? 1 : std::abs(range.low) * 0.1;
    range = {Finite(range.low - pad), Finite(range.high + pad)};
  }
  step = NiceStep(range.high * 0.5 - range.low * 0.5, 3);  // a sixth of the whole span
  return {Finite(std::floor(range.low / step) * step), Finite(std::ceil(range.high / step) * step)};
}

bool Spans(double low, double high) {
  return std::isfinite(low) && std::isfinite(high) && low != high;
}

std::string Number(double value, std::chars_format format, int precision) {
  char text[64];
  const auto end = std::to_chars(text, text + sizeof text, value, format, precision).ptr;
  return std::string(text, end);
}

// A value as the shortest plain text of up to six significant digits.
std::string Short(double value) { return Number(value, std::chars_format::general, 6); }

std::string_view Wording(const _TEXT& text) { return text.strWording.View(); }

// What the picture leaves at its defaults, worded for `plot --verbose`.
class Notes {
 public:
  void Add(std::string line) {
    if (std::find(lines.begin(), lines.end(), line) == lines.end()) lines.push_back(line);
  }
  // A host code with a reading for 0 to count - 1 only: another code is noted and read as 0.
  int Code(const std::string& owner, const char* label, int code, int count, const char* asZero) {
    if (code >= 0 && code < count) return code;
    Add(owner + ": " + label + " " + std::to_string(code) + " has no reading; drawn as " + asZero);
    return 0;
  }
  std::vector<std::string> lines;
};

// Pen styles, as dash lengths in line widths: 0 solid, 1 dashed, 2 dotted, 3 dash-dot,
// 4 dash-dot-dot; 5 draws nothing.
constexpr int kPenStyles = 6;
constexpr int kNoPen = 5;
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
  return " stroke=\"" + Colour(colour) + "\" stroke-width=\"" + Pixel(width) + "\"" +
         DashArray(style, width);
}

std::string Owner(const char* kind, std::string_view name) {
  return std::string(kind) + " \"" + std::string(name) + "\"";
}

// ---------------------------------------------------------------------------------------------
// The automatic chart's layout: a plot with room for numbers at the left and a legend at the
// right, round ranges from the data and a faint grid.

_AXIS DefaultAxis(int role) {
  _AXIS axis;
  axis.nActive = 1;
  axis.nPos = role == kX ? 0 : role == kY ? 1 : 2;
  axis.tickMark.nMajorOutside = 1;
  axis.tickMark.nMajorGrid = role != kY2;  // one grid, of the first axes
  return axis;
}

GraphLayout AutomaticLayout(const PlotInput& input, int width, int height) {
  GraphLayout graph;
  _GEOMETRY geometry{};
  geometry.rcLPGraphLoc = RECT{0, 0, width, height};
  geometry.rcLPPlotLoc = RECT{80, 40, width - 180, height - 50};
  graph.geometry = geometry;
  graph.axes = {DefaultAxis(kX), DefaultAxis(kY)};
  _WINDOW& window = graph.window;
  window.nEncloseGraph = 1;
  window.nTitleCount = 1;
  window.titles[0].bShow = 1;
  window.titles[0].lfFont.lfHeight = 16;
  window.titles[0].strWording = input.title.c_str();
  window.legend.m_nLegendShown = 1;
  window.legend.m_dLocationPercentX = (width - 165) * 100.0 / width;
  window.legend.m_dLocationPercentY = 40 * 100.0 / height;
  window.crBackgroundColor = RGB(255, 255, 255);
  return graph;
}

// ---------------------------------------------------------------------------------------------
// Axes: which values each one spans, where it stands and how it ticks.

struct AxisPlan {
  int role = kX;
  _AXIS axis;  // as stored, or the default one
  bool drawn = false;
  char side = 'b';  // b(ottom), l(eft), r(ight), t(op)
  bool log = false;
  double from = 0, to = 1;  // the values (their logarithms when log) at p0 and at p1
  double step = 1;
  int minor = 0;
  double p0 = 0, p1 = 1;  // pixels: left and right, or bottom and top
  std::string title;
  LOGFONT titleFont{};
  unsigned long titleColour = 0;

  bool Horizontal() const { return role == kX; }
  double At(double value) const {
    if (log) value = value > 0 ? std::log10(value) : kNaN;
    return p0 + Fraction(value, from, to) * (p1 - p0);
  }
  double Low() const { return std::min(from, to); }
  double High() const { return std::max(from, to); }
  double Value(double scaled) const { return log ? std::pow(10.0, scaled) : scaled; }
};

struct CurvePlan {
  const CCurveObj* curve;
  std::string name;
  int role;
  bool line;
  int lineStyle;
  int lineType;  // 0 straight, 1 steps
  double lineWidth;
  bool symbols;
  int symbolType;
  double symbolSize;
  int symbolInterval;
};

class GraphPainter {
 public:
  GraphPainter(std::ostream& out, const PlotInput& input, const GraphLayout& graph, int width,
               int height)
      : m_out(out), m_input(input), m_graph(graph), m_width(width), m_height(height) {}

  std::vector<std::string> Paint() {
    PlacePlot();
    PlanCurves();
    for (int role = kX; role < kRoles; ++role) PlanAxis(role);
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
    return " x=\"" + Pixel(box.left) + "\" y=\"" + Pixel(box.top) + "\" width=\"" +
           Pixel(box.right - box.left) + "\" height=\"" + Pixel(box.bottom - box.top) + "\"";
  }

  // The plot's place in the picture: where the geometry puts it within the graph, scaled to the
  // picture; a margin all round when the geometry gives no plot inside a graph.
  void PlacePlot() {
    m_plot = {80, 50, m_width - 80.0, m_height - 60.0};
    if (!m_graph.geometry) return;
    const RECT& g = m_graph.geometry->rcLPGraphLoc;
    const RECT& p = m_graph.geometry->rcLPPlotLoc;
    const double gl = std::min(g.left, g.right), gr = std::max(g.left, g.right);
    const double gt = std::min(g.top, g.bottom), gb = std::max(g.top, g.bottom);
    const double pl = std::min(p.left, p.right), pr = std::max(p.left, p.right);
    const double pt = std::min(p.top, p.bottom), pb = std::max(p.top, p.bottom);
    if (!(gl <= pl && pl < pr && pr <= gr && gt <= pt && pt < pb && pb <= gb)) {
      m_notes.Add("geometry: LP Plot Loc does not lie within LP Graph Loc; drawn with margins");
      return;
    }
    m_plot = {(pl - gl) / (gr - gl) * m_width, (pt - gt) / (gb - gt) * m_height,
              (pr - gl) / (gr - gl) * m_width, (pb - gt) / (gb - gt) * m_height};
  }

  void PlanCurves() {
    const bool scatter = m_notes.Code(Owner("window", Wording(m_graph.window.titles[0])),
                                      "Graph type", m_graph.window.nGraphType, 2, "0 (lines)") == 1;
    for (const CCurveObj* curve : m_input.curves) {
      if (!curve->GetDraw()) continue;
      CurvePlan plan{};
      plan.curve = curve;
      plan.name = curve->GetName().View();
      const std::string owner = Owner("curve", plan.name);
      plan.role = m_notes.Code(owner, "Y Axis", curve->GetYAxis(), 2, "0 (the first y axis)") == 1
                      ? kY2
                      : kY;
      plan.lineStyle =
          m_notes.Code(owner, "Line Style", curve->GetLineStyle(), kPenStyles, "0 (solid)");
      plan.line = !scatter && curve->GetLineOn() && plan.lineStyle != kNoPen;
      plan.lineType = m_notes.Code(owner, "Line Type", curve->GetLineType(), 2, "0 (straight)");
      plan.lineWidth = std::clamp(curve->GetLineWidth(), 1, 20);
      plan.symbols = scatter || curve->GetSymbolOn();
      plan.symbolType =
          m_notes.Code(owner, "Symbol Type", curve->GetSymbolType(), kSymbolTypes, "0 (square)");
      plan.symbolSize = 2.0 * std::clamp(curve->GetSymbolFactor(), 1, 25);
      plan.symbolInterval = std::max(curve->GetSymbolIntervals(), 1);
      m_curves.push_back(plan);
    }
  }

  void PlanAxis(int role) {
    AxisPlan& plan = m_axes[static_cast<std::size_t>(role)];
    plan.role = role;
    const bool stored = static_cast<std::size_t>(role) < m_graph.axes.size();
    plan.axis = stored ? m_graph.axes[static_cast<std::size_t>(role)] : DefaultAxis(role);
    const _AXIS& axis = plan.axis;
    const std::string owner = Owner("axis", Wording(axis.text));
    bool used = role == kX;
    Range data;
    for (const CurvePlan& curve : m_curves) {
      if (role != kX && curve.role != role) continue;
      used = true;
      const int count = curve.curve->GetNumPoints();
      for (int i = 0; i < count; ++i) {
        CURVEPOINT point;
        curve.curve->GetCurvePoint(i, &point);
        if (std::isfinite(point.dX) && std::isfinite(point.dY))
          data.Add(role == kX ? point.dX : point.dY);
      }
    }
    plan.drawn = role == kY2 ? (stored && axis.nActive) || used : !stored || axis.nActive;

    // The range: the axis's own, else the geometry's for its slot, else round ends of the data.
    double low = axis.dGPAxisMin, high = axis.dGPAxisMax, step = 0;
    if (!Spans(low, high) && m_graph.geometry) {
      low = m_graph.geometry->dGPMin[role];
      high = m_graph.geometry->dGPMax[role];
    }
    if (!Spans(low, high)) {
      const Range rounded = AutomaticRange(data, step);
      low = rounded.low, high = rounded.high;
    }
    plan.log = m_notes.Code(owner, "Scaling", axis.nScaling, 2, "0 (linear)") == 1;
    if (plan.log && !(low > 0 && high > 0)) {
      m_notes.Add(owner + ": Scaling 1 (logarithmic) needs a range above 0; drawn as 0 (linear)");
      plan.log = false;
    }
    if (plan.log) low = std::log10(low), high = std::log10(high);
    const bool reversed = m_notes.Code(owner, "Direction", axis.nDirection, 2, "0 (normal)") == 1;
    plan.from = reversed ? high : low;
    plan.to = reversed ? low : high;
    m_notes.Code(owner, "Type", axis.nType, 1, "0 (a value axis)");

    // The step between major ticks: the axis's increment, else its tick marks', else the
    // geometry's, else a round one. A logarithmic axis ticks every decade.
    for (const double given : {axis.dGPIncrement, axis.tickMark.dTickIncrement,
                               m_graph.geometry ? m_graph.geometry->dGPDelta[role] : 0.0, step})
      if (std::isfinite(given) && given > 0) {
        step = given;
        break;
      }
    const double halfSpan = plan.High() * 0.5 - plan.Low() * 0.5;  // finite for finite ends
    if (plan.log) {
      step = 1;
    } else if (!(step > 0) || halfSpan / step > 500) {
      const double round = NiceStep(halfSpan, 3);
      if (step > 0)
        m_notes.Add(owner + ": increment " + Short(step) +
                    " gives more than 1000 ticks; drawn as " + Short(round));
      step = round;
    }
    plan.step = step;
    plan.minor = std::clamp(axis.tickMark.nMinorTicks, 0, 20);

    const int pos = axis.nPos;
    const char defaultSide = role == kX ? 'b' : role == kY ? 'l' : 'r';
    const bool fits = role == kX ? pos == 0 || pos == 3 : pos == 1 || pos == 2;
    plan.side = !fits ? defaultSide : "blrt"[pos];
    if (!fits)
      m_notes.Add(owner + ": Pos " + std::to_string(pos) + " has no reading for a" +
                  (role == kX ? "n x" : " y") + " axis; drawn as " + std::to_string(role));
    plan.p0 = plan.Horizontal() ? m_plot.left : m_plot.bottom;
    plan.p1 = plan.Horizontal() ? m_plot.right : m_plot.top;

    // The title: the axis's own text when it has one, else the curves' title for this axis.
    if (!Wording(axis.text).empty()) {
      if (axis.text.bShow) plan.title = Wording(axis.text);
      plan.titleFont = axis.text.lfFont;
      plan.titleColour = axis.text.crColor;
    } else {
      for (const CurvePlan& curve : m_curves)
        if (role == kX || curve.role == role) {
          plan.title = (role == kX ? curve.curve->GetXTitle() : curve.curve->GetYTitle()).View();
          if (!plan.title.empty()) break;
        }
    }
    m_notes.Code(owner, "Notation", axis.tickLabel.nNotation, 2, "0 (plain)");
  }

  // The values of the major ticks, or of the minor ones between them, in scaled units. Ends and
  // steps are compared in halves, so that no sum leaves the doubles even for the widest range.
  std::vector<double> Ticks(const AxisPlan& axis, bool minor) const {
    const double low = axis.Low(), high = axis.High(), step = axis.step;
    const double slack = step * 0.5e-9;
    const double first = axis.log ? std::ceil(low - 1e-9) : low;
    const double count = std::floor((high * 0.5 - first * 0.5) / (step * 0.5) + 1e-9);
    const int majors = count >= 0 ? static_cast<int>(std::min(count, 1000.0)) + 1 : 0;
    const auto within = [&](double at) {
      return at * 0.5 - high * 0.5 <= slack && at * 0.5 - low * 0.5 >= -slack;
    };
    std::vector<double> ticks;
    // A logarithmic axis has minor ticks below its first decade too.
    for (int k = axis.log && minor ? -1 : 0; k < majors; ++k) {
      const double major = Finite((first * 0.5 + k * (step * 0.5)) * 2);
      if (!minor) {
        ticks.push_back(major);
        continue;
      }
      for (int j = 1; j <= axis.minor; ++j) {
        // A logarithmic decade is divided evenly in values, a linear step in pixels.
        const double at = axis.log ? major + std::log10(1 + 9.0 * j / (axis.minor + 1))
                                   : major + step * (j / (axis.minor + 1.0));
        if (within(at)) ticks.push_back(at);
      }
    }
    return ticks;
  }

  double Along(const AxisPlan& axis, double scaled) const {
    return axis.p0 + Fraction(scaled, axis.from, axis.to) * (axis.p1 - axis.p0);
  }

  // A path of lines across the plot, one at each tick.
  std::string GridPath(const AxisPlan& axis, const std::vector<double>& ticks) const {
    std::string d;
    for (const double tick : ticks) {
      const std::string at = Pixel(Along(axis, tick));
      d += axis.Horizontal() ? "M" + at + ',' + Pixel(m_plot.top) + "V" + Pixel(m_plot.bottom)
                             : "M" + Pixel(m_plot.left) + ',' + at + "H" + Pixel(m_plot.right);
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
                  ? "M" + Pixel(m_plot.left) + ',' + Pixel(cross) + "H" + Pixel(m_plot.right)
                  : "M" + Pixel(cross) + ',' + Pixel(m_plot.bottom) + "V" + Pixel(m_plot.top))
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
        const std::string at = Pixel(Along(axis, tick));
        d += axis.Horizontal() ? "M" + at + ',' + Pixel(a) + "V" + Pixel(b)
                               : "M" + Pixel(a) + ',' + at + "H" + Pixel(b);
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
      numbers.emplace_back(Along(axis, tick), TickText(axis, tick));
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

  // A tick's number: Num Digits decimals (the shortest text when 0), plainly or, with Notation 1,
  // in exponent form.
  std::string TickText(const AxisPlan& axis, double tick) {
    double value = axis.Value(tick);
    if (!axis.log && std::abs(value) < axis.step * 1e-9) value = 0;
    const _TICKLABEL& labels = axis.axis.tickLabel;
    int digits = labels.nNumDigits;
    if (digits < 0 || digits > 15) {
      m_notes.Add(Owner("axis", Wording(axis.axis.text)) + ": Num Digits " +
                  std::to_string(digits) + " has no reading; drawn as 0 (shortest)");
      digits = 0;
    }
    if (labels.nNotation == 1) return Number(value, std::chars_format::scientific, digits);
    return digits > 0 ? Number(value, std::chars_format::fixed, digits) : Short(value);
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
        d = "M" + Pixel(x) + ',' + Pixel(y);
      } else {
        if (plan.lineType == 1) d += " L" + Pixel(x) + ',' + Pixel(lastY);
        d += " L" + Pixel(x) + ',' + Pixel(y);
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

  static constexpr int kSymbolTypes = 6;

  // One symbol centred at (x, y): 0 square, 1 circle, 2 triangle, 3 diamond, 4 plus, 5 cross.
  static std::string Symbol(int type, double x, double y, double size) {
    const double r = size / 2;
    const std::string at = "M" + Pixel(x - r) + ',' + Pixel(y - r);
    const std::string s = Pixel(size), half = Pixel(r), minusSize = Pixel(-size);
    switch (type) {
      case 1:
        return "M" + Pixel(x - r) + ',' + Pixel(y) + "a" + half + ',' + half + " 0 1,0 " + s +
               ",0a" + half + ',' + half + " 0 1,0 " + minusSize + ",0z";
      case 2:
        return "M" + Pixel(x) + ',' + Pixel(y - r) + "l" + half + ',' + s + "h" + minusSize + "z";
      case 3:
        return "M" + Pixel(x) + ',' + Pixel(y - r) + "l" + half + ',' + half + "l-" + half + ',' +
               half + "l-" + half + ",-" + half + "z";
      case 4:
        return "M" + Pixel(x - r) + ',' + Pixel(y) + "h" + s + "M" + Pixel(x) + ',' + Pixel(y - r) +
               "v" + s;
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
  const PlotInput& m_input;
  const GraphLayout& m_graph;
  const int m_width;
  const int m_height;
  Box m_plot{};
  std::array<AxisPlan, kRoles> m_axes;
  std::vector<CurvePlan> m_curves;
  Notes m_notes;
};

}  // namespace

std::vector<std::string> WriteGraphSvg(std::ostream& out, const PlotInput& input) {
  const int width = std::clamp(input.width, 200, 20000);
  const int height = std::clamp(input.height, 150, 20000);
  if (input.graph) return GraphPainter(out, input, *input.graph, width, height).Paint();
  const GraphLayout automatic = AutomaticLayout(input, width, height);
  return GraphPainter(out, input, automatic, width, height).Paint();
}

}  // namespace labarc::tool
