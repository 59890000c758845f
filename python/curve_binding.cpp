// labarc.Curve: a curve of a document, its points as numpy arrays that look straight into the
// document's storage.
#include <climits>

#include <pybind11/numpy.h>
#include <pybind11/stl.h>

#include <labarc/curve/curve_describe.h>

#include "internal/archive_text.h"
#include "internal/bindings.h"
#include "internal/values.h"

namespace py = pybind11;

namespace labarc::python {

namespace {

const CCurveObj& Characteristics(const CurveRef& curve) {
  return *curve.Get().composite.As<CCurveObj>();
}

// A view of `values` that keeps the whole document alive while numpy holds it.
template <class T>
py::array_t<T> View(std::vector<T>& values, const DocumentRef& holder) {
  if (values.empty()) return py::array_t<T>(0);
  py::capsule keeper(new DocumentRef(holder),
                     [](void* held) { delete static_cast<DocumentRef*>(held); });
  return py::array_t<T>({values.size()}, {sizeof(T)}, values.data(), keeper);
}

// A one-dimensional numpy array of numbers from any sequence; TypeError for anything else.
py::array NumberArray(py::handle values, const char* what, const char* kinds) {
  py::array array = py::module_::import("numpy").attr("asarray")(values);
  if (array.ndim() != 1) throw py::value_error(std::string(what) + " must be one-dimensional");
  if (std::string_view(kinds).find(array.dtype().kind()) == std::string_view::npos)
    throw py::type_error(std::string(what) + " of dtype " + std::string(py::str(array.dtype())) +
                         " cannot be stored");
  return array;
}

std::vector<double> Coordinates(py::handle values, const char* what) {
  auto array = py::array_t<double, py::array::c_style | py::array::forcecast>::ensure(
      NumberArray(values, what, "fiub"));
  if (!array) throw py::error_already_set();
  return std::vector<double>(array.data(), array.data() + array.size());
}

std::vector<std::uint8_t> Flags(py::handle values, std::size_t count) {
  if (values.is_none()) return std::vector<std::uint8_t>(count, 1);
  py::array checked = NumberArray(values, "flags", "iub");
  auto array =
      py::array_t<std::int64_t, py::array::c_style | py::array::forcecast>::ensure(checked);
  if (!array) throw py::error_already_set();
  std::vector<std::uint8_t> flags(static_cast<std::size_t>(array.size()));
  for (std::size_t i = 0; i < flags.size(); ++i) {
    const std::int64_t flag = array.data()[i];
    if (flag < 0 || flag > 255)
      throw py::value_error("flag " + std::to_string(flag) + " at index " + std::to_string(i) +
                            " is not a byte (0 to 255)");
    flags[i] = static_cast<std::uint8_t>(flag);
  }
  return flags;
}

CurvePoints Points(py::handle x, py::handle y, py::handle flags) {
  CurvePoints points;
  points.x = Coordinates(x, "x");
  points.y = Coordinates(y, "y");
  points.flags = Flags(flags, points.x.size());
  if (points.y.size() != points.x.size() || points.flags.size() != points.x.size())
    throw py::value_error("x, y and flags must be of one length (" +
                          std::to_string(points.x.size()) + ", " + std::to_string(points.y.size()) +
                          " and " + std::to_string(points.flags.size()) + " given)");
  if (points.x.size() > static_cast<std::size_t>(INT_MAX))
    throw py::value_error("a curve holds at most " + std::to_string(INT_MAX) + " points");
  return points;
}

void SetCharacteristic(const CurveRef& curve, std::string_view label, py::handle value) {
  DocumentHolder& holder = *curve.holder;
  CCurveObj changed = WithCharacteristic(Characteristics(curve), holder.document.header, label,
                                         EntryText(value), holder.file);
  curve.Get().composite = CompositeValue::Of(std::move(changed));
}

py::dict CharacteristicDict(const CurveRef& curve) {
  CCurveObj characteristics;  // without points, so that no point lines are listed
  characteristics.CopyCurveCharacteristics(const_cast<CCurveObj*>(&Characteristics(curve)), 0);
  std::vector<Field> fields = CompositeValue::Of(std::move(characteristics)).Fields();
  std::erase_if(fields, [](const Field& field) {
    return field.label == kCurveNameLabel || field.label == kCurvePointCountLabel;
  });
  return FieldDict(fields);
}

}  // namespace

DocumentItem NewCurveItem(const DocumentRef& holder, py::handle name, py::handle x, py::handle y,
                          py::handle flags) {
  const std::string nameText = Bytes(name);
  CheckEntry(kCurveNameLabel, true, nameText, holder->file);
  CCurveObj curve;
  curve.SetName(CString(nameText));
  DocumentItem item;
  item.composite = CompositeValue::Of(std::move(curve));
  item.points = Points(x, y, flags);
  return item;
}

void DefineCurve(py::module_& module) {
  py::class_<CurveRef>(module, "Curve",
                       "A curve of a document: its name, its characteristics and its points. "
                       "x, y and flags are numpy arrays over the document's own storage.")
      .def_property(
          "name",
          [](const CurveRef& curve) { return Text(Characteristics(curve).GetName().View()); },
          [](const CurveRef& curve, py::handle name) {
            SetCharacteristic(curve, kCurveNameLabel, name);
          },
          "The curve's name (\"Curve Name\").")
      .def_property_readonly(
          "x", [](const CurveRef& curve) { return View(curve.Get().points.x, curve.holder); },
          "The x coordinates: a float64 array sharing the document's memory (writing into it "
          "changes the document).")
      .def_property_readonly(
          "y", [](const CurveRef& curve) { return View(curve.Get().points.y, curve.holder); },
          "The y coordinates: a float64 array sharing the document's memory.")
      .def_property_readonly(
          "flags",
          [](const CurveRef& curve) { return View(curve.Get().points.flags, curve.holder); },
          "The point flags: a uint8 array sharing the document's memory.")
      .def_property_readonly("characteristics", &CharacteristicDict,
                             "The curve's entries after its name and point count, as a new dict "
                             "by label (colours as (red, green, blue)).")
      .def_property_readonly(
          "line", [](const CurveRef& curve) { return curve.Get().line; },
          "The line of \"Curve Name\" in the file it was loaded from; 0 for a new curve.")
      .def_property_readonly(
          "section", [](const CurveRef& curve) { return Text(curve.Section().name); },
          "The name of the section the curve stands in.")
      .def("__len__", [](const CurveRef& curve) { return curve.Get().points.size(); })
      .def(
          "set",
          [](const CurveRef& curve, py::handle label, py::handle value) {
            SetCharacteristic(curve, Bytes(label), value);
          },
          py::arg("label"), py::arg("value"),
          "Sets the characteristic `label` (any letter case) to `value` (str, int, float, or a "
          "(red, green, blue) tuple for a colour). The curve reader checks it as it checks a "
          "file: ArchiveError when it refuses the value, KeyError for an unknown label.")
      .def(
          "set_points",
          [](const CurveRef& curve, py::handle x, py::handle y, py::handle flags) {
            CurvePoints points = Points(x, y, flags);
            CurvePoints& current = curve.Get().points;
            curve.holder->retired.push_back(std::move(current));  // arrays may still see it
            current = std::move(points);
          },
          py::arg("x"), py::arg("y"), py::arg("flags") = py::none(),
          "Replaces the points with copies of x and y (numbers, any length) and flags (integers "
          "0 to 255; None: 1 for every point). Arrays taken before keep the old points.")
      .def("__repr__", [](const CurveRef& curve) {
        return py::str("<labarc.Curve {!r}, {} points>")
            .format(Text(Characteristics(curve).GetName().View()), curve.Get().points.size());
      });
}

}  // namespace labarc::python
