// The field-walk direction of the describe functions: lists a composite's entries as Fields,
// nested composites as fields of their own. Given the composite's lines as the file holds them,
// it also numbers each field's line and notes every value that the reader took as another than
// the file's text says (a clamp, a conversion, a value a second entry replaced).
#pragma once

#include <climits>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include <labarc/archive/describe.h>
#include <labarc/archive/value_type.h>
#include <labarc/document/diagnostic.h>
#include <labarc/document/field.h>
#include <labarc/framework/rect_tracker.h>
#include <labarc/values/date.h>
#include <labarc/values/dpoint.h>

namespace labarc {

inline FieldValue ToFieldValue(const CString& v) { return std::string(v.View()); }
inline FieldValue ToFieldValue(BYTE v) { return std::int64_t{v}; }
inline FieldValue ToFieldValue(int v) { return std::int64_t{v}; }
inline FieldValue ToFieldValue(UINT v) { return std::int64_t{v}; }
inline FieldValue ToFieldValue(long v) { return std::int64_t{v}; }
inline FieldValue ToFieldValue(double v) { return v; }
inline FieldValue ToFieldValue(unsigned long v) {
  return FieldColour{GetRValue(v), GetGValue(v), GetBValue(v)};
}
inline FieldValue ToFieldValue(const tagRECT& v) {
  return FieldRect{v.left, v.top, v.right, v.bottom};
}
inline FieldValue ToFieldValue(const CSize& v) { return FieldSize{v.cx, v.cy}; }
inline FieldValue ToFieldValue(const tagPOINT& v) { return FieldPoint{v.x, v.y}; }
inline FieldValue ToFieldValue(const DPOINT& v) { return FieldDoublePoint{v.x, v.y}; }
inline FieldValue ToFieldValue(const CDate& v) {
  CString text;
  return std::string(v.FmtMMsDDsYYYY(text, '/').View());
}

// A composite's lines as the file holds them, walked along with its fields.
struct FieldLines {
  const std::vector<std::string>& lines;
  int firstLine;  // the file's number of lines[0]
  std::vector<Diagnostic>& readOtherwise;
  std::size_t next = 0;
};

class FieldWalk : public DescriptionWalk {
 public:
  FieldWalk(std::vector<Field>& fields, double archiveVersion, FieldLines* lines = nullptr)
      : m_fields(fields), m_archiveVersion(archiveVersion), m_lines(lines) {}

  template <class T>
  bool operator()(const char* label, T& value) const {
    Add(label, value);
    return true;
  }
  template <class T>
  bool operator()(T& composite) const {
    Field field;
    field.composite = CompositeTraits<T>::name;
    field.line = NextLineNumber();
    Describe(FieldWalk(field.fields, m_archiveVersion, m_lines), composite);
    m_fields.push_back(std::move(field));
    return true;
  }
  bool Line(CString& text) const {
    Field field;
    field.type = ValueType::line;
    field.value = std::string(text.View());
    field.line = NextLineNumber();
    if (m_lines && m_lines->next < m_lines->lines.size()) {
      field.text = m_lines->lines[m_lines->next++];  // the reader does not look at it
    } else {
      field.text = text.View();
    }
    m_fields.push_back(std::move(field));
    return true;
  }
  template <class T, class Format>
  bool Formatted(const char* label, T& value, Format format) const {
    Field& field = Add(label, value);
    if (!m_lines) field.text = format(value).View();
    return true;
  }
  template <class Object, class Get, class Set>
  bool Property(const char* label, Object& object, Get get, Set) const {
    PropertyType<Set> value(std::invoke(get, object));
    Add(label, value);
    return true;
  }
  template <class T>
  bool Ranged(const char* label, T& value, long least, long most) const {
    Field& field = Add(label, value);
    field.ranged = true;
    field.least = least;
    field.most = most;
    return true;
  }
  bool Count(const char* label, int& count, std::uint64_t) const {
    return Ranged(label, count, 0, INT_MAX);
  }
  template <class Curve>
  static bool PointLines(Curve&) {
    return true;
  }
  using DescriptionWalk::Blocks;
  template <class Block>
  bool Blocks(const BlockCount& count, Block block) const {
    return Blocks(m_archiveVersion <= count.olderUpTo ? count.olderCount : count.count, block);
  }

 private:
  int NextLineNumber() const { return m_lines ? m_lines->firstLine + int(m_lines->next) : 0; }

  // A field for the value as read. With the file's lines: its line, and the file's text, noted
  // when the reader took it as another value.
  template <class T>
  Field& Add(const char* label, const T& value) const {
    Field field;
    field.label = label;
    field.type = ValueTypeOf<T>();
    field.value = ToFieldValue(value);
    ValueToText(value, field.text);
    if (m_lines && m_lines->next < m_lines->lines.size()) {
      field.line = NextLineNumber();
      const std::string& line = m_lines->lines[m_lines->next++];
      const std::size_t equals = line.find('=');
      const std::string_view fileText =
          equals == line.npos ? std::string_view() : std::string_view(line).substr(equals + 1);
      T fromFile(value);
      std::string fileValue;
      if (ValueFromText(fileText, fromFile) && ValueToText(fromFile, fileValue) &&
          fileValue != field.text) {
        Diagnostic note;
        note.kind = DiagnosticKind::valueReadOtherwise;
        note.warning = true;
        note.line = field.line;
        note.entry = label;
        note.found = fileText.substr(0, CArchiveEx::MAX_FAILURE_TEXT);
        note.expected = field.text;
        m_lines->readOtherwise.push_back(std::move(note));
      }
      field.text = fileText;
    }
    m_fields.push_back(std::move(field));
    return m_fields.back();
  }

  std::vector<Field>& m_fields;
  double m_archiveVersion;
  FieldLines* m_lines;
};

}  // namespace labarc
