// A font's run of 14 entries: its fields in their declared order, the face name last.
#pragma once

#include <labarc/archive/describe.h>
#include <algorithm>
#include <cstring>
#include <string_view>

#include <labarc/archive/archive_ex.h>
#include <labarc/framework/cstring.h>
#include <labarc/framework/logfont.h>

namespace labarc {

// Files of application versions before this one hold font heights doubled above 12 points.
inline constexpr double kHalvedFontHeightsBefore = 3.52;

// The face name is stored as text up to its zero, but never past the end of the array: a name
// that fills all 32 characters is written as 32 characters, which the reader then refuses,
// because it leaves no room for the zero.
inline CString FaceNameText(const char (&face)[LF_FACESIZE]) {
  return CString(std::string_view(face, strnlen(face, LF_FACESIZE)));
}

inline bool StoreFaceName(const CString& name, char (&face)[LF_FACESIZE]) {
  if (name.GetLength() >= LF_FACESIZE) return false;
  std::fill(std::begin(face), std::end(face), '\0');
  std::copy_n(name.GetString(), name.GetLength(), face);
  return true;
}

template <class Io>
bool Describe(const Io& io, tagLOGFONTA& font) {
  CString faceName = FaceNameText(font.lfFaceName);  // the reader replaces it with the file's
  return io("Height", font.lfHeight) && io.OnRead([&](const CArchiveEx& archive) {
    if (archive.GetApplVersion() < kHalvedFontHeightsBefore && font.lfHeight > 12)
      font.lfHeight /= 2;
    return true;
  }) && io("Width", font.lfWidth) &&
         io("Escapement", font.lfEscapement) && io("Orientation", font.lfOrientation) &&
         io("Weight", font.lfWeight) && io("Italic", font.lfItalic) &&
         io("Underline", font.lfUnderline) && io("Strike Out", font.lfStrikeOut) &&
         io("Char Set", font.lfCharSet) && io("Precision", font.lfOutPrecision) &&
         io("Clip Precision", font.lfClipPrecision) && io("Quality", font.lfQuality) &&
         io("Pitch And Family", font.lfPitchAndFamily) && io("Face Name", faceName) &&
         io.OnRead([&](const CArchiveEx&) { return StoreFaceName(faceName, font.lfFaceName); });
}

// The fields not read stay zero, whatever the caller's font held.
template <>
struct CompositeTraits<tagLOGFONTA> {
  static constexpr const char* name = "font";
  static tagLOGFONTA Working(const tagLOGFONTA& target) {
    (void)target;
    return tagLOGFONTA{};
  }
};

}  // namespace labarc
