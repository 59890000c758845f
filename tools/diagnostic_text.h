// A problem of the document API in the words `check` prints: FILE:LINE: [section "S"]
// entry "E": reason.
#pragma once

#include <string>
#include <string_view>

#include <labarc/document/diagnostic.h>

namespace labarc::tool {

std::string DiagnosticText(std::string_view file, const labarc::Diagnostic& diagnostic);

}  // namespace labarc::tool
