// Byte, int, unsigned int, long and double entries: one number per line, its text made and
// checked by the number controls. int and long share their text, so either reads the other.
#include <labarc/archive/internal/entry_io.h>
#include <labarc/archive/internal/label_forms.h>
#include <labarc/archive/value_controls.h>

namespace labarc {

// Entries of number type T, stored through number control Control as Stored.
template <class T, class Control, class Stored>
struct NumberCodec {
  static bool Format(const T& value, ValueText& text) {
    if constexpr (std::is_same_v<Control, CLong>) {
      if (!CLong::InRange(value)) return false;  // would not fit the file's 32-bit long
    }
    Control::AppendText(static_cast<Stored>(value), text);
    return true;
  }
  static bool Parse(std::string_view text, T& value) {
    Stored parsed{};
    if (!Control::Validate(text, parsed)) return false;
    value = static_cast<T>(parsed);
    return true;
  }
};

template <>
struct TextCodec<BYTE> : NumberCodec<BYTE, CByte, BYTE> {};
template <>
struct TextCodec<int> : NumberCodec<int, CLong, std::int32_t> {};
template <>
struct TextCodec<UINT> : NumberCodec<UINT, CULong, ULONG> {};
template <>
struct TextCodec<long> : NumberCodec<long, CLong, std::int32_t> {};
template <>
struct TextCodec<double> : NumberCodec<double, CDouble, double> {};

}  // namespace labarc

LABARC_DEFINE_LABEL_FORMS(Write, BYTE, WriteValue)
LABARC_DEFINE_LABEL_FORMS(Read, BYTE&, ReadValue)
LABARC_DEFINE_LABEL_FORMS(Write, int, WriteValue)
LABARC_DEFINE_LABEL_FORMS(Read, int&, ReadValue)
LABARC_DEFINE_LABEL_FORMS(Write, UINT, WriteValue)
LABARC_DEFINE_LABEL_FORMS(Read, UINT&, ReadValue)
LABARC_DEFINE_LABEL_FORMS(Write, long, WriteValue)
LABARC_DEFINE_LABEL_FORMS(Read, long&, ReadValue)
LABARC_DEFINE_LABEL_FORMS(Write, double, WriteValue)
LABARC_DEFINE_LABEL_FORMS(Read, double&, ReadValue)
LABARC_DEFINE_VALUE_TEXT(BYTE)
LABARC_DEFINE_VALUE_TEXT(int)
LABARC_DEFINE_VALUE_TEXT(UINT)
LABARC_DEFINE_VALUE_TEXT(long)
LABARC_DEFINE_VALUE_TEXT(double)
