// The schema direction of the describe functions: instead of reading or writing, it lists a
// composite's steps (label and value type) in file order, so that every list of labels exists
// once, in the describe function the readers and writers use. The tool recognises composites in
// a file with it; a host can use it to document its own files.
#pragma once

#include <climits>
#include <cstdint>
#include <string>
#include <type_traits>
#include <vector>

#include <labarc/archive/archive_ex.h>
#include <labarc/archive/describe.h>
#include <labarc/archive/value_type.h>
#include <labarc/framework/cstring.h>
#include <labarc/framework/export.h>
#include <labarc/framework/win_types.h>

namespace labarc {

struct SchemaStep {
  std::string label;  // empty for an unlabelled line and for point lines
  ValueType type;
  int depth;              // 0 for the composite's own steps, 1 inside a nested composite, ...
  std::string text = {};  // an unlabelled line's text as the writer writes it
  // An entry whose check allows only [least, most].
  bool ranged = false;
  long least = 0;
  long most = 0;
};
using Schema = std::vector<SchemaStep>;

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
  template <class T>
  bool Ranged(const char* label, T&, long least, long most) const {
    Add(label, ValueTypeOf<T>());
    m_steps.back().ranged = true;
    m_steps.back().least = least;
    m_steps.back().most = most;
    return true;
  }
  bool Count(const char* label, int& count, std::uint64_t) const {
    return Ranged(label, count, 0, INT_MAX);
  }
  template <class Curve>
  bool PointLines(Curve&) const {
    return Add("", ValueType::pointLines);
  }

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
