// Locale-independent character classes shared by the string class and the archive's line
// matching: only ASCII letters fold, and white space is the C locale's.
#pragma once

#include <string_view>

namespace labarc {

constexpr char AsciiToLower(char ch) {
  return (ch >= 'A' && ch <= 'Z') ? static_cast<char>(ch - 'A' + 'a') : ch;
}

constexpr bool IsAsciiSpace(char ch) { return ch == ' ' || (ch >= '\t' && ch <= '\r'); }

// Labels and section names are compared this way.
constexpr bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  if (a == b) return true;  // the usual case, a label as written: one wide compare
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (AsciiToLower(a[i]) != AsciiToLower(b[i])) return false;
  }
  return true;
}

}  // namespace labarc
