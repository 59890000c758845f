#include <labarc/archive/value_type.h>

namespace labarc {

namespace {

struct NamedType {
  ValueType type;
  const char* name;
};

constexpr NamedType kNames[] = {
#define LABARC_VALUE_TYPE_NAME(enumerator, type, name) {ValueType::enumerator, name},
    LABARC_VALUE_TYPES(LABARC_VALUE_TYPE_NAME)
#undef LABARC_VALUE_TYPE_NAME
        {ValueType::line, "line"},
    {ValueType::pointLines, "point lines"},
};

}  // namespace

const char* ValueTypeName(ValueType type) {
  for (const NamedType& named : kNames)
    if (named.type == type) return named.name;
  return "";
}

bool ValueTypeFromName(std::string_view name, ValueType& type) {
  for (const NamedType& named : kNames) {
    if (named.name == name) {
      type = named.type;
      return true;
    }
  }
  return false;
}

}  // namespace labarc
