// Problems as Python exceptions: labarc.ArchiveError for what the library refuses, the OSError
// family for files that cannot be opened or written.
#pragma once

#include <string>
#include <string_view>

#include <pybind11/pybind11.h>

#include <labarc/archive/archive_ex.h>
#include <labarc/document/diagnostic.h>

namespace labarc::python {

// Defines labarc.ArchiveError in `module`.
void DefineArchiveError(pybind11::module_& module);

// The name Python code sees for a diagnostic's kind ("value_refused", "no_header").
const char* KindName(const Diagnostic& diagnostic);
const char* KindName(CArchiveEx::FailureKind kind);

// A new ArchiveError for a diagnostic found in `file`.
pybind11::object ArchiveErrorFor(const Diagnostic& diagnostic, const std::string& file);

[[noreturn]] void Raise(const pybind11::object& error);
[[noreturn]] void RaiseDiagnostic(const Diagnostic& diagnostic, const std::string& file);
// A value an archive refused to write or read: `failure` as the archive noted it.
[[noreturn]] void RaiseFailure(const CArchiveEx::Failure& failure, std::string_view entry,
                               const std::string& file);
// OSError(errnum, strerror, path): Python picks the subclass (FileNotFoundError, ...).
[[noreturn]] void RaiseOsError(int errnum, const std::string& path);
// Raises the OSError for `path` when it cannot be opened for reading.
void CheckReadable(const std::string& path);

}  // namespace labarc::python
