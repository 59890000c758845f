// The Windows logical font description (ANSI form), with its 32-bit field layout.
#pragma once

#include <cstring>

#include <labarc/framework/win_types.h>

// Characters in a face name, its terminating zero included.
inline constexpr int LF_FACESIZE = 32;

struct tagLOGFONTA {
  LONG lfHeight;
  LONG lfWidth;
  LONG lfEscapement;
  LONG lfOrientation;
  LONG lfWeight;
  BYTE lfItalic;
  BYTE lfUnderline;
  BYTE lfStrikeOut;
  BYTE lfCharSet;
  BYTE lfOutPrecision;
  BYTE lfClipPrecision;
  BYTE lfQuality;
  BYTE lfPitchAndFamily;
  char lfFaceName[LF_FACESIZE];
};
using LOGFONTA = tagLOGFONTA;
using LOGFONT = tagLOGFONTA;

static_assert(sizeof(tagLOGFONTA) == 60, "the Windows layout has no padding");

// Equal when every byte is: the face name's bytes after its zero count too.
inline bool operator==(const tagLOGFONTA& a, const tagLOGFONTA& b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}
