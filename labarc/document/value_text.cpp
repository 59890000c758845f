#include <labarc/document/value_text.h>

#include <labarc/values/date.h>
#include <labarc/values/dpoint.h>

namespace labarc {

bool IsValueText(ValueType type, std::string_view text) {
  switch (type) {
#define LABARC_VALUE_TEXT_CASE(enumerator, T, name) \
  case ValueType::enumerator: {                     \
    T value{};                                      \
    return ValueFromText(text, value);              \
  }
    LABARC_VALUE_TYPES(LABARC_VALUE_TEXT_CASE)
#undef LABARC_VALUE_TEXT_CASE
    case ValueType::line:
    case ValueType::pointLines:
      break;
  }
  return true;
}

}  // namespace labarc
