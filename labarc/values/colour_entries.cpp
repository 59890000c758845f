// Colour entries: every unsigned long handed to the archive is a colour in the RGB layout,
// stored as its red, green and blue components ("255 128 0"). The top byte of a 32-bit colour is
// not stored; a value wider than 32 bits is not a colour at all (unsigned long is 64 bits on some
// platforms, so a size or count can land here by overload), and is refused.
#include <labarc/archive/internal/entry_io.h>
#include <labarc/archive/internal/label_forms.h>
#include <labarc/archive/value_controls.h>

namespace labarc {

template <>
struct TextCodec<unsigned long> {
  static bool Format(const unsigned long& value, ValueText& text) {
    if (value > 0xFFFFFFFFul) return false;
    text.AppendInteger(GetRValue(value));
    text.Append(' ');
    text.AppendInteger(GetGValue(value));
    text.Append(' ');
    text.AppendInteger(GetBValue(value));
    return true;
  }

  // Digits and blanks only; runs of blanks separate the components, each a whole number up to
  // 255; pieces after the third are checked for their characters alone. One pass, no search.
  static bool Parse(std::string_view text, unsigned long& value) {
    unsigned components[3] = {};
    int piece = -1;  // the piece being read
    bool inPiece = false;
    for (const char ch : text) {
      if (ch == ' ') {
        inPiece = false;
        continue;
      }
      if (ch < '0' || ch > '9') return false;
      if (!inPiece) {
        inPiece = true;
        ++piece;
      }
      if (piece < 3) {
        unsigned& component = components[piece];
        component = component * 10 + static_cast<unsigned>(ch - '0');
        if (component > 255) return false;
      }
    }
    if (piece < 2) return false;
    value = RGB(static_cast<BYTE>(components[0]), static_cast<BYTE>(components[1]),
                static_cast<BYTE>(components[2]));
    return true;
  }
};

}  // namespace labarc

LABARC_DEFINE_LABEL_FORMS(Write, unsigned long, WriteValue)
LABARC_DEFINE_LABEL_FORMS(Read, unsigned long&, ReadValue)
LABARC_DEFINE_VALUE_TEXT(unsigned long)
