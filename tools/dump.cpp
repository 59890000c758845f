// dump: every section with its entries, as aligned text or as JSON, written while the file is
// read. Composites come out typed, a curve's points as three arrays; a problem stands where it
// was found, and the lines of a composite the library refused stay in the dump as entries.
#include <iomanip>
#include <ostream>

#include <labarc/archive/line_rules.h>
#include <labarc/document/composites.h>
#include <labarc/framework/ascii.h>
#include "command_support.h"
#include "json_values.h"

namespace labarc::tool {

namespace {

std::string JsonString(std::string_view text) { return JsonText(Json(std::string(text))); }

// Writes the values of one array of points, a bounded piece of text at a time.
template <class Value>
void WriteArray(std::ostream& out, std::size_t count, Value value) {
  std::string text = "[";
  for (std::size_t i = 0; i < count; ++i) {
    if (i) text += ',';
    value(i, text);
    if (text.size() > 60000) {
      out << text;
      text.clear();
    }
  }
  out << text << ']';
}

void WritePoints(std::ostream& out, const CurvePoints& points, bool asJson) {
  if (asJson) {
    out << ",\"points\":{\"x\":";
    WriteArray(out, points.size(),
               [&](std::size_t i, std::string& t) { AppendJsonNumber(points.x[i], t); });
    out << ",\"y\":";
    WriteArray(out, points.size(),
               [&](std::size_t i, std::string& t) { AppendJsonNumber(points.y[i], t); });
    out << ",\"flags\":";
    WriteArray(out, points.size(),
               [&](std::size_t i, std::string& t) { t += std::to_string(points.flags[i]); });
    out << '}';
    return;
  }
  std::string text;
  for (std::size_t i = 0; i < points.size(); ++i) {
    text += "              point " + std::to_string(i) + ": x ";
    AppendJsonNumber(points.x[i], text);
    text += ", y ";
    AppendJsonNumber(points.y[i], text);
    text += ", flag " + std::to_string(points.flags[i]) + '\n';
    if (text.size() > 60000) {
      out << text;
      text.clear();
    }
  }
  out << text;
}

// The lines the reader took otherwise than the writer writes what it read (an older application's
// font height, a clamped value), each with the writer's line, so that `load` can give the file's
// line back where the value is unchanged.
void WriteFileLines(std::ostream& out, const std::vector<std::string>& lines,
                    std::string_view written) {
  Json differing = Json::array();
  const std::vector<std::string_view> writtenLines = SplitWrittenLines(written);
  for (std::size_t index = 0; index < writtenLines.size() && index < lines.size(); ++index)
    if (lines[index] != writtenLines[index])
      differing.push_back(
          {{"index", index}, {"file", lines[index]}, {"written", writtenLines[index]}});
  if (!differing.empty()) out << ",\"fileLines\":" << JsonText(differing);
}

// The fields as the file writes them: "label = text", nested composites indented under their
// kind's name.
void WriteFieldsText(std::ostream& out, const std::vector<Field>& fields, int depth) {
  for (const Field& field : fields) {
    const std::string indent(8 + 2 * depth, ' ');
    if (field.IsComposite()) {
      out << indent << field.composite << ":\n";
      WriteFieldsText(out, field.fields, depth + 1);
    } else if (field.type == ValueType::line) {
      out << indent << "(line) " << field.text << '\n';
    } else {
      out << indent << std::left << std::setw(28) << field.label << " = " << field.text << '\n';
    }
  }
}

class DumpVisitor : public WalkReporting {
 public:
  DumpVisitor(std::string file, Output output, const DumpOptions& options)
      : WalkReporting(std::move(file), output, output.err, 0), m_options(options) {
    if (m_options.json) m_output.out << "{\"file\":" << JsonString(m_file) << ",\"sections\":[";
  }

  void OnHeader(const DocumentHeader& header) override {
    if (!header.read) return;
    m_header = header;
    if (!m_options.json)
      m_output.out << "  format " << FormatVersion(header.archiveVersion) << ", " << header.applName
                   << " " << FormatVersion(header.applVersion) << '\n';
  }

  void OnSection(int line, std::string_view name) override {
    CloseSection();
    m_section = name;
    m_sections += m_options.section.empty() || EqualsNoCase(name, m_options.section);
    OpenSection(line);
  }

  void OnEntry(const DocumentEntry& entry) override {
    std::ostream& out = BeginItem();
    if (m_options.json) {
      out << "{\"line\":" << entry.line;
      if (entry.labelled)
        out << ",\"label\":" << JsonString(entry.label) << ",\"value\":" << JsonString(entry.value)
            << '}';
      else
        out << ",\"text\":" << JsonString(entry.value) << '}';
    } else {
      out << std::right << std::setw(8) << entry.line << "  ";
      if (entry.labelled)
        out << std::left << std::setw(28) << entry.label << " = " << entry.value << '\n';
      else
        out << entry.value << '\n';
    }
  }

  void OnComposite(DocumentComposite& composite) override {
    std::ostream& out = BeginItem();
    if (m_options.json) {
      out << "{\"line\":" << composite.line
          << ",\"type\":" << JsonString(composite.value->Kind()->name)
          << ",\"entries\":" << JsonText(FieldsJson(*composite.fields));
      if (composite.points) WritePoints(out, *composite.points, true);
      if (composite.lines && composite.written)
        WriteFileLines(out, *composite.lines, *composite.written);
      out << '}';
    } else {
      out << std::right << std::setw(8) << composite.line << "  " << CompositeSummary(composite)
          << '\n';
      WriteFieldsText(out, *composite.fields, 1);
      if (composite.points) WritePoints(out, *composite.points, false);
    }
  }

  // A problem is printed with the others and stands in the dump where it was found.
  bool OnDiagnostic(const Diagnostic& diagnostic) override {
    const bool go = WalkReporting::OnDiagnostic(diagnostic);
    if (!m_options.section.empty() && !EqualsNoCase(diagnostic.section, m_options.section))
      return go;
    std::ostream& out = BeginItem();
    const char* kind = diagnostic.warning ? "warning" : "error";
    std::string text = DiagnosticReason(diagnostic);
    if (!diagnostic.entry.empty()) text = "entry \"" + diagnostic.entry + "\": " + text;
    if (m_options.json)
      out << "{\"line\":" << diagnostic.line << ",\"" << kind << "\":" << JsonString(text) << '}';
    else
      out << std::right << std::setw(8) << diagnostic.line << "  " << kind << ": " << text << '\n';
    return go;
  }

  // Ends the output; an error when the section asked for is not in the file.
  void Close() {
    CloseSection();
    if (m_options.json) {
      m_output.out << "]";
      if (m_header.read)
        m_output.out << ",\"header\":{\"archiveVersion\":"
                     << JsonText(ToJson(m_header.archiveVersion))
                     << ",\"applicationName\":" << JsonString(m_header.applName)
                     << ",\"applicationVersion\":" << JsonText(ToJson(m_header.applVersion)) << '}';
      m_output.out << "}\n";
    }
    if (!m_options.section.empty() && m_sections == 0) {
      m_output.err << "labarc: " << m_file << ": no section \"" << m_options.section << "\"\n";
      ++errors;
    }
  }

 private:
  std::ostream& BeginItem() {
    if (!m_sectionOpen) OpenSection(0);
    if (m_options.json) m_output.out << (m_firstItem ? "\n" : ",\n");
    m_firstItem = false;
    return m_output.out;
  }
  void OpenSection(int line) {
    std::ostream& out = m_output.out;
    if (m_options.json) {
      out << (m_firstSection ? "\n" : ",\n") << "{\"name\":" << JsonString(m_section);
      if (line) out << ",\"line\":" << line;
      out << ",\"items\":[";
    } else if (line) {
      out << std::right << std::setw(8) << line << "  [" << m_section << "]\n";
    } else {
      out << "[" << m_section << "]\n";
    }
    m_sectionOpen = true;
    m_firstSection = false;
    m_firstItem = true;
  }
  void CloseSection() {
    if (m_sectionOpen && m_options.json) m_output.out << "]}";
    m_sectionOpen = false;
  }

  const DumpOptions& m_options;
  DocumentHeader m_header;
  std::string m_section;
  int m_sections = 0;  // sections of the name asked for
  bool m_sectionOpen = false;
  bool m_firstSection = true;
  bool m_firstItem = true;
};

}  // namespace

int RunDump(const Source& source, const DumpOptions& options, Output output) {
  DumpVisitor visitor(source.Name(), output, options);
  std::string error;
  const bool opened = Walk(source, {options.applName, options.section}, visitor, error);
  if (opened) visitor.Close();
  return visitor.Finish(opened, error);
}

}  // namespace labarc::tool
