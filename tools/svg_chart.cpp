#include "svg_chart.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <ostream>

#include <labarc/curve/curve_obj.h>
#include <labarc/framework/win_types.h>

namespace labarc::tool {

namespace {

constexpr std::size_t kBuckets = 2048;

struct Range {
  double low = std::numeric_limits<double>::infinity();
  double high = -std::numeric_limits<double>::infinity();
  void Add(double v) {
    low = std::min(low, v);
    high = std::max(high, v);
  }
  bool Empty() const { return !(low <= high); }
};

// A round step of about range / count: 1, 2 or 5 times a power of ten.
double NiceStep(double range, int count) {
  const double raw = range / count;
  const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
  const double fraction = raw / magnitude;
  return (fraction <= 1 ? 1 : fraction <= 2 ? 2 : fraction <= 5 ? 5 : 10) * magnitude;
}

// Where `value` lies from `low` (0) to `high` (1). Working in halves keeps the span finite even
// when the data reaches the largest doubles of both signs.
double Fraction(double value, double low, double high) {
  const double span = high * 0.5 - low * 0.5;
  return span > 0 ? (value * 0.5 - low * 0.5) / span : 0;
}

// The value at fraction `t` from `low` to `high`, finite for finite ends.
double Between(double low, double high, double t) { return low * (1 - t) + high * t; }

double Finite(double value) {
  constexpr double kMax = std::numeric_limits<double>::max();
  return std::clamp(value, -kMax, kMax);
}

// Widens an empty or one-value range so that it can be drawn, then rounds it out to ticks.
Range Axis(Range range, double& step) {
  if (range.Empty()) range = {0, 1};
  const double halfSpan = range.high * 0.5 - range.low * 0.5;
  if (halfSpan <= std::max(std::abs(range.low), std::abs(range.high)) * 0.5e-12) {
    const double pad = range.low == 0 ? 1 : std::abs(range.low) * 0.1;
    range = {Finite(range.low - pad), Finite(range.high + pad)};
  }
  step = NiceStep(range.high * 0.5 - range.low * 0.5, 3);  // a sixth of the whole span
  return {Finite(std::floor(range.low / step) * step), Finite(std::ceil(range.high / step) * step)};
}

std::string Number(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.6g", std::abs(value) < 1e-300 ? 0.0 : value);
  return text;
}

std::string Pixel(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f", value);
  return text;
}

std::string Colour(unsigned long colour) {
  char text[8];
  std::snprintf(text, sizeof text, "#%02x%02x%02x", GetRValue(colour), GetGValue(colour),
                GetBValue(colour));
  return text;
}

}  // namespace

std::string XmlText(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size();) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (byte < 0x80) {
      switch (byte) {
        case '&':
          out += "&amp;";
          break;
        case '<':
          out += "&lt;";
          break;
        case '>':
          out += "&gt;";
          break;
        case '"':
          out += "&quot;";
          break;
        default:
          out += byte < 0x20 ? '?' : static_cast<char>(byte);
      }
      ++i;
      continue;
    }
    // A well-formed UTF-8 sequence passes; anything else becomes "?".
    const std::size_t length = byte >= 0xF0 && byte < 0xF5   ? 4
                               : byte >= 0xE0                ? 3
                               : byte >= 0xC2 && byte < 0xE0 ? 2
                                                             : 0;
    bool ok = length > 0 && i + length <= text.size();
    for (std::size_t k = 1; ok && k < length; ++k)
      ok = (static_cast<unsigned char>(text[i + k]) & 0xC0) == 0x80;
    if (ok && length == 3) {
      const auto next = static_cast<unsigned char>(text[i + 1]);
      ok = !(byte == 0xE0 && next < 0xA0) && !(byte == 0xED && next >= 0xA0);
    }
    if (ok && length == 4) {
      const auto next = static_cast<unsigned char>(text[i + 1]);
      ok = !(byte == 0xF0 && next < 0x90) && !(byte == 0xF4 && next >= 0x90);
    }
    if (ok) {
      out.append(text.substr(i, length));
      i += length;
    } else {
      out += '?';
      ++i;
    }
  }
  return out;
}

ChartSeries ReduceCurve(const CCurveObj& curve) {
  ChartSeries series;
  series.name = curve.GetName().View();
  series.colour = curve.GetLineColor();
  series.lineWidth = std::clamp(curve.GetLineWidth(), 1, 8);
  const int count = curve.GetNumPoints();
  const auto pointAt = [&](int i) {
    CURVEPOINT point;
    curve.GetCurvePoint(i, &point);
    return point;
  };
  if (static_cast<std::size_t>(count) <= kMaxKeptPoints) {
    for (int i = 0; i < count; ++i) {
      const CURVEPOINT p = pointAt(i);
      if (std::isfinite(p.dX) && std::isfinite(p.dY)) series.points.push_back({p.dX, p.dY});
    }
    return series;
  }
  Range xs;
  for (int i = 0; i < count; ++i) {
    const CURVEPOINT p = pointAt(i);
    if (std::isfinite(p.dX) && std::isfinite(p.dY)) xs.Add(p.dX);
  }
  if (xs.Empty()) return series;
  std::vector<Range> buckets(kBuckets);
  for (int i = 0; i < count; ++i) {
    const CURVEPOINT p = pointAt(i);
    if (!std::isfinite(p.dX) || !std::isfinite(p.dY)) continue;
    const double at = Fraction(p.dX, xs.low, xs.high);
    buckets[std::min(kBuckets - 1, static_cast<std::size_t>(at * kBuckets))].Add(p.dY);
  }
  for (std::size_t b = 0; b < kBuckets; ++b) {
    if (buckets[b].Empty()) continue;
    const double x = Between(xs.low, xs.high, (static_cast<double>(b) + 0.5) / kBuckets);
    series.points.push_back({x, buckets[b].low});
    if (buckets[b].high != buckets[b].low) series.points.push_back({x, buckets[b].high});
  }
  return series;
}

void WriteSvgChart(std::ostream& out, const std::string& title,
                   const std::vector<ChartSeries>& series, int width, int height) {
  constexpr int kLeft = 80, kRight = 180, kTop = 40, kBottom = 50;
  width = std::max(width, kLeft + kRight + 100);
  height = std::max(height, kTop + kBottom + 100);
  const double plotWidth = width - kLeft - kRight;
  const double plotHeight = height - kTop - kBottom;

  Range xs, ys;
  for (const ChartSeries& s : series)
    for (const ChartPoint& p : s.points) {
      xs.Add(p.x);
      ys.Add(p.y);
    }
  double xStep = 1, yStep = 1;
  const Range xAxis = Axis(xs, xStep);
  const Range yAxis = Axis(ys, yStep);
  const auto px = [&](double x) { return kLeft + Fraction(x, xAxis.low, xAxis.high) * plotWidth; };
  const auto py = [&](double y) {
    return kTop + plotHeight - Fraction(y, yAxis.low, yAxis.high) * plotHeight;
  };

  out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << width << "\" height=\"" << height
      << "\" viewBox=\"0 0 " << width << ' ' << height << "\" font-family=\"sans-serif\" "
      << "font-size=\"12\">\n"
      << "<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n"
      << "<text x=\"" << width / 2 << "\" y=\"24\" text-anchor=\"middle\" font-size=\"16\">"
      << XmlText(title) << "</text>\n";

  // Axes: the frame, then ticks with their numbers and faint grid lines.
  out << "<g stroke=\"black\" fill=\"none\"><rect x=\"" << kLeft << "\" y=\"" << kTop
      << "\" width=\"" << plotWidth << "\" height=\"" << plotHeight << "\"/></g>\n<g>\n";
  for (int i = 0; xAxis.low + i * xStep <= xAxis.high + xStep * 1e-9 && i < 100; ++i) {
    const double value = xAxis.low + i * xStep;
    const std::string x = Pixel(px(value));
    out << "<line x1=\"" << x << "\" y1=\"" << kTop << "\" x2=\"" << x << "\" y2=\""
        << kTop + plotHeight << "\" stroke=\"#e0e0e0\"/><line x1=\"" << x << "\" y1=\""
        << kTop + plotHeight << "\" x2=\"" << x << "\" y2=\"" << kTop + plotHeight + 5
        << "\" stroke=\"black\"/><text x=\"" << x << "\" y=\"" << kTop + plotHeight + 18
        << "\" text-anchor=\"middle\">" << Number(value) << "</text>\n";
  }
  for (int i = 0; yAxis.low + i * yStep <= yAxis.high + yStep * 1e-9 && i < 100; ++i) {
    const double value = yAxis.low + i * yStep;
    const std::string y = Pixel(py(value));
    out << "<line x1=\"" << kLeft << "\" y1=\"" << y << "\" x2=\"" << kLeft + plotWidth
        << "\" y2=\"" << y << "\" stroke=\"#e0e0e0\"/><line x1=\"" << kLeft - 5 << "\" y1=\"" << y
        << "\" x2=\"" << kLeft << "\" y2=\"" << y << "\" stroke=\"black\"/><text x=\"" << kLeft - 8
        << "\" y=\"" << y << "\" dy=\"4\" text-anchor=\"end\">" << Number(value) << "</text>\n";
  }
  out << "</g>\n";

  // One path per curve: few points are drawn as they are; many are cut to the lowest and the
  // highest value of each pixel column.
  const std::size_t columns = static_cast<std::size_t>(plotWidth);
  for (const ChartSeries& s : series) {
    std::string path;
    const auto add = [&](double x, double y) {
      path += path.empty() ? "M" : " L";
      path += Pixel(x) + ',' + Pixel(y);
    };
    if (s.points.size() <= 2 * columns) {
      for (const ChartPoint& p : s.points) add(px(p.x), py(p.y));
    } else {
      std::vector<Range> column(columns + 1);
      for (const ChartPoint& p : s.points) {
        const double x = std::clamp(px(p.x) - kLeft, 0.0, plotWidth);
        column[static_cast<std::size_t>(x)].Add(py(p.y));
      }
      for (std::size_t c = 0; c < column.size(); ++c) {
        if (column[c].Empty()) continue;
        add(kLeft + static_cast<double>(c), column[c].high);
        if (column[c].low != column[c].high) add(kLeft + static_cast<double>(c), column[c].low);
      }
    }
    if (path.empty()) path = "M0,0";
    out << "<path fill=\"none\" stroke=\"" << Colour(s.colour) << "\" stroke-width=\""
        << s.lineWidth << "\" d=\"" << path << "\"/>\n";
  }

  // The legend: a stroke of each curve's colour and its name.
  out << "<g>\n";
  for (std::size_t i = 0; i < series.size(); ++i) {
    const double y = kTop + 10 + 20.0 * static_cast<double>(i);
    out << "<line x1=\"" << width - kRight + 15 << "\" y1=\"" << y << "\" x2=\""
        << width - kRight + 40 << "\" y2=\"" << y << "\" stroke=\"" << Colour(series[i].colour)
        << "\" stroke-width=\"3\"/><text x=\"" << width - kRight + 46 << "\" y=\"" << y
        << "\" dy=\"4\">" << XmlText(series[i].name) << "</text>\n";
  }
  out << "</g>\n</svg>\n";
}

}  // namespace labarc::tool
