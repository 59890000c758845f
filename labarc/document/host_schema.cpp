#include <labarc/document/host_schema.h>

#include <cstdio>

namespace labarc {

namespace {

std::string Quoted(std::string_view text) {
  std::string quoted = "\"";
  for (const char ch : text) {
    if (ch == '"' || ch == '\\') {
      quoted += '\\';
      quoted += ch;
    } else if (static_cast<unsigned char>(ch) < 0x20) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned char>(ch));
      quoted += escape;
    } else {
      quoted += ch;
    }
  }
  return quoted + '"';
}

void AppendEntries(std::string& json, const char* name, const std::vector<HostEntry>& entries) {
  json += ", ";
  json += Quoted(name);
  json += ": [";
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const HostEntry& entry = entries[i];
    json += i ? ",\n      " : "\n      ";
    if (entry.composite.empty())
      json += "{\"label\": " + Quoted(entry.label) +
              ", \"type\": " + Quoted(ValueTypeName(entry.type)) +
              (entry.ranged ? ", \"least\": " + std::to_string(entry.least) +
                                  ", \"most\": " + std::to_string(entry.most)
                            : std::string()) +
              "}";
    else
      json += "{\"composite\": " + Quoted(entry.composite) + "}";
  }
  json += "]";
}

}  // namespace

std::string HostSchemaJson(const HostSchema& schema) {
  std::string json = "{\"application\": " + Quoted(schema.application) + ",\n \"sections\": [";
  for (std::size_t i = 0; i < schema.sections.size(); ++i) {
    const HostSection& section = schema.sections[i];
    json += i ? ",\n  " : "\n  ";
    json += "{\"name\": " + Quoted(section.name);
    AppendEntries(json, "entries", section.entries);
    if (!section.each.empty()) AppendEntries(json, "each", section.each);
    json += "}";
  }
  return json + "]}\n";
}

}  // namespace labarc
