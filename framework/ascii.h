// Locale-independent character classes shared by the string class and the archive's line
// matching: only ASCII letters fold, and white space is the C locale's.
#pragma once

namespace labarc {

constexpr char AsciiToLower(char ch) {
  return (ch >= 'A' && ch <= 'Z') ? static_cast<char>(ch - 'A' + 'a') : ch;
}

constexpr bool IsAsciiSpace(char ch) { return ch == ' ' || (ch >= '\t' && ch <= '\r'); }

}  // namespace labarc
