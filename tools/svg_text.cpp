#include "svg_text.h"

#include <utf8.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <iterator>

namespace labarc::tool {

std::string XmlText(std::string_view text) {
  std::string valid;
  valid.reserve(text.size());
  utf8::replace_invalid(text.begin(), text.end(), std::back_inserter(valid), '?');
  std::string out;
  out.reserve(valid.size());
  for (auto at = valid.begin(); at != valid.end();) {
    const auto start = at;
    const std::uint32_t code = utf8::unchecked::next(at);
    switch (code) {
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
        // Control characters become "?" (XML takes only tab and line ends among them, which no
        // name or label holds), as do U+FFFE and U+FFFF, which XML forbids.
        if (code < 0x20 || code == 0xFFFE || code == 0xFFFF)
          out += '?';
        else
          out.append(start, at);
    }
  }
  return out;
}

std::string Pixel(double value) {
  constexpr double kFar = 1e6;
  value = std::isnan(value) ? 0 : std::clamp(value, -kFar, kFar);
  char text[32];
  const auto end = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 1).ptr;
  std::string_view result(text, static_cast<std::size_t>(end - text));
  return std::string(result == "-0.0" ? "0.0" : result);
}

std::string Colour(unsigned long colour) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string text = "#";
  for (const BYTE part : {GetRValue(colour), GetGValue(colour), GetBValue(colour)}) {
    text += kDigits[part >> 4];
    text += kDigits[part & 15];
  }
  return text;
}

double FontSize(const LOGFONT& font, double fallbackSize) {
  // A Windows height is negative for the character height, positive for the cell height; both
  // are taken as the size in pixels.
  const double height = std::abs(static_cast<double>(font.lfHeight));
  return std::clamp(height > 0 ? height : fallbackSize, 4.0, 200.0);
}

std::string FontAttributes(const LOGFONT& font, double fallbackSize) {
  std::string text;
  const std::string_view face(font.lfFaceName, strnlen(font.lfFaceName, LF_FACESIZE));
  if (!face.empty()) text += " font-family=\"" + XmlText(face) + ", sans-serif\"";
  text += " font-size=\"" + Pixel(FontSize(font, fallbackSize)) + "\"";
  if (font.lfWeight > 0) {
    const long weight = std::clamp((static_cast<long>(font.lfWeight) + 50) / 100 * 100, 100L, 900L);
    if (weight != 400) text += " font-weight=\"" + std::to_string(weight) + "\"";
  }
  if (font.lfItalic) text += " font-style=\"italic\"";
  if (font.lfUnderline) text += " text-decoration=\"underline\"";
  return text;
}

}  // namespace labarc::tool
