// Every reader of a value of several parts leaves its target as it was when the file is cut or
// damaged anywhere in the value's lines.
#include "support/all_or_nothing.h"

namespace labarc::testing {
namespace {

// A reader through the label form `const CString&` with the label "Value".
template <class T>
auto Labelled(T value) {
  return std::pair{[value](CArchiveEx& ar) mutable { return ar.Write(value, CString("Value")); },
                   [](CArchiveEx& ar, T& target) { return ar.Read(target, CString("Value")); }};
}

// A composite: its own run of entries.
template <class T>
auto Composite(T value) {
  return std::pair{[value](CArchiveEx& ar) mutable { return ar.Write(value); },
                   [](CArchiveEx& ar, T& target) { return ar.Read(target); }};
}

template <class T, class Pair>
void Check(Pair io, const T& different) {
  ExpectAllOrNothing(io.first, io.second, different);
}

TEST(AllOrNothingTest, EntriesOfSeveralParts) {
  Check(Labelled(tagRECT{1, 2, 3, 4}), tagRECT{9, 9, 9, 9});
  Check(Labelled(CSize(1, 2)), CSize(9, 9));
  Check(Labelled(POINT{1, 2}), POINT{9, 9});
  Check(Labelled(DPOINT{1.5, 2.5}), DPOINT{9, 9});
  Check(Labelled(CDate(2451545)), CDate(2460377));
  Check(std::pair{
            [](CArchiveEx& ar) { return ar.WriteDate(2451545, CString("Value")); },
            [](CArchiveEx& ar, double& julian) { return ar.ReadDate(julian, CString("Value")); }},
        2460377.5);
}

TEST(AllOrNothingTest, Composites) {
  Check(Composite(LOGFONT{12, 1, 2, 3, 400, 1, 1, 1, 1, 1, 1, 1, 1, "Serif"}),
        LOGFONT{1, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, "Mono"});
  CRectTracker tracker(CRect(10, 20, 310, 220), 3), different(CRect(1, 1, 1, 1), 9);
  tracker.m_sizeMin = CSize(4, 4);
  different.m_bTracking = TRUE;
  Check(Composite(tracker), different);
  _TEXT text;
  text.bShow = 1;
  text.crColor = RGB(1, 2, 3);
  text.rcBound = RECT{1, 2, 3, 4};
  text.lfFont.lfHeight = 10;
  text.strWording = "Title";
  _TEXT other;
  other.crColor = RGB(9, 9, 9);
  other.strWording = "Other";
  Check(Composite(text), other);
}

}  // namespace
}  // namespace labarc::testing
