#include "json_values.h"

#include <charconv>
#include <cmath>

#include <labarc/archive/number_text.h>
#include <labarc/archive/value_controls.h>
#include <labarc/framework/logfont.h>
#include <labarc/framework/rect_tracker.h>
#include <labarc/graph/legend.h>
#include <labarc/graph/ticks.h>
#include <labarc/values/date.h>
#include <labarc/values/dpoint.h>
#include <labarc/values/text_object.h>

namespace labarc::tool {

Json ToJson(const CString& value) { return std::string(value.View()); }
Json ToJson(BYTE value) { return value; }
Json ToJson(int value) { return value; }
Json ToJson(UINT value) { return value; }
Json ToJson(long value) { return value; }

Json ToJson(double value) {
  if (std::isfinite(value)) return value;
  ValueText text;
  CDouble::AppendText(value, text);
  return std::string(text.View());
}

Json ToJson(unsigned long colour) {
  return {{"red", GetRValue(colour)}, {"green", GetGValue(colour)}, {"blue", GetBValue(colour)}};
}

Json ToJson(const tagRECT& value) {
  return {
      {"left", value.left}, {"top", value.top}, {"right", value.right}, {"bottom", value.bottom}};
}
Json ToJson(const CSize& value) { return {{"cx", value.cx}, {"cy", value.cy}}; }
Json ToJson(const tagPOINT& value) { return {{"x", value.x}, {"y", value.y}}; }
Json ToJson(const DPOINT& value) { return {{"x", ToJson(value.x)}, {"y", ToJson(value.y)}}; }

Json ToJson(const CDate& value) {
  if (value.IsNull()) return nullptr;
  CString text;
  return std::string(value.FmtMMsDDsYYYY(text, '/').View());
}

void AppendJsonNumber(double value, std::string& out) {
  if (value == 0 && std::signbit(value)) {
    out += "-0.0";  // "-0" would read back as the integer 0 in most JSON readers
    return;
  }
  if (std::isfinite(value)) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, result.ptr);
    return;
  }
  ValueText text;
  CDouble::AppendText(value, text);
  out += '"';
  out += text.View();
  out += '"';
}

const char* CompositeName(const tagLOGFONTA&) { return "font"; }
const char* CompositeName(const _TEXT&) { return "text"; }
const char* CompositeName(const CRectTracker&) { return "tracker"; }
const char* CompositeName(const _TICKLABEL&) { return "tick label"; }
const char* CompositeName(const TICKMARK&) { return "tick mark"; }
const char* CompositeName(const CLegend&) { return "legend"; }

}  // namespace labarc::tool
