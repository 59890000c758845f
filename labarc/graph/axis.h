// One axis of a graph: its flag, text, place, kind, ticks, colour and range. The last members
// are the host's drawing layout, worked out when the axis is drawn and never stored: a copy
// carries them, a read leaves them as they were.
#pragma once

#include <labarc/framework/win_types.h>
#include <labarc/graph/ticks.h>
#include <labarc/values/text_object.h>

struct _AXIS {
  int nActive = 0;
  _TEXT text;
  RECT rcLocation{0, 0, 0, 0};
  int nType = 0;
  int nPos = 0;
  int nScaling = 0;
  int nDirection = 0;
  _TICKLABEL tickLabel;
  TICKMARK tickMark;
  unsigned long crColor = 0;  // an RGB colour
  int nGPLogOrder = 0;
  double dGPAxisMin = 0;
  double dGPAxisMax = 0;
  double dGPIncrement = 0;

  // Not stored: the axis's extent in device pixels and the pixels per graph unit, and the
  // areas of its title, tick labels, ticks and mouse hits, from the last drawing.
  int nPixelStart = 0;
  int nPixelEnd = 0;
  double dPixelsPerUnit = 0;
  CRect rcTitleArea;
  CRect rcLabelArea;
  CRect rcTickArea;
  CRect rcHitArea;

  bool operator==(const _AXIS&) const = default;
};
