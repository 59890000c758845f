// How a graph will be drawn, worked out before any of it is: the plot's place in the picture,
// each axis's range, side and ticks, each curve's line and symbols, and the stored codes that
// have no reading.
#pragma once

#include <array>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "graph_plot.h"

namespace labarc::tool::drawing {

inline constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

enum Role { kX, kY, kY2, kRoles };

// Pen styles (line styles and grid line types): 0 solid to 4 dash-dot-dot; 5 draws nothing.
inline constexpr int kPenStyles = 6;
inline constexpr int kNoPen = 5;
// Symbol types: 0 square, 1 circle, 2 triangle, 3 diamond, 4 plus, 5 cross.
inline constexpr int kSymbolTypes = 6;

struct Box {
  double left, top, right, bottom;
};

struct Range {
  double low = std::numeric_limits<double>::infinity();
  double high = -std::numeric_limits<double>::infinity();
  void Add(double v);
  bool Empty() const { return !(low <= high); }
};

// Where `value` lies from `low` (0) to `high` (1), finite even when the values reach the largest
// doubles of both signs.
double Fraction(double value, double low, double high);

// A value as the shortest plain text of up to six significant digits.
std::string Short(double value);

std::string_view Wording(const _TEXT& text);
// `kind "name"`, naming what stores a code in a note.
std::string Owner(const char* kind, std::string_view name);

// What the picture leaves at its defaults, worded for `plot --verbose`.
class Notes {
 public:
  void Add(std::string line);
  // A host code with a reading for 0 to count - 1 only: another code is noted and read as 0.
  int Code(const std::string& owner, const char* label, int code, int count, const char* asZero);
  std::vector<std::string> lines;
};

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
  // The pixel of a value; NaN for a value a logarithmic axis cannot show.
  double At(double value) const;
  // The pixel of a value already scaled (a logarithm on a logarithmic axis).
  double AtScaled(double scaled) const;
  double Low() const { return std::min(from, to); }
  double High() const { return std::max(from, to); }
  double Value(double scaled) const;
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

struct GraphPlan {
  Box plot{};
  std::vector<CurvePlan> curves;  // those drawn
  std::array<AxisPlan, kRoles> axes;
  Notes notes;
};

GraphPlan PlanGraph(const GraphLayout& graph, const std::vector<const CCurveObj*>& curves,
                    int width, int height);

// The automatic chart's layout: a plot with room for numbers at the left and a legend at the
// right, round ranges from the data and a faint grid.
GraphLayout AutomaticLayout(const std::string& title, int width, int height);

// The major ticks, or the minor ones between them, in scaled units.
std::vector<double> Ticks(const AxisPlan& axis, bool minor);
// A tick's number as the axis's tick labels print it.
std::string TickText(const AxisPlan& axis, double tick, Notes& notes);

}  // namespace labarc::tool::drawing
