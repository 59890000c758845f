// Every reader of a value of several parts leaves its target as it was when the file is cut or
// damaged anywhere in the value's lines.
#include "support/all_or_nothing.h"

namespace labarc::testing {
namespace {

// `value` stored under the label "Value", read back into a target that holds `different`.
template <class T>
void Labelled(T value, const T& different) {
  ExpectAllOrNothing([&](CArchiveEx& ar) { return ar.Write(value, CString("Value")); },
                     [](CArchiveEx& ar, T& target) { return ar.Read(target, CString("Value")); },
                     different);
}

// `value` stored as its own run of entries.
template <class T>
void Composite(T value, const T& different) {
  ExpectAllOrNothing([&](CArchiveEx& ar) { return ar.Write(value); },
                     [](CArchiveEx& ar, T& target) { return ar.Read(target); }, different);
}

TEST(AllOrNothingTest, EveryReaderOfSeveralParts) {
  Labelled(tagRECT{1, 2, 3, 4}, tagRECT{9, 9, 9, 9});
  Labelled(CSize(1, 2), CSize(9, 9));
  Labelled(POINT{1, 2}, POINT{9, 9});
  Labelled(DPOINT{1.5, 2.5}, DPOINT{9, 9});
  Labelled(CDate(2451545), CDate(2460377));
  ExpectAllOrNothing([](CArchiveEx& ar) { return ar.WriteDate(2451545, CString("Value")); },
                     [](CArchiveEx& ar, double& d) { return ar.ReadDate(d, CString("Value")); },
                     2460377.5);

  const LOGFONT serif{12, 1, 2, 3, 400, 1, 1, 1, 1, 1, 1, 1, 1, "Serif"};
  Composite(serif, LOGFONT{1, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, "Mono"});
  CRectTracker tracker(CRect(10, 20, 310, 220), 3), other(CRect(1, 1, 1, 1), 9);
  tracker.m_sizeMin = CSize(4, 4);
  other.m_bTracking = TRUE;
  Composite(tracker, other);
  Composite(_TEXT{1, RGB(1, 2, 3), 4, 5, RECT{1, 2, 3, 4}, serif, CString("Title")},
            _TEXT{0, RGB(9, 9, 9), 0, 0, RECT{}, LOGFONT{}, CString("Other")});
}

}  // namespace
}  // namespace labarc::testing
