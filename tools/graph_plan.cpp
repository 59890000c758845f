#include "graph_plan.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace labarc::tool::drawing {

namespace {

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

// An axis the layout lacks: major ticks outside, and a grid for the first two axes.
_AXIS DefaultAxis(int role) {
  _AXIS axis;
  axis.nActive = 1;
  axis.nPos = role == kX ? 0 : role == kY ? 1 : 2;
  axis.tickMark.nMajorOutside = 1;
  axis.tickMark.nMajorGrid = role != kY2;  // one grid, of the first axes
  return axis;
}

// Works out the plan of one graph: the members are the plan's parts, filled in place.
class Planner {
 public:
  Planner(const GraphLayout& graph, int width, int height, GraphPlan& plan)
      : m_graph(graph),
        m_width(width),
        m_height(height),
        m_plot(plan.plot),
        m_curves(plan.curves),
        m_axes(plan.axes),
        m_notes(plan.notes) {}

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

  void PlanCurves(const std::vector<const CCurveObj*>& curves) {
    const bool scatter = m_notes.Code(Owner("window", Wording(m_graph.window.titles[0])),
                                      "Graph type", m_graph.window.nGraphType, 2, "0 (lines)") == 1;
    for (const CCurveObj* curve : curves) {
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

 private:
  const GraphLayout& m_graph;
  const int m_width;
  const int m_height;
  Box& m_plot;
  std::vector<CurvePlan>& m_curves;
  std::array<AxisPlan, kRoles>& m_axes;
  Notes& m_notes;
};

}  // namespace

double Fraction(double value, double low, double high) {
  const double span = high * 0.5 - low * 0.5;
  return span != 0 ? (value * 0.5 - low * 0.5) / span : 0;
}

std::string Short(double value) { return Number(value, std::chars_format::general, 6); }

void Range::Add(double v) {
  if (!std::isfinite(v)) return;
  low = std::min(low, v);
  high = std::max(high, v);
}

std::string_view Wording(const _TEXT& text) { return text.strWording.View(); }

std::string Owner(const char* kind, std::string_view name) {
  return std::string(kind) + " \"" + std::string(name) + "\"";
}

void Notes::Add(std::string line) {
  if (std::find(lines.begin(), lines.end(), line) == lines.end()) lines.push_back(line);
}

int Notes::Code(const std::string& owner, const char* label, int code, int count,
                const char* asZero) {
  if (code >= 0 && code < count) return code;
  Add(owner + ": " + label + " " + std::to_string(code) + " has no reading; drawn as " + asZero);
  return 0;
}

double AxisPlan::At(double value) const {
  if (log) value = value > 0 ? std::log10(value) : kNaN;
  return AtScaled(value);
}

double AxisPlan::AtScaled(double scaled) const {
  return p0 + Fraction(scaled, from, to) * (p1 - p0);
}

double AxisPlan::Value(double scaled) const { return log ? std::pow(10.0, scaled) : scaled; }

GraphLayout AutomaticLayout(const std::string& title, int width, int height) {
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
  window.titles[0].strWording = title.c_str();
  window.legend.m_nLegendShown = 1;
  window.legend.m_dLocationPercentX = (width - 165) * 100.0 / width;
  window.legend.m_dLocationPercentY = 40 * 100.0 / height;
  window.crBackgroundColor = RGB(255, 255, 255);
  return graph;
}

GraphPlan PlanGraph(const GraphLayout& graph, const std::vector<const CCurveObj*>& curves,
                    int width, int height) {
  GraphPlan plan;
  Planner planner(graph, width, height, plan);
  planner.PlacePlot();
  planner.PlanCurves(curves);
  for (int role = kX; role < kRoles; ++role) planner.PlanAxis(role);
  return plan;
}

// The values of the major ticks, or of the minor ones between them, in scaled units. Ends and
// steps are compared in halves, so that no sum leaves the doubles even for the widest range.
std::vector<double> Ticks(const AxisPlan& axis, bool minor) {
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

// A tick's number: Num Digits decimals (the shortest text when 0), plainly or, with Notation 1,
// in exponent form.
std::string TickText(const AxisPlan& axis, double tick, Notes& notes) {
  double value = axis.Value(tick);
  if (!axis.log && std::abs(value) < axis.step * 1e-9) value = 0;
  const _TICKLABEL& labels = axis.axis.tickLabel;
  int digits = labels.nNumDigits;
  if (digits < 0 || digits > 15) {
    notes.Add(Owner("axis", Wording(axis.axis.text)) + ": Num Digits " + std::to_string(digits) +
              " has no reading; drawn as 0 (shortest)");
    digits = 0;
  }
  if (labels.nNotation == 1) return Number(value, std::chars_format::scientific, digits);
  return digits > 0 ? Number(value, std::chars_format::fixed, digits) : Short(value);
}

}  // namespace labarc::tool::drawing
