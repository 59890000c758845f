// The small texts an SVG picture is made of: XML-safe text, pixel numbers, colours and font
// attributes.
#pragma once

#include <string>
#include <string_view>

#include <labarc/framework/logfont.h>

namespace labarc::tool {

// Text made safe for XML: markup characters escaped; control characters, the two characters XML
// forbids (U+FFFE, U+FFFF) and every byte sequence that is not well-formed UTF-8 replaced by "?".
std::string XmlText(std::string_view text);

// A coordinate with one decimal ("12.5"); values beyond a million pixels are held there, so that
// every coordinate stays a number a renderer takes.
std::string Pixel(double value);

// An RGB colour value as "#rrggbb".
std::string Colour(unsigned long colour);

// The attributes that draw text in `font` (family, size, weight, style, underline), with a
// leading blank; `fallbackSize` when the font gives no height. Sizes are held to 4 to 200.
std::string FontAttributes(const LOGFONT& font, double fallbackSize);
// The size FontAttributes gives for `font`.
double FontSize(const LOGFONT& font, double fallbackSize);

}  // namespace labarc::tool
