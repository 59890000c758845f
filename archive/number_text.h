// Locale-independent number text on std::to_chars / std::from_chars, and a fixed-size text
// buffer for values, so that writing and parsing an entry's value never touches the heap.
#pragma once

#include <charconv>
#include <concepts>
#include <cstddef>
#include <string_view>

#include "../framework/export.h"

namespace labarc {

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

}  // namespace labarc
