#include "export_csv.h"

#include "command_support.h"

#include <charconv>
#include <cmath>
#include <functional>
#include <ostream>

#include <labarc/curve/curve_obj.h>
#include <labarc/document/walk.h>
#include <labarc/framework/ascii.h>
#include <labarc/framework/exceptions.h>
#include <labarc/framework/save_file.h>

namespace labarc::tool {

void AppendCsvNumber(double value, std::string& out) {
  if (std::isnan(value)) {
    out += "nan";
    return;
  }
  if (std::isinf(value)) {
    out += value < 0 ? "-inf" : "inf";
    return;
  }
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  const std::string_view text(buffer, result.ptr);
  out += text;
  if (text.find_first_of(".e") == text.npos) out += ".0";
}

namespace {

// A field quoted when it holds what CSV gives a meaning: a comma, a quote, a line end, or blanks
// at its ends that a reader might trim.
void AppendCsvText(std::string_view text, std::string& out) {
  const bool quote = text.find_first_of(",\"\r\n") != text.npos ||
                     (!text.empty() && (text.front() == ' ' || text.back() == ' '));
  if (!quote) {
    out += text;
    return;
  }
  out += '"';
  for (const char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
}

constexpr std::size_t kChunk = 1 << 16;

class ExportVisitor : public labarc::WalkVisitor {
 public:
  ExportVisitor(const ExportOptions& options, std::function<void(std::string_view)> sink,
                std::string file, std::ostream& err)
      : m_options(options), m_sink(std::move(sink)), m_file(std::move(file)), m_err(err) {
    m_found.resize(options.curves.size());
    m_text = "curve,index,x,y,flag\n";
  }

  void OnComposite(DocumentComposite& composite) override {
    const CCurveObj* curve = composite.value->As<CCurveObj>();
    if (!curve || !composite.points || errors) return;
    const std::string_view name = curve->GetName().View();
    if (!Wanted(name)) return;
    std::string quotedName;
    AppendCsvText(name, quotedName);
    const CurvePoints& points = *composite.points;
    for (std::size_t i = 0; i < points.size(); ++i) {
      m_text += quotedName;
      m_text += ',';
      m_text += std::to_string(i);
      m_text += ',';
      AppendCsvNumber(points.x[i], m_text);
      m_text += ',';
      AppendCsvNumber(points.y[i], m_text);
      m_text += ',';
      m_text += std::to_string(points.flags[i]);
      m_text += '\n';
      if (m_text.size() >= kChunk) Flush();
    }
  }
  bool OnDiagnostic(const labarc::Diagnostic& diagnostic) override {
    if (diagnostic.warning) return true;
    ++errors;
    m_err << FormatDiagnostic(m_file, diagnostic) << '\n';
    return true;
  }

  void Flush() {
    m_sink(m_text);
    m_text.clear();
  }
  // The names asked for that no curve has.
  std::vector<std::string> Missing() const {
    std::vector<std::string> missing;
    for (std::size_t i = 0; i < m_found.size(); ++i)
      if (!m_found[i]) missing.push_back(m_options.curves[i]);
    return missing;
  }

  int errors = 0;

 private:
  bool Wanted(std::string_view name) {
    bool wanted = m_options.curves.empty();
    for (std::size_t i = 0; i < m_options.curves.size(); ++i) {
      if (EqualsNoCase(name, m_options.curves[i])) {
        m_found[i] = true;
        wanted = true;
      }
    }
    return wanted;
  }

  const ExportOptions& m_options;
  std::function<void(std::string_view)> m_sink;
  std::string m_file;
  std::ostream& m_err;
  std::vector<bool> m_found;
  std::string m_text;
};

}  // namespace

int RunExport(const DocumentSource& source, const ExportOptions& options, Output output) {
  CSaveFile file;
  std::function<void(std::string_view)> sink = [&](std::string_view text) {
    output.out.write(text.data(), static_cast<std::streamsize>(text.size()));
  };
  if (!options.output.empty()) {
    if (!file.Open(options.output.c_str())) {
      output.err << "labarc: " << options.output << ": cannot be written\n";
      return 2;
    }
    sink = [&](std::string_view text) { file.Write(text.data(), static_cast<UINT>(text.size())); };
  }
  ExportVisitor visitor(options, sink, source.Name(), output.err);
  std::string error;
  try {
    // Only the values are exported: the point text is not compared with the writer's.
    if (!labarc::Walk(source, {options.applName, options.section, false}, visitor, error)) {
      output.err << "labarc: " << source.Name() << ": " << error << '\n';
      return 2;
    }
    if (visitor.errors) return 1;
    visitor.Flush();
    const std::vector<std::string> missing = visitor.Missing();
    for (const std::string& name : missing)
      output.err << "labarc: " << source.Name() << ": no curve \"" << name << "\"\n";
    if (!missing.empty()) return 2;
    if (!options.output.empty()) file.Commit();
  } catch (CException* failure) {
    output.err << "labarc: " << options.output << ": " << failure->GetErrorMessage().GetString()
               << '\n';
    failure->Delete();
    return 2;
  }
  return 0;
}

}  // namespace labarc::tool
