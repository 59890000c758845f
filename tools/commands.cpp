// info, check, dump and schema; plot has a file of its own.
#include "commands.h"

#include <algorithm>
#include <iomanip>
#include <ostream>
#include <sstream>

#include <labarc/archive/archive_ex.h>
#include <labarc/curve/curve_obj.h>
#include <labarc/version.h>
#include "command_support.h"
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

  void OnHeader(const HeaderInfo& header) override {
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
  void OnEntry(int, bool, std::string_view, std::string_view) override { ++m_entries; }
  void OnComposite(int, Composite& composite) override {
    m_entries += composite.lines;
    m_composites.push_back(composite.summary);
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
  WalkReporting visitor(source.Name(), output, output.out, options.maxErrors);
  std::string error;
  const bool opened = Walk(source, {options.applName, ""}, visitor, error);
  const int result = visitor.Finish(opened, error);
  if (result == 2) return result;
  if (visitor.errors || visitor.warnings)
    output.out << source.Name() << ": " << visitor.errors << " error(s), " << visitor.warnings
               << " warning(s)\n";
  else
    output.out << source.Name() << ": sound\n";
  if (result == 0 && options.strict && visitor.warnings) return 1;
  return result;
}

int RunSchema(const std::string& name, Output output) {
  std::vector<const CompositeType*> types;
  if (name.empty()) {
    for (const CompositeType& type : KnownComposites()) types.push_back(&type);
  } else if (const CompositeType* type = FindComposite(name)) {
    types.push_back(type);
  } else {
    output.err << "labarc: no composite named \"" << name << "\"; known:";
    for (const CompositeType& type : KnownComposites()) output.err << ' ' << type.name;
    output.err << '\n';
    return 2;
  }
  for (const CompositeType* type : types) {
    const Schema steps = type->schema(CArchiveEx::ARCHIVE_VERSION);
    output.out << type->name << " (" << steps.size() << " steps)\n";
    for (const SchemaStep& step : steps) {
      output.out << std::string(2 + 2 * step.depth, ' ');
      if (!step.text.empty())
        output.out << '(' << ValueTypeName(step.type) << " \"" << step.text << "\")\n";
      else if (step.label.empty())
        output.out << '(' << ValueTypeName(step.type) << ")\n";
      else
        output.out << std::left << std::setw(32 - 2 * step.depth) << step.label << ' '
                   << ValueTypeName(step.type) << '\n';
    }
  }
  return 0;
}

}  // namespace labarc::tool
