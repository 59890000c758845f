// The parts of the module, each defining its Python classes and functions.
#pragma once

#include <string>

#include <pybind11/pybind11.h>

#include "internal/document_ref.h"

namespace labarc::python {

void DefineDocument(pybind11::module_& module);
void DefineCurve(pybind11::module_& module);
void DefineCurveStream(pybind11::module_& module);

// The item as its Python class: Entry, Composite or Curve.
pybind11::object ItemObject(const DocumentRef& holder, std::size_t section, std::size_t item);
// A path given as str, bytes or os.PathLike.
std::string PathOf(pybind11::handle path);
// A new curve item of `name` with these points; x, y and flags as Curve.set_points takes them.
DocumentItem NewCurveItem(const DocumentRef& holder, pybind11::handle name, pybind11::handle x,
                          pybind11::handle y, pybind11::handle flags);

}  // namespace labarc::python
