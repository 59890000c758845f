// dump: every section with its entries, as aligned text or as JSON, written while the file is
// read. Composites come out typed; a curve's points as three arrays.
#include <iomanip>
#include <ostream>
#include <sstream>

#include <labarc/curve/curve_obj.h>
#include "command_support.h"
#include "json_values.h"

namespace labarc::tool {

namespace {

// JSON text of a string; bytes that are not UTF-8 become U+FFFD.
std::string JsonString(std::string_view text) {
  return Json(std::string(text)).dump(-1, ' ', false, Json::error_handler_t::replace);
}

std::string JsonText(const Json& value) {
  return value.dump(-1, ' ', false, Json::error_handler_t::replace);
}

// Writes a curve's points group by group, a bounded piece of text at a time.
template <class Value>
void WritePointArray(std::ostream& out, const CCurveObj& curve, Value value) {
  std::string text = "[";
  for (int i = 0; i < curve.GetNumPoints(); ++i) {
    CURVEPOINT point;
    curve.GetCurvePoint(i, &point);
    if (i) text += ',';
    value(point, text);
    if (text.size() > 60000) {
      out << text;
      text.clear();
    }
  }
  out << text << ']';
}

void WritePoints(std::ostream& out, const CCurveObj& curve, bool asJson) {
  if (asJson) {
    out << ",\"points\":{\"x\":";
    WritePointArray(out, curve,
                    [](const CURVEPOINT& p, std::string& t) { AppendJsonNumber(p.dX, t); });
    out << ",\"y\":";
    WritePointArray(out, curve,
                    [](const CURVEPOINT& p, std::string& t) { AppendJsonNumber(p.dY, t); });
    out << ",\"flags\":";
    WritePointArray(out, curve, [](const CURVEPOINT& p, std::string& t) {
      t += std::to_string(static_cast<unsigned char>(p.cFlag));
    });
    out << '}';
    return;
  }
  std::string text;
  for (int i = 0; i < curve.GetNumPoints(); ++i) {
    CURVEPOINT point;
    curve.GetCurvePoint(i, &point);
    text += "              point " + std::to_string(i) + ": x ";
    AppendJsonNumber(point.dX, text);
    text += ", y ";
    AppendJsonNumber(point.dY, text);
    text += ", flag " + std::to_string(static_cast<unsigned char>(point.cFlag)) + '\n';
    if (text.size() > 60000) {
      out << text;
      text.clear();
    }
  }
  out << text;
}

void WriteEntriesText(std::ostream& out, const Json& entries, int depth) {
  for (const Json& entry : entries) {
    const std::string indent(8 + 2 * depth, ' ');
    if (entry.contains("composite")) {
      out << indent << entry["composite"].get<std::string>() << ":\n";
      WriteEntriesText(out, entry["entries"], depth + 1);
    } else if (entry.contains("text")) {
      out << indent << "(line) " << entry["text"].get<std::string>() << '\n';
    } else {
      const Json& value = entry["value"];
      out << indent << std::left << std::setw(28) << entry["label"].get<std::string>() << " = "
          << (value.is_string() ? value.get<std::string>() : JsonText(value)) << '\n';
    }
  }
}

class DumpVisitor : public WalkReporting {
 public:
  DumpVisitor(std::string file, Output output, std::ostream& problems, bool json)
      : WalkReporting(std::move(file), output, problems, 0), m_json(json) {}

  void OnHeader(const HeaderInfo& header) override {
    std::ostream& out = m_output.out;
    if (m_json) {
      out << "{\"file\":" << JsonString(m_file);
      if (header.read) {
        out << ",\"header\":{\"archiveVersion\":" << JsonText(ToJson(header.archiveVersion))
            << ",\"applicationName\":" << JsonString(header.applName)
            << ",\"applicationVersion\":" << JsonText(ToJson(header.applVersion)) << '}';
      }
      out << ",\"sections\":[";
    } else if (header.read) {
      out << "[Archive Header]  format " << FormatVersion(header.archiveVersion) << ", "
          << header.applName << " " << FormatVersion(header.applVersion) << '\n';
    }
    m_section = "Archive Header";
  }

  void OnSection(int line, std::string_view name) override {
    CloseSection();
    m_section = name;
    OpenSection(line);
  }

  void OnEntry(int line, bool labelled, std::string_view label, std::string_view value) override {
    if (!m_sectionOpen) OpenSection(0);
    std::ostream& out = m_output.out;
    if (m_json) {
      out << (m_firstItem ? "\n" : ",\n") << "{\"line\":" << line;
      if (labelled)
        out << ",\"label\":" << JsonString(label) << ",\"value\":" << JsonString(value) << '}';
      else
        out << ",\"text\":" << JsonString(value) << '}';
    } else {
      out << std::right << std::setw(8) << line << "  ";
      if (labelled)
        out << std::left << std::setw(28) << label << " = " << value << '\n';
      else
        out << value << '\n';
    }
    m_firstItem = false;
  }

  void OnComposite(int line, Composite& composite) override {
    if (!m_sectionOpen) OpenSection(0);
    std::ostream& out = m_output.out;
    if (m_json) {
      out << (m_firstItem ? "\n" : ",\n") << "{\"line\":" << line
          << ",\"type\":" << JsonString(composite.type)
          << ",\"entries\":" << JsonText(composite.fields);
      if (composite.curve) WritePoints(out, *composite.curve, true);
      out << '}';
    } else {
      out << std::right << std::setw(8) << line << "  " << composite.summary << '\n';
      WriteEntriesText(out, composite.fields, 1);
      if (composite.curve) WritePoints(out, *composite.curve, false);
    }
    m_firstItem = false;
  }

  void Close() {
    CloseSection();
    if (m_json) m_output.out << "]}\n";
  }

 private:
  void OpenSection(int line) {
    if (m_json) {
      m_output.out << (m_firstSection ? "\n" : ",\n") << "{\"name\":" << JsonString(m_section);
      if (line) m_output.out << ",\"line\":" << line;
      m_output.out << ",\"items\":[";
    } else {
      if (line)
        m_output.out << std::right << std::setw(8) << line << "  [" << m_section << "]\n";
      else
        m_output.out << "[" << m_section << "]\n";
    }
    m_sectionOpen = true;
    m_firstSection = false;
    m_firstItem = true;
  }
  void CloseSection() {
    if (m_sectionOpen && m_json) m_output.out << "]}";
    m_sectionOpen = false;
  }

  bool m_json;
  std::string m_section;
  bool m_sectionOpen = false;
  bool m_firstSection = true;
  bool m_firstItem = true;
};

}  // namespace

int RunDump(const Source& source, const DumpOptions& options, Output output) {
  DumpVisitor visitor(source.Name(), output, output.err, options.json);
  std::string error;
  const bool opened = Walk(source, {options.applName, options.section}, visitor, error);
  if (opened) visitor.Close();
  return visitor.Finish(opened, error);
}

}  // namespace labarc::tool
