// The schema direction of the describe functions: instead of reading or writing, it lists a
// composite's steps (label and value type) in file order, so that every list of labels exists
// once, in the describe function the readers and writers use. The tool recognises composites in
// a file with it; a host can use it to document its own files.
#pragma once

#include <string>
#include <type_traits>
#include <vector>

#include <labarc/archive/archive_ex.h>
#include <labarc/archive/describe.h>
#include <labarc/framework/cstring.h>
#include <labarc/framework/export.h>
#include <labarc/framework/win_types.h>

class CDate;
struct DPOINT;

namespace labarc {

enum class ValueType {
  string,
  byte,
  integer,          // int, 32-bit
  unsignedInteger,  // UINT, 32-bit
  longInteger,      // long, 32-bit in the file
  real,             // double
  colour,           // "red green blue"
  rectangle,        // "left top right bottom"
  size,             // "cx cy"
  point,            // "x y"
  doublePoint,      // "x y", doubles
  date,             // "MM/DD/YYYY"
  line,             // an unlabelled line, read without looking at it
  pointLines,       // a curve's point lines: x, y and flag groups, twelve values to a line
};

// The name of a value type as the documentation and the tool print it ("int", "colour", ...).
LABARC_API const char* ValueTypeName(ValueType type);

struct SchemaStep {
  std::string label;  // empty for an unlabelled line and for point lines
  ValueType type;
  int depth;              // 0 for the composite's own steps, 1 inside a nested composite, ...
  std::string text = {};  // an unlabelled line's text as the writer writes it
};
using Schema = std::vector<SchemaStep>;

// The value type an entry of C++ type T is stored as.
template <class T>
constexpr ValueType ValueTypeOf() {
  using U = std::remove_cvref_t<T>;
  if constexpr (std::is_same_v<U, CString>)
    return ValueType::string;
  else if constexpr (std::is_same_v<U, BYTE>)
    return ValueType::byte;
  else if constexpr (std::is_same_v<U, int>)
    return ValueType::integer;
  else if constexpr (std::is_same_v<U, UINT>)
    return ValueType::unsignedInteger;
  else if constexpr (std::is_same_v<U, long>)
    return ValueType::longInteger;
  else if constexpr (std::is_same_v<U, double>)
    return ValueType::real;
  else if constexpr (std::is_same_v<U, unsigned long>)
    return ValueType::colour;
  else if constexpr (std::is_same_v<U, tagRECT> || std::is_base_of_v<tagRECT, U>)
    return ValueType::rectangle;
  else if constexpr (std::is_same_v<U, CSize>)
    return ValueType::size;
  else if constexpr (std::is_same_v<U, tagPOINT>)
    return ValueType::point;
  else if constexpr (std::is_same_v<U, DPOINT>)
    return ValueType::doublePoint;
  else if constexpr (std::is_same_v<U, CDate>)
    return ValueType::date;
  else
    static_assert(sizeof(U) == 0, "no entry type");
}

// The direction that records steps. Block counts follow `archiveVersion`, as a reader of an
// archive of that version would take them.
class SchemaRecorder : public DescriptionWalk {
 public:
  explicit SchemaRecorder(Schema& steps, double archiveVersion = CArchiveEx::ARCHIVE_VERSION,
                          int depth = 0)
      : m_steps(steps), m_archiveVersion(archiveVersion), m_depth(depth) {}

  template <class T>
  bool operator()(const char* label, T&) const {
    return Add(label, ValueTypeOf<T>());
  }
  template <class T>
  bool operator()(T& composite) const {
    return Describe(SchemaRecorder(m_steps, m_archiveVersion, m_depth + 1), composite);
  }
  bool Line(CString& text) const {
    m_steps.push_back({"", ValueType::line, m_depth, std::string(text.View())});
    return true;
  }
  template <class T, class Format>
  bool Formatted(const char* label, T&, Format) const {
    return Add(label, ValueTypeOf<T>());
  }
  template <class Object, class Get, class Set>
  bool Property(const char* label, Object&, Get, Set) const {
    return Add(label, ValueTypeOf<PropertyType<Set>>());
  }
  using DescriptionWalk::Blocks;
  template <class Block>
  bool Blocks(const BlockCount& count, Block block) const {
    return Blocks(m_archiveVersion <= count.olderUpTo ? count.olderCount : count.count, block);
  }
  bool PointLines() const { return Add("", ValueType::pointLines); }

 private:
  bool Add(const char* label, ValueType type) const {
    m_steps.push_back({label, type, m_depth});
    return true;
  }

  Schema& m_steps;
  double m_archiveVersion;
  int m_depth;
};

// The steps of composite T for an archive of `archiveVersion`.
template <class T>
Schema SchemaOf(double archiveVersion = CArchiveEx::ARCHIVE_VERSION) {
  Schema steps;
  T value{};
  Describe(SchemaRecorder(steps, archiveVersion), value);
  return steps;
}

}  // namespace labarc
