// Rectangle, size and point entries: the fields' numbers in field order, one blank between them
// on writing, any run of blanks between them on reading; pieces after the last field are not
// looked at.
#include <labarc/archive/internal/blank_splitter.h>
#include <labarc/archive/internal/entry_io.h>
#include <labarc/archive/internal/label_forms.h>
#include <labarc/archive/value_controls.h>
#include <labarc/values/dpoint.h>

namespace labarc {

namespace {

template <class Member>
struct FieldOf;
template <class Owner, class Field>
struct FieldOf<Field Owner::*> {
  using Type = Field;
};

// Integer fields go through the long control, double fields through the double control. A
// double is written as its full text, so that a DPOINT reads back exactly; the reader also takes
// the plain integer texts that older files hold.
template <auto Field>
using ControlOf =
    std::conditional_t<std::is_same_v<typename FieldOf<decltype(Field)>::Type, double>, CDouble,
                       CLong>;

// The text of a value made of the fields `Fields`, in that order.
template <class T, auto... Fields>
struct FieldsCodec {
  static bool Format(const T& value, ValueText& text) {
    std::string_view separator = "";
    ((text.Append(separator), ControlOf<Fields>::AppendText(value.*Fields, text), separator = " "),
     ...);
    return true;
  }
  static bool Parse(std::string_view text, T& value) {
    BlankSplitter pieces(text);
    std::string_view piece;
    return ((pieces.Next(piece) && ControlOf<Fields>::Validate(piece, value.*Fields)) && ...);
  }
};

}  // namespace

template <>
struct TextCodec<tagRECT>
    : FieldsCodec<tagRECT, &tagRECT::left, &tagRECT::top, &tagRECT::right, &tagRECT::bottom> {};
template <>
struct TextCodec<CSize> : FieldsCodec<CSize, &CSize::cx, &CSize::cy> {};
template <>
struct TextCodec<tagPOINT> : FieldsCodec<tagPOINT, &tagPOINT::x, &tagPOINT::y> {};
template <>
struct TextCodec<DPOINT> : FieldsCodec<DPOINT, &DPOINT::x, &DPOINT::y> {};

}  // namespace labarc

LABARC_DEFINE_LABEL_FORMS(Write, const tagRECT&, WriteValue)
LABARC_DEFINE_LABEL_FORMS(Read, tagRECT&, ReadValue)
LABARC_DEFINE_LABEL_FORMS(Write, const CSize&, WriteValue)
LABARC_DEFINE_LABEL_FORMS(Read, CSize&, ReadValue)
LABARC_DEFINE_LABEL_FORMS(Write, const tagPOINT&, WriteValue)
LABARC_DEFINE_LABEL_FORMS(Read, tagPOINT&, ReadValue)
LABARC_DEFINE_LABEL_FORMS(Write, const DPOINT&, WriteValue)
LABARC_DEFINE_LABEL_FORMS(Read, DPOINT&, ReadValue)
LABARC_DEFINE_VALUE_TEXT(tagRECT)
LABARC_DEFINE_VALUE_TEXT(CSize)
LABARC_DEFINE_VALUE_TEXT(tagPOINT)
LABARC_DEFINE_VALUE_TEXT(DPOINT)
