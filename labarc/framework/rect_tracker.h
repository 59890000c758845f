// The framework's rectangle tracker, the object with which a user moves and resizes a rectangle
// on screen. Only its state is modelled here: this platform has no windows to track in.
#pragma once

#include <labarc/framework/win_types.h>

class CRectTracker {
 public:
  CRectTracker() = default;
  CRectTracker(const RECT& rect, UINT style) : m_nStyle(style), m_rect(rect) {}

  // The whole state, lasting and drag-time.
  bool operator==(const CRectTracker&) const = default;

  // The lasting state: style flags, the tracked rectangle, the smallest size allowed while
  // tracking and the size of the resize handles.
  UINT m_nStyle = 0;
  CRect m_rect;
  CSize m_sizeMin;
  int m_nHandleSize = 4;

  // Drag-time state, meaningful only while the user is moving or resizing.
  BOOL m_bTracking = FALSE;
  CRect m_rectDragged;
  POINT m_ptGrab{0, 0};
};
