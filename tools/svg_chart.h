// An SVG line chart of reduced curves: axes with ticks and numbers, one path per curve in its
// colour, a legend, a title.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

class CCurveObj;

namespace labarc::tool {

struct ChartPoint {
  double x;
  double y;
};

// A curve reduced for drawing: its points when there are few, otherwise the lowest and highest y
// of each of many narrow x buckets, in x order. Points that are not finite are left out.
struct ChartSeries {
  std::string name;
  unsigned long colour = 0;  // RGB layout
  int lineWidth = 1;
  std::vector<ChartPoint> points;
};

inline constexpr std::size_t kMaxKeptPoints = 4096;
ChartSeries ReduceCurve(const CCurveObj& curve);

void WriteSvgChart(std::ostream& out, const std::string& title,
                   const std::vector<ChartSeries>& series, int width, int height);

// Text made safe for XML: markup characters escaped, control characters and bytes that are not
// UTF-8 replaced.
std::string XmlText(std::string_view text);

}  // namespace labarc::tool
