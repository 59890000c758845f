// Locale-independent number text on std::to_chars / std::from_chars, and a fixed-size text
// buffer for values, so that writing and parsing an entry's value never touches the heap.
#pragma once

#include <charconv>
#include <cmath>
#include <concepts>
#include <cstddef>
#include <string_view>

#include <labarc/framework/export.h>

namespace labarc {

// The longest text FormatDouble makes ("-2.2250738585072014e-308", or a NaN with its payload).
inline constexpr std::size_t kMaxDoubleText = 32;

// The text of a NaN, with its sign and, unless it is the quiet default, its payload ("-nan",
// "nan(0x8)"), at `first`, which has room for kMaxDoubleText characters; returns its end.
LABARC_API char* FormatNaN(double value, char* first);

// Writes the shortest text that reads back to the same double, bit for bit (NaN payloads
// included), at `first`, which has room for kMaxDoubleText characters; returns its end. Inline,
// as point lines write millions of these: only a NaN's text costs a call.
inline char* FormatDouble(double value, char* first) {
  if (std::isnan(value)) [[unlikely]]
    return FormatNaN(value, first);
  return std::to_chars(first, first + kMaxDoubleText, value).ptr;
}

// Room for the text of any fixed-size value: the longest is a rectangle or a few doubles.
class LABARC_API ValueText {
 public:
  static constexpr std::size_t kCapacity = 128;

  std::string_view View() const { return {m_chars, m_size}; }
  void Clear() { m_size = 0; }

  void Append(std::string_view text);
  void Append(char ch) { Append(std::string_view(&ch, 1)); }

  template <std::integral T>
  void AppendInteger(T value) {
    const auto result = std::to_chars(m_chars + m_size, m_chars + kCapacity, value);
    if (result.ec != std::errc()) Overflow();
    m_size = static_cast<std::size_t>(result.ptr - m_chars);
  }

  // The shortest text that reads back to the same double, bit for bit (NaN payloads included).
  void AppendDouble(double value);

 private:
  [[noreturn]] static void Overflow();

  char m_chars[kCapacity];
  std::size_t m_size = 0;
};

// Skips leading blanks, then requires the rest of `text` to be exactly one decimal integer
// within the range of T. Leaves `value` alone when it refuses.
template <std::integral T>
bool ParseInteger(std::string_view text, T& value) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return false;
  const char* begin = text.data() + first;
  const char* end = text.data() + text.size();
  T parsed{};
  const auto result = std::from_chars(begin, end, parsed, 10);
  if (result.ec != std::errc() || result.ptr != end) return false;
  value = parsed;
  return true;
}

// As ParseInteger, for the texts of AppendDouble and ordinary decimal or exponent notation.
LABARC_API bool ParseDouble(std::string_view text, double& value);

// The field of `rest` up to the first `separator` (or to its end), parsed as ParseInteger or
// ParseDouble parse a whole text; the field and its separator are then taken off `rest`. False
// when `rest` is empty or the field is refused. The separator must be a character no number text
// holds (a comma, say): then the number can be parsed in place, without a search for the
// separator first.
template <std::integral T>
bool TakeIntegerField(std::string_view& rest, char separator, T& value) {
  const char* first = rest.data();
  const char* end = first + rest.size();
  while (first != end && *first == ' ') ++first;
  T parsed{};
  const auto result = std::from_chars(first, end, parsed, 10);
  if (result.ec != std::errc() || (result.ptr != end && *result.ptr != separator)) return false;
  value = parsed;
  rest.remove_prefix(static_cast<std::size_t>(result.ptr - rest.data()) + (result.ptr != end));
  return true;
}
LABARC_API bool TakeDoubleFieldSlowly(std::string_view& rest, char separator, double& value);
inline bool TakeDoubleField(std::string_view& rest, char separator, double& value) {
  const char* first = rest.data();
  const char* end = first + rest.size();
  while (first != end && *first == ' ') ++first;
  double parsed = 0;
  const auto result = std::from_chars(first, end, parsed, std::chars_format::general);
  // NaN texts (sign and payload kept) and refusals take the whole-text rules.
  if (result.ec != std::errc() || (result.ptr != end && *result.ptr != separator) ||
      std::isnan(parsed))
    return TakeDoubleFieldSlowly(rest, separator, value);
  value = parsed;
  rest.remove_prefix(static_cast<std::size_t>(result.ptr - rest.data()) + (result.ptr != end));
  return true;
}

}  // namespace labarc
