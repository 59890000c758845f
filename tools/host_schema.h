// A host's schema (labarc/document/host_schema.h) read from its JSON, and the check that types a
// walked file's plain entries with it, so that `check` refuses what the host would refuse, at its
// line and entry.
#pragma once

#include <string>
#include <vector>

#include <labarc/document/host_schema.h>

#include "command_support.h"

namespace labarc::tool {

// Reads a schema file; false with `error` for a file that cannot be read or is no schema.
bool LoadHostSchema(const std::string& path, HostSchema& schema, std::string& error);

// Passes the walk on to `reporting`, and with a schema checks each section the schema lists:
// its entries in order, each label and value text, each composite's kind. Like the host's
// reader, it stops looking at a section after its first refusal.
class SchemaCheck : public WalkVisitor {
 public:
  SchemaCheck(const HostSchema* schema, WalkReporting& reporting)
      : m_schema(schema), m_reporting(reporting) {}

  void OnSection(int line, std::string_view name) override;
  void OnEntry(const DocumentEntry& entry) override;
  void OnComposite(DocumentComposite& composite) override;
  bool OnDiagnostic(const Diagnostic& diagnostic) override {
    m_lastLine = std::max(m_lastLine, diagnostic.line);
    return m_reporting.OnDiagnostic(diagnostic);
  }
  void OnProgress(std::uint64_t done, std::uint64_t total) override {
    m_reporting.OnProgress(done, total);
  }
  // Reports what the file lacks: the entries of its last section, the sections never found.
  void Finish();

 private:
  const HostEntry* Expected() const;
  void CloseSection();
  void Refuse(int line, CArchiveEx::FailureKind kind, const std::string& entry,
              const std::string& found, const std::string& expected = {});

  const HostSchema* m_schema;
  WalkReporting& m_reporting;
  std::vector<bool> m_seen;                // per schema section
  const HostSection* m_section = nullptr;  // the schema of the section being walked
  std::string m_sectionName;
  std::size_t m_position = 0;  // of the next item in the section
  bool m_refused = false;
  int m_lastLine = 0;
};

}  // namespace labarc::tool
