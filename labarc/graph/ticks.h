// How an axis prints its numbers (_TICKLABEL) and draws its ticks and grid lines (TICKMARK).
// Every value is the host's; the archive stores them as they are.
#pragma once

#include <labarc/framework/logfont.h>

struct _TICKLABEL {
  LOGFONT lfFont{};
  int nNumDigits = 0;
  unsigned long crColor = 0;  // an RGB colour
  int nNotation = 0;

  bool operator==(const _TICKLABEL&) const = default;
};

struct TICKMARK {
  int nMinorTicks = 0;
  int nMajorTicks = 0;
  int nTotalTicks = 0;
  double dTickIncrement = 0;
  int nMinorInside = 0;
  int nMinorOutside = 0;
  int nMinorGrid = 0;
  int nMinorGridLineType = 0;
  int nMajorInside = 0;
  int nMajorOutside = 0;
  int nMajorGrid = 0;
  int nMajorGridLineType = 0;

  bool operator==(const TICKMARK&) const = default;
};
