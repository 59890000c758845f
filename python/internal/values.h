// Values between Python and the archive: the file's 8-bit texts as str (bytes that are not
// UTF-8 kept through surrogate escapes, so they go back out unchanged), composite fields as
// Python values, and Python values as the text an entry holds.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include <pybind11/pybind11.h>

#include <labarc/document/field.h>

namespace labarc::python {

pybind11::str Text(std::string_view bytes);
// A str (its UTF-8 bytes, surrogate escapes turned back into bytes) or bytes, as is.
std::string Bytes(pybind11::handle text);

// A field's value: str, int, float, or a tuple for a colour (r, g, b), rectangle (left, top,
// right, bottom), size (cx, cy) or point (x, y).
pybind11::object FieldValue(const Field& field);
// Fields as a dict by label; a nested composite by its kind ("font") as a dict of its own, and as
// a list of dicts where the kind comes more than once. Unlabelled lines are left out.
pybind11::dict FieldDict(const std::vector<Field>& fields);

// The text an entry holds for `value`: a str or bytes as it is, a bool as 1 or 0, an int in
// decimal, a float as the shortest text that reads back bit for bit, a tuple or list as its
// items' texts separated by blanks (a colour, rectangle, size or point). TypeError otherwise.
std::string EntryText(pybind11::handle value);

}  // namespace labarc::python
