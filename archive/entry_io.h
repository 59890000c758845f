// The shared machinery behind typed entries and composite runs. Included by the files that
// define CArchiveEx operations; not part of the public interface.
#pragma once

#include <string_view>
#include <utility>

#include "archive/archive_ex.h"
#include "archive/label.h"
#include "archive/number_text.h"

namespace labarc {

// The text form of a value type, used by the entry operations of that type:
//   static bool Format(const T& value, ValueText& text);  false: the value cannot be stored
//   static bool Parse(std::string_view text, T& value);   false: the text is refused
// Parse works on a copy of the caller's value, so it may stop half-way.
template <class T>
struct TextCodec;

// Case-insensitive comparison of ASCII letters; other bytes must be equal.
bool EqualsNoCase(std::string_view a, std::string_view b);

// The writing direction of a composite's run of entries.
class EntryWriter {
 public:
  static constexpr bool kLoading = false;
  explicit EntryWriter(CArchiveEx& archive) : m_archive(archive) {}
  CArchiveEx& Archive() const { return m_archive; }

  // A labelled entry, through the public operation of its type (label form const CString&).
  template <class T>
  bool operator()(const char* label, T& value) const {
    return m_archive.Write(value, CString(label)) == 1;
  }
  // A nested composite, written by its own operation.
  template <class T>
  bool operator()(T& composite) const {
    return m_archive.Write(composite) == 1;
  }

 private:
  CArchiveEx& m_archive;
};

// The reading direction: each entry is read straight into the working copy's member.
class EntryReader {
 public:
  static constexpr bool kLoading = true;
  explicit EntryReader(CArchiveEx& archive) : m_archive(archive) {}
  CArchiveEx& Archive() const { return m_archive; }

  template <class T>
  bool operator()(const char* label, T& value) const {
    return m_archive.Read(value, CString(label)) == 1;
  }
  template <class T>
  bool operator()(T& composite) const {
    return m_archive.Read(composite) == 1;
  }

 private:
  CArchiveEx& m_archive;
};

}  // namespace labarc

template <class T>
int CArchiveEx::WriteValue(const T& value, labarc::Label& label) {
  if (label.Missing()) return Fail(FailureKind::missingResource, {}, {}, nullptr);
  labarc::ValueText text;
  if (!labarc::TextCodec<T>::Format(value, text))
    return Fail(FailureKind::valueNotStorable, label.Text(), {}, label.Name());
  return WriteEntry(text.View(), label);
}

template <class T>
int CArchiveEx::ReadValue(T& value, labarc::Label& label) {
  std::string_view text;
  if (ReadEntry(text, label) != 1) return HandleError(nullptr);
  T parsed(value);
  if (!labarc::TextCodec<T>::Parse(text, parsed))
    return Fail(FailureKind::valueRefused, label.Text(), text, label.Name());
  value = std::move(parsed);
  return 1;
}

template <class T, class Describe>
int CArchiveEx::WriteRun(T& value, Describe&& describe) {
  const labarc::EntryWriter io(*this);
  return describe(io, value) ? 1 : HandleError(nullptr);
}

template <class T, class Describe>
int CArchiveEx::ReadRun(T& target, T working, Describe&& describe) {
  const labarc::EntryReader io(*this);
  if (!describe(io, working)) return HandleError(nullptr);
  target = std::move(working);
  return 1;
}
