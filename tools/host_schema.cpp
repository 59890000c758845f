#include "host_schema.h"

#include <fstream>
#include <iterator>
#include <limits>

#include <labarc/document/composites.h>
#include <labarc/document/value_text.h>
#include <labarc/framework/ascii.h>
#include "json_values.h"

namespace labarc::tool {

namespace {

bool ReadEntries(const Json& list, std::vector<HostEntry>& entries, std::string& error) {
  if (!list.is_array()) {
    error = "\"entries\" and \"each\" must be arrays";
    return false;
  }
  for (const Json& item : list) {
    HostEntry entry;
    if (item.contains("composite")) {
      entry.composite = item.at("composite").get<std::string>();
      if (!FindCompositeKind(entry.composite)) {
        error = "no composite named \"" + entry.composite + "\"";
        return false;
      }
    } else {
      entry.label = item.at("label").get<std::string>();
      const std::string type = item.value("type", "string");
      if (!ValueTypeFromName(type, entry.type)) {
        error = "entry \"" + entry.label + "\": no value type named \"" + type + "\"";
        return false;
      }
      entry.ranged = item.contains("least") || item.contains("most");
      entry.least = item.value("least", std::numeric_limits<long>::min());
      entry.most = item.value("most", std::numeric_limits<long>::max());
    }
    entries.push_back(std::move(entry));
  }
  return true;
}

// An integer entry's value within the range the host allows, when it gives one.
bool InRange(const HostEntry& entry, std::string_view text) {
  if (!entry.ranged) return true;
  long value = 0;
  return ValueFromText(text, value) && entry.least <= value && value <= entry.most;
}

}  // namespace

bool LoadHostSchema(const std::string& path, HostSchema& schema, std::string& error) {
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    error = "cannot be read";
    return false;
  }
  const std::string text{std::istreambuf_iterator<char>(file), {}};
  try {
    const Json json = Json::parse(text);
    schema.application = json.value("application", "");
    for (const Json& item : json.at("sections")) {
      HostSection section;
      section.name = item.at("name").get<std::string>();
      if (!ReadEntries(item.value("entries", Json::array()), section.entries, error) ||
          !ReadEntries(item.value("each", Json::array()), section.each, error))
        return false;
      schema.sections.push_back(std::move(section));
    }
  } catch (const Json::exception& failure) {
    error = std::string("not a schema: ") + failure.what();
    return false;
  }
  return true;
}

void SchemaCheck::OnSection(int line, std::string_view name) {
  CloseSection();
  m_sectionName = name;
  m_lastLine = line;
  if (!m_schema) return;
  m_seen.resize(m_schema->sections.size());
  for (std::size_t i = 0; i < m_schema->sections.size(); ++i) {
    if (!m_seen[i] && EqualsNoCase(m_schema->sections[i].name, name)) {
      m_seen[i] = true;
      m_section = &m_schema->sections[i];
      break;
    }
  }
}

const HostEntry* SchemaCheck::Expected() const {
  if (!m_section || m_refused) return nullptr;
  if (m_position < m_section->entries.size()) return &m_section->entries[m_position];
  if (m_section->each.empty()) return nullptr;
  return &m_section->each[(m_position - m_section->entries.size()) % m_section->each.size()];
}

void SchemaCheck::Refuse(int line, CArchiveEx::FailureKind kind, const std::string& entry,
                         const std::string& found, const std::string& expected) {
  Diagnostic error;
  error.failure = kind;
  error.line = line;
  error.section = m_sectionName;
  error.entry = entry;
  error.found = found;
  error.expected = expected;
  m_reporting.OnDiagnostic(error);
  m_refused = true;
}

void SchemaCheck::OnEntry(const DocumentEntry& entry) {
  m_lastLine = entry.line;
  const HostEntry* expected = Expected();
  if (!expected) return;
  ++m_position;
  const std::string found(entry.labelled ? std::string(entry.label) + "=" + std::string(entry.value)
                                         : std::string(entry.value));
  if (!expected->composite.empty())
    Refuse(entry.line, CArchiveEx::FailureKind::otherLabel, "",
           found.substr(0, CArchiveEx::MAX_FAILURE_TEXT));
  else if (!entry.labelled || !EqualsNoCase(entry.label, expected->label))
    Refuse(entry.line, CArchiveEx::FailureKind::otherLabel, expected->label,
           found.substr(0, CArchiveEx::MAX_FAILURE_TEXT));
  else if (!IsValueText(expected->type, entry.value) || !InRange(*expected, entry.value))
    Refuse(entry.line, CArchiveEx::FailureKind::valueRefused, expected->label,
           std::string(entry.value.substr(0, CArchiveEx::MAX_FAILURE_TEXT)));
}

void SchemaCheck::OnComposite(DocumentComposite& composite) {
  m_lastLine = composite.line + composite.lineCount - 1;
  const HostEntry* expected = Expected();
  if (!expected) return;
  ++m_position;
  const std::string kind = composite.value->Kind()->name;
  if (expected->composite != kind)
    Refuse(composite.line, CArchiveEx::FailureKind::otherLabel, expected->label,
           "a " + kind + " composite");
}

void SchemaCheck::CloseSection() {
  if (m_section && !m_refused && m_position < m_section->entries.size()) {
    const HostEntry& missing = m_section->entries[m_position];
    Refuse(m_lastLine, CArchiveEx::FailureKind::missingEntry,
           missing.composite.empty() ? missing.label : missing.composite, "");
  }
  m_section = nullptr;
  m_position = 0;
  m_refused = false;
}

void SchemaCheck::Finish() {
  CloseSection();
  if (!m_schema) return;
  m_seen.resize(m_schema->sections.size());
  for (std::size_t i = 0; i < m_schema->sections.size(); ++i) {
    if (m_seen[i]) continue;
    m_sectionName.clear();
    Refuse(m_lastLine, CArchiveEx::FailureKind::sectionNotFound, "", "",
           m_schema->sections[i].name);
  }
}

}  // namespace labarc::tool
