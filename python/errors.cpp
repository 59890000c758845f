#include "internal/errors.h"

#include <pybind11/eval.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace py = pybind11;

namespace labarc::python {

namespace {

// The exception class is written in Python: a ValueError with the attributes set by keyword.
constexpr const char* kArchiveErrorSource = R"(
class ArchiveError(ValueError):
    """A document the library refuses, or a value it will not store.

    Attributes: kind (a name such as "value_refused" or "other_label"), line (the file's line,
    0 when the problem is at no line), section, entry (the label concerned), found (what stood
    there, cut at 256 characters), expected, allowed (the range a check allows), curve (the
    curve's name, for a problem in a curve), point_index (None unless on a point line) and file.
    """

    def __init__(self, message, *, kind="", line=0, section="", entry="", found="", file="",
                 expected="", allowed="", curve="", point_index=None):
        super().__init__(message)
        self.kind = kind
        self.line = line
        self.section = section
        self.entry = entry
        self.found = found
        self.file = file
        self.expected = expected
        self.allowed = allowed
        self.curve = curve
        self.point_index = point_index
)";

struct KindWords {
  const char* name;
  const char* text;
};

// Indexed by DiagnosticKind; `failure` takes its words from the failure's own kind.
constexpr KindWords kDiagnosticKinds[] = {
    {"failure", "refused"},
    {"no_header", "no \"Archive Header\" section"},
    {"byte_order_mark", "the file starts with a byte-order mark"},
    {"section_line_trailing_blanks", "blanks after a section line's \"]\""},
    {"line_too_long_skipped", "a line over the length limit was skipped"},
    {"application_name_differs", "the application name differs from the one expected"},
    {"value_read_otherwise", "a value read otherwise than it is written"},
    {"point_line_read_otherwise", "a point line read otherwise than it is written"},
};

// Indexed by CArchiveEx::FailureKind.
constexpr const char* kFailureKinds[] = {
    "none",
    "missing_entry",
    "other_label",
    "value_refused",
    "too_few_values",
    "end_of_archive",
    "section_not_found",
    "line_too_long",
    "newer_format",
    "other_application",
    "missing_resource",
    "value_not_storable",
    "out_of_range",
    "other",
};
static_assert(std::size(kFailureKinds) ==
              static_cast<std::size_t>(CArchiveEx::FailureKind::other) + 1);
static_assert(std::size(kDiagnosticKinds) ==
              static_cast<std::size_t>(DiagnosticKind::pointLineReadOtherwise) + 1);

std::string Message(const std::string& file, int line, const std::string& section,
                    std::string_view entry, const char* reason, const std::string& found) {
  std::string text = file.empty() ? std::string("<document>") : file;
  if (line) text += ':' + std::to_string(line);
  text += ": ";
  if (!section.empty()) text += "[section \"" + section + "\"] ";
  if (!entry.empty()) text += "entry \"" + std::string(entry) + "\": ";
  text += reason;
  if (!found.empty()) text += " (found \"" + found + "\")";
  return text;
}

py::object ArchiveErrorClass() { return py::module_::import("labarc").attr("ArchiveError"); }

}  // namespace

void DefineArchiveError(py::module_& module) {
  py::dict scope;
  scope["__builtins__"] = py::module_::import("builtins");
  scope["__name__"] = "labarc";
  py::exec(kArchiveErrorSource, scope);
  module.attr("ArchiveError") = scope["ArchiveError"];
}

const char* KindName(CArchiveEx::FailureKind kind) {
  return kFailureKinds[static_cast<std::size_t>(kind)];
}

const char* KindName(const Diagnostic& diagnostic) {
  if (diagnostic.kind == DiagnosticKind::failure) return KindName(diagnostic.failure);
  return kDiagnosticKinds[static_cast<std::size_t>(diagnostic.kind)].name;
}

py::object ArchiveErrorFor(const Diagnostic& diagnostic, const std::string& file) {
  const char* reason = diagnostic.kind == DiagnosticKind::failure
                           ? CArchiveEx::FailureKindText(diagnostic.failure)
                           : kDiagnosticKinds[static_cast<std::size_t>(diagnostic.kind)].text;
  py::object pointIndex = py::none();
  if (diagnostic.pointIndex >= 0) pointIndex = py::int_(diagnostic.pointIndex);
  // Texts from the file are 8-bit and not necessarily UTF-8: they reach Python as bytes decoded
  // with replacement, so a report never fails on them.
  const auto text = [](const std::string& bytes) {
    return py::reinterpret_steal<py::str>(
        PyUnicode_DecodeUTF8(bytes.data(), static_cast<Py_ssize_t>(bytes.size()), "replace"));
  };
  return ArchiveErrorClass()(
      text(Message(file, diagnostic.line, diagnostic.section, diagnostic.entry, reason,
                   diagnostic.found)),
      py::arg("kind") = KindName(diagnostic), py::arg("line") = diagnostic.line,
      py::arg("section") = text(diagnostic.section), py::arg("entry") = text(diagnostic.entry),
      py::arg("found") = text(diagnostic.found), py::arg("file") = file,
      py::arg("expected") = text(diagnostic.expected),
      py::arg("allowed") = text(diagnostic.allowed), py::arg("curve") = text(diagnostic.curve),
      py::arg("point_index") = pointIndex);
}

void Raise(const py::object& error) {
  PyErr_SetObject(reinterpret_cast<PyObject*>(Py_TYPE(error.ptr())), error.ptr());
  throw py::error_already_set();
}

void RaiseDiagnostic(const Diagnostic& diagnostic, const std::string& file) {
  Raise(ArchiveErrorFor(diagnostic, file));
}

void RaiseFailure(const CArchiveEx::Failure& failure, std::string_view entry,
                  const std::string& file) {
  Diagnostic diagnostic;
  diagnostic.failure = failure.kind;
  diagnostic.section = failure.section.View();
  diagnostic.entry = entry;
  diagnostic.found = failure.found.View();
  diagnostic.expected = failure.expected.View();
  diagnostic.allowed = failure.allowed.View();
  diagnostic.pointIndex = failure.index;
  RaiseDiagnostic(diagnostic, file);
}

void RaiseOsError(int errnum, const std::string& path) {
  Raise(py::module_::import("builtins").attr("OSError")(errnum, std::strerror(errnum), path));
}

void CheckReadable(const std::string& path) {
  const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (descriptor < 0) RaiseOsError(errno, path);
  struct stat status {};
  const bool directory = ::fstat(descriptor, &status) == 0 && S_ISDIR(status.st_mode);
  ::close(descriptor);
  if (directory) RaiseOsError(EISDIR, path);
}

}  // namespace labarc::python
