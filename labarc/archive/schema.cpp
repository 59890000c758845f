#include <labarc/archive/schema.h>

namespace labarc {

const char* ValueTypeName(ValueType type) {
  switch (type) {
    case ValueType::string:
      return "string";
    case ValueType::byte:
      return "byte";
    case ValueType::integer:
      return "int";
    case ValueType::unsignedInteger:
      return "unsigned int";
    case ValueType::longInteger:
      return "long";
    case ValueType::real:
      return "double";
    case ValueType::colour:
      return "colour";
    case ValueType::rectangle:
      return "rectangle";
    case ValueType::size:
      return "size";
    case ValueType::point:
      return "point";
    case ValueType::doublePoint:
      return "double point";
    case ValueType::date:
      return "date";
    case ValueType::line:
      return "line";
    case ValueType::pointLines:
      break;
  }
  return "point lines";
}

}  // namespace labarc
