// Colour entries: every unsigned long handed to the archive is a colour in the RGB layout,
// stored as its red, green and blue components ("255 128 0"). The top byte of a 32-bit colour is
// not stored; a value wider than 32 bits is not a colour at all (unsigned long is 64 bits on some
// platforms, so a size or count can land here by overload), and is refused.
#include <labarc/archive/internal/blank_splitter.h>
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

  static bool Parse(std::string_view text, unsigned long& value) {
    // Digits and blanks only, checked over the whole text before any number is converted.
    if (text.find_first_not_of("0123456789 ") != text.npos) return false;
    BlankSplitter pieces(text);
    BYTE components[3];
    for (BYTE& component : components) {
      std::string_view piece;
      if (!pieces.Next(piece) || !CByte::Validate(piece, component)) return false;
    }
    value = RGB(components[0], components[1], components[2]);
    return true;
  }
};

}  // namespace labarc

LABARC_DEFINE_LABEL_FORMS(Write, unsigned long, WriteValue)
LABARC_DEFINE_LABEL_FORMS(Read, unsigned long&, ReadValue)
LABARC_DEFINE_VALUE_TEXT(unsigned long)
