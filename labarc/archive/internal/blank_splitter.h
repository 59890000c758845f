// Splits a value into the pieces between blanks: leading and trailing blanks are skipped and a
// run of blanks is one separator. Only the blank (0x20) separates; a tab belongs to a piece.
#pragma once

#include <algorithm>
#include <string_view>

namespace labarc {

class BlankSplitter {
 public:
  explicit BlankSplitter(std::string_view text) : m_rest(text) {}

  // The next piece, or false when none is left.
  bool Next(std::string_view& piece) {
    const std::size_t first = m_rest.find_first_not_of(' ');
    if (first == std::string_view::npos) {
      m_rest = {};
      return false;
    }
    m_rest.remove_prefix(first);
    const std::size_t length = std::min(m_rest.find(' '), m_rest.size());
    piece = m_rest.substr(0, length);
    m_rest.remove_prefix(length);
    return true;
  }

 private:
  std::string_view m_rest;
};

}  // namespace labarc
