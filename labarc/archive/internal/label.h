// One entry label, whichever of the three public forms it came in: a caller's string that
// receives the file's spelling, a fixed text, or a string resource. Resolving it here once lets
// every entry operation behind the public overloads see a single type.
#pragma once

#include <string>
#include <string_view>

#include <labarc/framework/cstring.h>
#include <labarc/framework/win_types.h>

namespace labarc {

class Label {
 public:
  // The caller's label, or no label when null; a successful read stores the file's spelling.
  static Label Pointer(CString* label);
  // A label that is only compared or written, never changed.
  static Label Fixed(const CString& label) {
    return Label(Kind::fixed, label.GetString(), label.GetLength());
  }
  // The same from a zero-terminated text that outlives the label, such as a literal.
  static Label Fixed(const char* label) {
    return Label(Kind::fixed, label, std::char_traits<char>::length(label));
  }
  // The same from a view of such a text: the view must end where its zero does.
  static Label Fixed(std::string_view label) {
    return Label(Kind::fixed, label.data(), label.size());
  }
  // The text of string resource `id`; Missing() when it cannot be loaded.
  static Label Resource(UINT id);

  bool IsNone() const { return m_kind == Kind::none; }
  bool Missing() const { return m_kind == Kind::missing; }
  std::string_view Text() const;
  // The name an error report gives this entry: the label, "" without one, null when missing.
  const char* Name() const;
  // Hands the file's spelling of the label back to the caller (pointer form only).
  void Receive(std::string_view spelling);

 private:
  enum class Kind { none, pointer, fixed, loaded, missing };
  Label(Kind kind, const char* text, std::size_t size) : m_kind(kind), m_text(text), m_size(size) {}

  Kind m_kind;
  const char* m_text = nullptr;  // fixed
  std::size_t m_size = 0;
  CString* m_target = nullptr;  // pointer
  CString m_loaded;             // loaded
};

}  // namespace labarc
