// A results window's run, under its one-word "lpszResults..." labels. The location in percent is
// written as "%5g %5g" (in the C locale's notation, whatever the process's locale) and read as a
// DPOINT. The reader clamps what it reads: negative tracker
// coordinates become 0 and percent values not above 0.1 become 0.1; the writer stores values as
// they are.
#pragma once

#include <charconv>
#include <cstddef>
#include <string>
#include <utility>

#include <labarc/archive/describe.h>
#include <labarc/framework/cstring.h>
#include <labarc/framework/rect_tracker.h>
#include <labarc/graph/results_wnd.h>

class CArchiveEx;

namespace labarc {

inline constexpr double kLeastResultsPercent = 0.1;

// Appends `value` as "%5g" does in the C locale: six significant digits, right-aligned in at
// least five characters. printf would follow the process's locale, whose decimal comma the
// reader refuses.
inline void AppendPercent(double value, std::string& text) {
  constexpr int kDigits = 6;
  constexpr std::size_t kWidth = 5;
  char digits[32];
  const char* end =
      std::to_chars(digits, digits + sizeof digits, value, std::chars_format::general, kDigits).ptr;
  const auto length = static_cast<std::size_t>(end - digits);
  if (length < kWidth) text.append(kWidth - length, ' ');
  text.append(digits, length);
}

inline CString ResultsPercentText(const DPOINT& percent) {
  std::string text;
  AppendPercent(percent.x, text);
  text += ' ';
  AppendPercent(percent.y, text);
  return CString(std::move(text));
}

template <class Io>
bool Describe(const Io& io, CResultsWnd& r) {
  const auto clampRect = [&](const CArchiveEx&) {
    for (LONG* coordinate : {&r.m_rect.left, &r.m_rect.top, &r.m_rect.right, &r.m_rect.bottom})
      if (*coordinate < 0) *coordinate = 0;
    return true;
  };
  const auto clampPercent = [&](const CArchiveEx&) {
    for (double* value : {&r.m_dptResultsPercent.x, &r.m_dptResultsPercent.y})
      if (!(*value > kLeastResultsPercent)) *value = kLeastResultsPercent;
    return true;
  };
  return io(static_cast<CRectTracker&>(r)) && io.OnRead(clampRect) &&
         io("lpszResultsShown", r.m_nResultsShown) &&
         io("lpszResultsPosition", r.m_nResultsPosition) &&
         io.Formatted("lpszResultsPercent", r.m_dptResultsPercent, ResultsPercentText) &&
         io.OnRead(clampPercent) && io("lpszResultsSize", r.m_ptResultsSize) &&
         io(r.m_lfResultsFont) && io("lpszResultsHeight", r.m_nResultsHeight) &&
         io("lpszResultsLeftMargin", r.m_nResultsLeftMargin) &&
         io("lpszResultsTopMargin", r.m_nResultsTopMargin) &&
         io("lpszResultsCharSize", r.m_sizeResultsCharSize);
}

template <>
struct CompositeTraits<CResultsWnd>
    : AssignedWorking<CResultsWnd, &CResultsWnd::m_nTextGeneration> {
  static constexpr const char* name = "results window";
};

}  // namespace labarc
