// A graph's text object: a piece of text with its visibility, colour, position, bounds and font.
#pragma once

#include <labarc/framework/cstring.h>
#include <labarc/framework/logfont.h>
#include <labarc/framework/win_types.h>

struct _TEXT {
  int bShow = 0;
  unsigned long crColor = 0;  // an RGB colour
  int nTop = 0;
  int nLeft = 0;
  RECT rcBound{0, 0, 0, 0};
  LOGFONT lfFont{};
  CString strWording;

  bool operator==(const _TEXT& other) const = default;
};
