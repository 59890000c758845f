// The Windows data types of the public interface, with their 32-bit layouts.
#pragma once

#include <cstdint>

using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using UINT = std::uint32_t;
using LONG = std::int32_t;
using ULONG = std::uint32_t;
using BOOL = int;

inline constexpr BOOL TRUE = 1;
inline constexpr BOOL FALSE = 0;

struct HWND__;
using HWND = HWND__*;

struct tagPOINT {
  LONG x;
  LONG y;
};
using POINT = tagPOINT;

struct tagSIZE {
  LONG cx;
  LONG cy;
};
using SIZE = tagSIZE;

struct tagRECT {
  LONG left;
  LONG top;
  LONG right;
  LONG bottom;
};
using RECT = tagRECT;

inline constexpr bool operator==(const tagPOINT& a, const tagPOINT& b) {
  return a.x == b.x && a.y == b.y;
}
inline constexpr bool operator==(const tagSIZE& a, const tagSIZE& b) {
  return a.cx == b.cx && a.cy == b.cy;
}
inline constexpr bool operator==(const tagRECT& a, const tagRECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// The framework's size: a SIZE with constructors.
class CSize : public tagSIZE {
 public:
  constexpr CSize() : tagSIZE{0, 0} {}
  constexpr CSize(LONG x, LONG y) : tagSIZE{x, y} {}
  constexpr CSize(const tagSIZE& size) : tagSIZE(size) {}
};

// The framework's rectangle: a RECT with constructors.
class CRect : public tagRECT {
 public:
  constexpr CRect() : tagRECT{0, 0, 0, 0} {}
  constexpr CRect(LONG l, LONG t, LONG r, LONG b) : tagRECT{l, t, r, b} {}
  constexpr CRect(const tagRECT& rect) : tagRECT(rect) {}
};

// The Windows RGB colour layout: red in bits 0-7, green 8-15, blue 16-23. Colours are
// `unsigned long` in the archive's interface, which is what selects the colour entry.
constexpr unsigned long RGB(BYTE r, BYTE g, BYTE b) {
  return static_cast<unsigned long>(r) | (static_cast<unsigned long>(g) << 8) |
         (static_cast<unsigned long>(b) << 16);
}
constexpr BYTE GetRValue(unsigned long c) { return static_cast<BYTE>(c & 0xFF); }
constexpr BYTE GetGValue(unsigned long c) { return static_cast<BYTE>((c >> 8) & 0xFF); }
constexpr BYTE GetBValue(unsigned long c) { return static_cast<BYTE>((c >> 16) & 0xFF); }
