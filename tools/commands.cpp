// info, check and schema, and what the commands share; dump and plot have files of their own.
#include "commands.h"

#include <iomanip>
#include <ostream>
#include <sstream>

#include <labarc/document/composites.h>
#include <labarc/version.h>
#include "command_support.h"
#include "host_schema.h"
#include "json_values.h"

namespace labarc::tool {

std::string VersionText() {
  return std::string("labarc ") + labarc::LibraryVersion() + ", reads archive formats up to " +
         FormatVersion(CArchiveEx::ARCHIVE_VERSION);
}

std::string FormatVersion(double version) {
  Json number = version;
  return number.dump();
}

namespace {

using Kind = CArchiveEx::FailureKind;

std::string Quoted(std::string_view text) {
  std::string quoted;
  quoted.reserve(text.size() + 2);
  quoted += '"';
  quoted += text;
  quoted += '"';
  return quoted;
}

std::string FailureReason(const Diagnostic& d) {
  switch (d.failure) {
    case Kind::otherLabel:
      return "expected this entry, found " + Quoted(d.found);
    case Kind::valueRefused:
      return "value " + Quoted(d.found) + " refused";
    case Kind::outOfRange:
      return "value " + d.found + " refused by the composite's check, which allows " + d.allowed;
    case Kind::newerFormat:
      return "format version " + d.found + " is newer than the " +
             FormatVersion(CArchiveEx::ARCHIVE_VERSION) + " this library reads";
    case Kind::otherApplication:
      return "application name " + Quoted(d.found) + " found, " + Quoted(d.entry) + " expected";
    case Kind::lineTooLong:
      return "line longer than " + std::to_string(CArchiveEx::MAX_LINE_LENGTH) + " characters";
    case Kind::sectionNotFound:
      return "the file holds no section " + Quoted(d.expected);
    default:
      return CArchiveEx::FailureKindText(d.failure);
  }
}

}  // namespace

std::string DiagnosticReason(const Diagnostic& d) {
  std::string reason;
  switch (d.kind) {
    case DiagnosticKind::failure:
      reason = FailureReason(d);
      if (!d.detail.empty()) reason += ": " + d.detail;
      break;
    case DiagnosticKind::noHeader:
      reason = "the file holds no section " + Quoted(d.expected);
      break;
    case DiagnosticKind::byteOrderMark:
      reason = "the file starts with a UTF-8 byte-order mark, which the archive reads as text";
      break;
    case DiagnosticKind::sectionLineTrailingBlanks:
      reason = "section line " + Quoted(d.found) +
               " ends in blanks: a search for the section by its name misses it";
      break;
    case DiagnosticKind::lineTooLongSkipped:
      reason = "line longer than " + std::to_string(CArchiveEx::MAX_LINE_LENGTH) +
               " characters; a search for the next section skips it";
      break;
    case DiagnosticKind::applicationNameDiffers:
      reason = "application name " + Quoted(d.found) + " found, " + Quoted(d.expected) +
               " expected (accepted: it contains the name)";
      break;
    case DiagnosticKind::valueReadOtherwise:
      reason = "value " + Quoted(d.found) + " is read as " + Quoted(d.expected);
      break;
    case DiagnosticKind::pointLineReadOtherwise:
      reason = "point line " + Quoted(d.found) + " is read as " + Quoted(d.expected);
      break;
  }
  if (!d.curve.empty()) {
    reason += " (curve " + Quoted(d.curve);
    if (d.pointIndex >= 0) reason += ", point " + std::to_string(d.pointIndex);
    reason += ')';
  }
  return reason;
}

std::string FormatDiagnostic(std::string_view file, const Diagnostic& d) {
  std::string text(file);
  text += ':' + std::to_string(d.line) + ": ";
  if (d.warning) text += "warning: ";
  if (!d.section.empty()) text += "[section " + Quoted(d.section) + "] ";
  // The header's own refusals name no entry, as the library's report does not.
  const bool named = d.kind != DiagnosticKind::failure ||
                     (d.failure != Kind::newerFormat && d.failure != Kind::otherApplication &&
                      d.failure != Kind::sectionNotFound);
  if (named && !d.entry.empty()) text += "entry " + Quoted(d.entry) + ": ";
  text += DiagnosticReason(d);
  return text;
}

namespace {

// The first text among the fields, nearest the top first.
std::string FirstText(const std::vector<Field>& fields) {
  for (const Field& field : fields)
    if (!field.IsComposite() && field.type == ValueType::string && !field.text.empty())
      return field.text;
  for (const Field& field : fields)
    if (field.IsComposite())
      if (std::string text = FirstText(field.fields); !text.empty()) return text;
  return {};
}

}  // namespace

std::string CompositeSummary(const DocumentComposite& composite) {
  std::string summary = composite.value->Kind()->name;
  const std::string text = FirstText(*composite.fields);
  if (!text.empty()) summary += " " + Quoted(text);
  if (composite.points) summary += " (" + std::to_string(composite.points->size()) + " points)";
  return summary;
}

bool WalkReporting::OnDiagnostic(const Diagnostic& diagnostic) {
  (diagnostic.warning ? warnings : errors)++;
  m_diagnostics << FormatDiagnostic(m_file, diagnostic) << '\n';
  return m_maxErrors == 0 || errors < m_maxErrors;
}

int WalkReporting::Finish(bool opened, const std::string& error) {
  if (!opened) {
    m_output.err << "labarc: " << m_file << ": " << error << '\n';
    return 2;
  }
  return errors ? 1 : 0;
}

namespace {

// info: the header, then one row per section.
class InfoVisitor : public WalkReporting {
 public:
  using WalkReporting::WalkReporting;

  void OnHeader(const DocumentHeader& header) override {
    m_output.out << "File:         " << m_file << '\n';
    if (!header.read) return;
    m_output.out << "Format:       " << FormatVersion(header.archiveVersion) << '\n'
                 << "Application:  " << header.applName << ", version "
                 << FormatVersion(header.applVersion) << "\n\n";
  }
  void OnSection(int line, std::string_view name) override {
    Flush();
    m_name = name;
    m_line = line;
    m_entries = 0;
    m_composites.clear();
    m_open = true;
  }
  void OnEntry(const DocumentEntry&) override { ++m_entries; }
  void OnComposite(DocumentComposite& composite) override {
    m_entries += composite.lineCount;
    m_composites.push_back(CompositeSummary(composite));
  }
  void Flush() {
    if (!m_open) return;
    if (!m_headerRow) {
      m_output.out << std::left << std::setw(24) << "SECTION" << std::right << std::setw(8)
                   << "LINE" << std::setw(9) << "ENTRIES"
                   << "  COMPOSITES\n";
      m_headerRow = true;
    }
    m_output.out << std::left << std::setw(24) << ('[' + m_name + ']') << std::right << std::setw(8)
                 << m_line << std::setw(9) << m_entries << "  ";
    for (std::size_t i = 0; i < m_composites.size(); ++i)
      m_output.out << (i ? ", " : "") << m_composites[i];
    m_output.out << '\n';
    m_open = false;
  }

 private:
  std::string m_name;
  int m_line = 0;
  int m_entries = 0;
  std::vector<std::string> m_composites;
  bool m_open = false;
  bool m_headerRow = false;
};

}  // namespace

int RunInfo(const Source& source, const std::string& applName, Output output) {
  std::ostringstream problems;
  InfoVisitor visitor(source.Name(), output, problems, 0);
  std::string error;
  const bool opened = Walk(source, {applName, ""}, visitor, error);
  visitor.Flush();
  output.err << problems.str();
  return visitor.Finish(opened, error);
}

int RunCheck(const Source& source, const CheckOptions& options, Output output) {
  HostSchema schema;
  if (!options.schema.empty()) {
    std::string error;
    if (!LoadHostSchema(options.schema, schema, error)) {
      output.err << "labarc: " << options.schema << ": " << error << '\n';
      return 2;
    }
  }
  WalkReporting reporting(source.Name(), output, output.out, options.maxErrors);
  SchemaCheck visitor(options.schema.empty() ? nullptr : &schema, reporting);
  std::string error;
  const bool opened = Walk(source, {options.applName, ""}, visitor, error);
  if (opened) visitor.Finish();
  const int result = reporting.Finish(opened, error);
  if (result == 2) return result;
  if (reporting.errors || reporting.warnings)
    output.out << source.Name() << ": " << reporting.errors << " error(s), " << reporting.warnings
               << " warning(s)";
  else
    output.out << source.Name() << ": sound";
  if (options.schema.empty()) output.out << "; the host's entries were not typed (see --schema)";
  output.out << '\n';
  if (result == 0 && options.strict && reporting.warnings) return 1;
  return result;
}

int RunSchema(const std::string& name, Output output) {
  std::vector<const CompositeKind*> kinds;
  if (name.empty()) {
    kinds = CompositeKinds();
  } else if (const CompositeKind* kind = FindCompositeKind(name)) {
    kinds.push_back(kind);
  } else {
    output.err << "labarc: no composite named \"" << name << "\"; known:";
    for (const CompositeKind* kind : CompositeKinds()) output.err << ' ' << kind->name;
    output.err << '\n';
    return 2;
  }
  for (const CompositeKind* kind : kinds) {
    const Schema steps = kind->schema(CArchiveEx::ARCHIVE_VERSION);
    output.out << kind->name << " (" << steps.size() << " steps)\n";
    for (const SchemaStep& step : steps) {
      output.out << std::string(2 + 2 * step.depth, ' ');
      if (!step.text.empty())
        output.out << '(' << ValueTypeName(step.type) << " \"" << step.text << "\")\n";
      else if (step.label.empty())
        output.out << '(' << ValueTypeName(step.type) << ")\n";
      else
        output.out << std::left << std::setw(32 - 2 * step.depth) << step.label << ' '
                   << ValueTypeName(step.type)
                   << (step.ranged
                           ? ", " + std::to_string(step.least) + " to " + std::to_string(step.most)
                           : std::string())
                   << '\n';
    }
  }
  return 0;
}

}  // namespace labarc::tool
