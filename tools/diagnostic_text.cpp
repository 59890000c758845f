#include "diagnostic_text.h"

namespace labarc::tool {

namespace {

std::string Reason(const labarc::Diagnostic& diagnostic) {
  using Kind = labarc::DiagnosticKind;
  std::string reason;
  switch (diagnostic.kind) {
    case Kind::failure:
      reason = CArchiveEx::FailureKindText(diagnostic.failure);
      break;
    case Kind::noHeader:
      return "no \"" + diagnostic.expected + "\" section";
    case Kind::byteOrderMark:
      return "the file starts with a UTF-8 byte-order mark";
    case Kind::sectionLineTrailingBlanks:
      return "blanks after \"]\": a search for the section by name misses it";
    case Kind::lineTooLongSkipped:
      return "line too long, skipped";
    case Kind::applicationNameDiffers:
      return "application name \"" + diagnostic.found + "\" is not the one expected";
    case Kind::valueReadOtherwise:
    case Kind::pointLineReadOtherwise:
      return "\"" + diagnostic.found + "\" is read as \"" + diagnostic.expected + '"';
  }
  if (!diagnostic.found.empty()) reason += ": \"" + diagnostic.found + '"';
  if (!diagnostic.allowed.empty()) reason += ", allowed " + diagnostic.allowed;
  if (!diagnostic.curve.empty()) reason += " (curve \"" + diagnostic.curve + "\"";
  if (!diagnostic.curve.empty() && diagnostic.pointIndex >= 0)
    reason += ", point " + std::to_string(diagnostic.pointIndex);
  if (!diagnostic.curve.empty()) reason += ')';
  return reason;
}

}  // namespace

std::string DiagnosticText(std::string_view file, const labarc::Diagnostic& diagnostic) {
  std::string text(file);
  text += ':' + std::to_string(diagnostic.line) + ": ";
  if (diagnostic.warning) text += "warning: ";
  if (!diagnostic.section.empty()) text += "[section \"" + diagnostic.section + "\"] ";
  if (!diagnostic.entry.empty()) text += "entry \"" + diagnostic.entry + "\": ";
  return text + Reason(diagnostic);
}

}  // namespace labarc::tool
