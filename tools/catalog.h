// The composites the tool recognises: each with its schema (from the schema direction of the
// library's describe functions) and a read through the library's own reader.
#pragma once

#include <any>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include <labarc/archive/schema.h>

class CArchiveEx;
class CCurveObj;

namespace labarc::tool {

// One composite as the library read it.
struct Composite {
  std::string type;
  nlohmann::ordered_json fields;     // its entries in file order, typed
  std::shared_ptr<CCurveObj> curve;  // a curve, for its points
  std::any value;                    // any other composite, as the library read it
  std::string summary;               // one short line for `info`
  int lines = 0;                     // the lines it takes in the file
};

struct CompositeType {
  std::string name;
  // The steps in file order for an archive of this format version.
  Schema (*schema)(double archiveVersion);
  // Reads one through the library; false when the library refused it.
  bool (*read)(CArchiveEx& archive, Composite& composite);
};

// `text` between double quotes, as diagnostics and summaries show names and values.
std::string Quoted(std::string_view text);

const std::vector<CompositeType>& KnownComposites();
const CompositeType* FindComposite(std::string_view name);

}  // namespace labarc::tool
