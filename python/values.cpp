#include "internal/values.h"

#include <labarc/archive/number_text.h>

namespace py = pybind11;

namespace labarc::python {

py::str Text(std::string_view bytes) {
  PyObject* text =
      PyUnicode_DecodeUTF8(bytes.data(), static_cast<Py_ssize_t>(bytes.size()), "surrogateescape");
  if (!text) throw py::error_already_set();
  return py::reinterpret_steal<py::str>(text);
}

std::string Bytes(py::handle text) {
  if (PyBytes_Check(text.ptr())) return std::string(text.cast<py::bytes>());
  if (!PyUnicode_Check(text.ptr())) throw py::type_error("expected str or bytes");
  PyObject* encoded = PyUnicode_AsEncodedString(text.ptr(), "utf-8", "surrogateescape");
  if (!encoded) throw py::error_already_set();
  return std::string(py::reinterpret_steal<py::bytes>(encoded));
}

py::object FieldValue(const Field& field) {
  return std::visit(
      [](const auto& value) -> py::object {
        using T = std::decay_t<decltype(value)>;
        if constexpr (std::is_same_v<T, std::string>) {
          return Text(value);
        } else if constexpr (std::is_same_v<T, std::int64_t> || std::is_same_v<T, double>) {
          return py::cast(value);
        } else if constexpr (std::is_same_v<T, FieldColour>) {
          return py::make_tuple(value.red, value.green, value.blue);
        } else if constexpr (std::is_same_v<T, FieldRect>) {
          return py::make_tuple(value.left, value.top, value.right, value.bottom);
        } else if constexpr (std::is_same_v<T, FieldSize>) {
          return py::make_tuple(value.cx, value.cy);
        } else {
          return py::make_tuple(value.x, value.y);
        }
      },
      field.value);
}

py::dict FieldDict(const std::vector<Field>& fields) {
  py::dict dict;
  for (const Field& field : fields) {
    if (field.IsComposite()) {
      py::str key = Text(field.composite);
      py::dict nested = FieldDict(field.fields);
      if (!dict.contains(key)) {
        dict[key] = nested;
      } else if (py::isinstance<py::list>(dict[key])) {
        dict[key].cast<py::list>().append(nested);
      } else {
        py::list several;
        several.append(dict[key]);
        several.append(nested);
        dict[key] = several;
      }
    } else if (!field.label.empty()) {
      dict[Text(field.label)] = FieldValue(field);  // a label read twice keeps its second value
    }
  }
  return dict;
}

namespace {

// numpy's scalars count as the Python numbers they stand for.
bool IsInteger(py::handle value) {
  return !PyBool_Check(value.ptr()) && !PyFloat_Check(value.ptr()) && PyIndex_Check(value.ptr());
}
bool IsFloat(py::handle value) {
  return PyFloat_Check(value.ptr()) ||
         py::isinstance(value, py::module_::import("numpy").attr("floating"));
}

}  // namespace

std::string EntryText(py::handle value) {
  if (PyUnicode_Check(value.ptr()) || PyBytes_Check(value.ptr())) return Bytes(value);
  if (PyBool_Check(value.ptr())) return value.cast<bool>() ? "1" : "0";
  if (IsInteger(value))
    return py::str(py::reinterpret_steal<py::object>(PyNumber_Index(value.ptr())));
  if (IsFloat(value)) {
    char text[kMaxDoubleText];
    const double number = PyFloat_AsDouble(value.ptr());  // numpy floats convert exactly
    if (number == -1.0 && PyErr_Occurred()) throw py::error_already_set();
    return std::string(text, FormatDouble(number, text));
  }
  if (PyTuple_Check(value.ptr()) || PyList_Check(value.ptr())) {
    std::string text;
    for (py::handle item : value) {
      if (!IsInteger(item) && !IsFloat(item))
        throw py::type_error("the parts of a value must be numbers");
      if (!text.empty()) text += ' ';
      text += EntryText(item);
    }
    return text;
  }
  throw py::type_error("an entry's value must be str, bytes, int, float or a tuple of numbers");
}

}  // namespace labarc::python
