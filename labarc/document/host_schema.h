// A host's schema: for each of its sections, the entries its reader takes in order (a label and a
// value type, or a composite of the registry), and entries that repeat to the section's end (the
// curves of a run). The schema direction of a host's section descriptions makes one
// (labarc/document/host_sections.h); a person can write one by hand. `labarc check --schema` reads
// it to type a file's plain entries as the host's reader would.
#pragma once

#include <string>
#include <vector>

#include <labarc/archive/value_type.h>
#include <labarc/framework/export.h>

namespace labarc {

struct HostEntry {
  std::string label;  // a labelled entry; empty for a composite
  ValueType type = ValueType::string;
  std::string composite;  // a composite's registry name ("curve")
  // An integer entry the host allows only in [least, most] (an element count that cannot be
  // negative, say).
  bool ranged = false;
  long least = 0;
  long most = 0;
};

struct HostSection {
  std::string name;
  std::vector<HostEntry> entries;
  std::vector<HostEntry> each;  // repeated after `entries` to the section's end
};

struct HostSchema {
  std::string application;
  std::vector<HostSection> sections;
};

// The schema as JSON, in the form docs/format.md describes.
LABARC_API std::string HostSchemaJson(const HostSchema& schema);

}  // namespace labarc
