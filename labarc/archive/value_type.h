// The value types an entry can hold, listed once. Every per-type table of the library (the type a
// C++ value is stored as, the type's name, its text) is made from LABARC_VALUE_TYPES, so a new
// value type is one new row.
#pragma once

#include <string>
#include <string_view>
#include <type_traits>

#include <labarc/framework/cstring.h>
#include <labarc/framework/export.h>
#include <labarc/framework/win_types.h>

class CDate;
struct DPOINT;

// X(enumerator, C++ type, name): the entry value types, in the order the documentation lists them.
#define LABARC_VALUE_TYPES(X)              \
  X(string, CString, "string")             \
  X(byte, BYTE, "byte")                    \
  X(integer, int, "int")                   \
  X(unsignedInteger, UINT, "unsigned int") \
  X(longInteger, long, "long")             \
  X(real, double, "double")                \
  X(colour, unsigned long, "colour")       \
  X(rectangle, tagRECT, "rectangle")       \
  X(size, CSize, "size")                   \
  X(point, tagPOINT, "point")              \
  X(doublePoint, DPOINT, "double point")   \
  X(date, CDate, "date")

namespace labarc {

enum class ValueType {
#define LABARC_VALUE_TYPE_ENUMERATOR(enumerator, type, name) enumerator,
  LABARC_VALUE_TYPES(LABARC_VALUE_TYPE_ENUMERATOR)
#undef LABARC_VALUE_TYPE_ENUMERATOR
  // Not entries of one value: the steps of a composite that are whole lines.
  line,        // an unlabelled line, read without looking at it
  pointLines,  // a curve's point lines: its x, y and flag groups
};

// The name of a value type as the documentation and the tool print it ("int", "colour", ...).
LABARC_API const char* ValueTypeName(ValueType type);
// The value type of a name ValueTypeName gives; false for any other text.
LABARC_API bool ValueTypeFromName(std::string_view name, ValueType& type);

// The value type an entry of C++ type T is stored as (a CRect as a rectangle).
template <class T>
constexpr ValueType ValueTypeOf() {
  using U = std::remove_cvref_t<T>;
  if constexpr (std::is_base_of_v<tagRECT, U>) return ValueType::rectangle;
#define LABARC_VALUE_TYPE_OF(enumerator, type, name) \
  else if constexpr (std::is_same_v<U, type>) return ValueType::enumerator;
  LABARC_VALUE_TYPES(LABARC_VALUE_TYPE_OF)
#undef LABARC_VALUE_TYPE_OF
  else static_assert(sizeof(U) == 0, "no entry type");
}

// The text an entry of the value holds, as the archive writes it; false (and `text` unchanged)
// for a value that cannot be stored. And the value of an entry's text as the archive reads it;
// false (and `value` unchanged) for a text the archive refuses.
#define LABARC_DECLARE_VALUE_TEXT(enumerator, type, name)            \
  LABARC_API bool ValueToText(const type& value, std::string& text); \
  LABARC_API bool ValueFromText(std::string_view text, type& value);
LABARC_VALUE_TYPES(LABARC_DECLARE_VALUE_TEXT)
#undef LABARC_DECLARE_VALUE_TEXT

}  // namespace labarc
