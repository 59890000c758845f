#include "json_values.h"

#include <charconv>
#include <cmath>
#include <type_traits>

#include <labarc/archive/value_type.h>

namespace labarc::tool {

Json ToJson(double value) {
  if (std::isfinite(value)) return value;
  std::string text;
  ValueToText(value, text);
  return text;
}

Json ToJson(const FieldValue& value) {
  return std::visit(
      [](const auto& v) -> Json {
        using V = std::decay_t<decltype(v)>;
        if constexpr (std::is_same_v<V, std::string> || std::is_same_v<V, std::int64_t>)
          return v;
        else if constexpr (std::is_same_v<V, double>)
          return ToJson(v);
        else if constexpr (std::is_same_v<V, FieldColour>)
          return {{"red", v.red}, {"green", v.green}, {"blue", v.blue}};
        else if constexpr (std::is_same_v<V, FieldRect>)
          return {{"left", v.left}, {"top", v.top}, {"right", v.right}, {"bottom", v.bottom}};
        else if constexpr (std::is_same_v<V, FieldSize>)
          return {{"cx", v.cx}, {"cy", v.cy}};
        else if constexpr (std::is_same_v<V, FieldPoint>)
          return {{"x", v.x}, {"y", v.y}};
        else
          return {{"x", ToJson(v.x)}, {"y", ToJson(v.y)}};
      },
      value);
}

Json FieldsJson(const std::vector<Field>& fields) {
  Json entries = Json::array();
  for (const Field& field : fields) {
    if (field.IsComposite())
      entries.push_back({{"composite", field.composite}, {"entries", FieldsJson(field.fields)}});
    else if (field.type == ValueType::line)
      entries.push_back({{"text", field.text}});
    else
      entries.push_back({{"label", field.label}, {"value", ToJson(field.value)}});
  }
  return entries;
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
  std::string text;
  ValueToText(value, text);
  out += '"' + text + '"';
}

std::string JsonText(const Json& value) {
  return value.dump(-1, ' ', false, Json::error_handler_t::replace);
}

}  // namespace labarc::tool
