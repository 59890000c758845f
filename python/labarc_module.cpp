// The labarc Python module: documents of the labelled text archive in Python, curves as numpy
// arrays.
#include <pybind11/pybind11.h>

#include <labarc/version.h>

#include "internal/bindings.h"
#include "internal/errors.h"

namespace py = pybind11;

PYBIND11_MODULE(labarc, m) {
  m.doc() =
      "Documents of the labelled text archive: load them whole (load) or curve by curve "
      "(iter_curves), read curves as numpy arrays without copying, change and save them.";
  m.attr("__version__") = LABARC_VERSION_STRING;
  labarc::python::DefineArchiveError(m);
  labarc::python::DefineCurve(m);
  labarc::python::DefineDocument(m);
  labarc::python::DefineCurveStream(m);
}
