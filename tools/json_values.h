// The JSON of stored values, and the direction of the describe functions that turns a composite
// the library has read into JSON: its entries in file order, each with its label and typed value,
// nested composites as objects of their own. Doubles keep every bit: finite ones as JSON numbers
// that read back exactly, the others as the archive's own text ("inf", "-inf", "nan").
#pragma once

#include <functional>
#include <nlohmann/json.hpp>
#include <string_view>

#include <labarc/archive/describe.h>
#include <labarc/framework/cstring.h>
#include <labarc/framework/win_types.h>

class CDate;
class CRectTracker;
struct DPOINT;
struct tagLOGFONTA;
struct _TEXT;
struct _TICKLABEL;
struct TICKMARK;
class CLegend;

namespace labarc::tool {

using Json = nlohmann::ordered_json;

Json ToJson(const CString& value);
Json ToJson(BYTE value);
Json ToJson(int value);
Json ToJson(UINT value);
Json ToJson(long value);
Json ToJson(double value);
Json ToJson(unsigned long colour);
Json ToJson(const tagRECT& value);
Json ToJson(const CSize& value);
Json ToJson(const tagPOINT& value);
Json ToJson(const DPOINT& value);
Json ToJson(const CDate& value);

// A double as JSON text: the shortest text that reads back to the same value, or the archive's
// text in quotes for the values JSON lacks.
void AppendJsonNumber(double value, std::string& out);

// The name of a nested composite in the JSON ("font", "text", ...).
const char* CompositeName(const tagLOGFONTA&);
const char* CompositeName(const _TEXT&);
const char* CompositeName(const CRectTracker&);
const char* CompositeName(const _TICKLABEL&);
const char* CompositeName(const TICKMARK&);
const char* CompositeName(const CLegend&);

}  // namespace labarc::tool

namespace labarc {

// In the library's namespace, so that Describe of every folder is found for its composites.
class JsonDirection : public DescriptionWalk {
 public:
  using Json = tool::Json;
  explicit JsonDirection(Json& entries) : m_entries(entries) {}

  template <class T>
  bool operator()(const char* label, T& value) const {
    return Add(label, tool::ToJson(value));
  }
  template <class T>
  bool operator()(T& composite) const {
    Json nested = Json::array();
    Describe(JsonDirection(nested), composite);
    m_entries.push_back(
        {{"composite", tool::CompositeName(composite)}, {"entries", std::move(nested)}});
    return true;
  }
  bool Line(CString& text) const {
    m_entries.push_back({{"text", tool::ToJson(text)}});
    return true;
  }
  template <class T, class Format>
  bool Formatted(const char* label, T& value, Format) const {
    return Add(label, tool::ToJson(value));
  }
  template <class Object, class Get, class Set>
  bool Property(const char* label, Object& object, Get get, Set) const {
    return Add(label, tool::ToJson(std::invoke(get, object)));
  }
  template <class T>
  bool Ranged(const char* label, T& value, long, long) const {
    return Add(label, tool::ToJson(value));
  }
  using DescriptionWalk::Blocks;
  // Every slot the value holds, also those an older archive left as they were.
  template <class Block>
  static bool Blocks(const BlockCount& count, Block block) {
    return Blocks(count.count, block);
  }

 private:
  bool Add(const char* label, Json value) const {
    m_entries.push_back({{"label", label}, {"value", std::move(value)}});
    return true;
  }

  Json& m_entries;
};

}  // namespace labarc
