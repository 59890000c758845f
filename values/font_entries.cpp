// Fonts: a run of 14 entries, the font's fields in their declared order, the face name last.
#include <algorithm>
#include <cstring>

#include "archive/entry_io.h"
#include "framework/logfont.h"

namespace labarc {

namespace {

// Files of application versions before this one hold font heights doubled above 12 points.
constexpr double kHalvedHeightsBefore = 3.52;

void AdjustOldHeight(const CArchiveEx& archive, LONG& height) {
  if (archive.GetApplVersion() < kHalvedHeightsBefore && height > 12) height /= 2;
}

// The face name is stored as text up to its zero, but never past the end of the array: a name
// that fills all 32 characters is written as 32 characters, which the reader then refuses,
// because it leaves no room for the zero.
template <class Io, class Char>
bool DescribeFaceName(const Io& io, Char (&face)[LF_FACESIZE]) {
  CString name;
  if constexpr (!Io::kLoading) name = std::string_view(face, strnlen(face, LF_FACESIZE));
  if (!io("Face Name", name)) return false;
  if constexpr (Io::kLoading) {
    if (name.GetLength() >= LF_FACESIZE) return false;
    std::fill(std::begin(face), std::end(face), '\0');
    std::copy_n(name.GetString(), name.GetLength(), face);
  }
  return true;
}

// Font is tagLOGFONTA, const for writing.
template <class Io, class Font>
bool DescribeFont(const Io& io, Font& font) {
  if (!io("Height", font.lfHeight)) return false;
  if constexpr (Io::kLoading) AdjustOldHeight(io.Archive(), font.lfHeight);
  return io("Width", font.lfWidth) && io("Escapement", font.lfEscapement) &&
         io("Orientation", font.lfOrientation) && io("Weight", font.lfWeight) &&
         io("Italic", font.lfItalic) && io("Underline", font.lfUnderline) &&
         io("Strike Out", font.lfStrikeOut) && io("Char Set", font.lfCharSet) &&
         io("Precision", font.lfOutPrecision) && io("Clip Precision", font.lfClipPrecision) &&
         io("Quality", font.lfQuality) && io("Pitch And Family", font.lfPitchAndFamily) &&
         DescribeFaceName(io, font.lfFaceName);
}

}  // namespace

}  // namespace labarc

int CArchiveEx::Write(const tagLOGFONTA& font) {
  return WriteRun(font, labarc::DescribeFont<labarc::EntryWriter, const tagLOGFONTA>);
}

// The fields not read stay zero, whatever the caller's font held.
int CArchiveEx::Read(tagLOGFONTA& font) {
  return ReadRun(font, tagLOGFONTA{}, labarc::DescribeFont<labarc::EntryReader, tagLOGFONTA>);
}
