// A composite's entries as data: each with its label, its value type, its typed value and its
// text as the archive writes it; nested composites (a text's font, a window's legend) as fields
// holding fields. Made by the registry's field walk from a composite the library has read, so a
// program (the tool, a language binding, a converter) can show any composite without knowing it.
#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include <labarc/archive/value_type.h>

namespace labarc {

struct FieldColour {
  int red = 0, green = 0, blue = 0;
  bool operator==(const FieldColour&) const = default;
};
struct FieldRect {
  std::int64_t left = 0, top = 0, right = 0, bottom = 0;
  bool operator==(const FieldRect&) const = default;
};
struct FieldSize {
  std::int64_t cx = 0, cy = 0;
  bool operator==(const FieldSize&) const = default;
};
struct FieldPoint {
  std::int64_t x = 0, y = 0;
  bool operator==(const FieldPoint&) const = default;
};
struct FieldDoublePoint {
  double x = 0, y = 0;
  bool operator==(const FieldDoublePoint&) const = default;
};

// A value by its shape: text (string, date, line), an integer (byte, int, unsigned int, long),
// a double, a colour, a rectangle, a size, a point or a point of doubles. A null date is the
// empty text.
using FieldValue = std::variant<std::string, std::int64_t, double, FieldColour, FieldRect,
                                FieldSize, FieldPoint, FieldDoublePoint>;

struct Field {
  std::string label;  // empty for an unlabelled line and for a nested composite
  ValueType type = ValueType::string;
  FieldValue value;
  std::string text;       // the value's text as the archive writes it (an unlabelled line's text)
  int line = 0;           // its line in the file when it was read from one, else 0
  std::string composite;  // a nested composite's registry name ("font"); then `fields` holds it
  std::vector<Field> fields;
  // An entry whose check allows only a range: its least and greatest value.
  bool ranged = false;
  std::int64_t least = 0, most = 0;

  bool IsComposite() const { return !composite.empty(); }
};

}  // namespace labarc
