// The shared machinery behind typed entries and composite runs. Included by the files that
// define CArchiveEx operations; not part of the public interface.
#pragma once

#include <cstdint>
#include <functional>
#include <string_view>
#include <type_traits>
#include <utility>

#include <labarc/archive/archive_ex.h>
#include <labarc/archive/describe.h>
#include <labarc/archive/internal/label.h>
#include <labarc/archive/number_text.h>
#include <labarc/archive/value_type.h>
#include <labarc/framework/ascii.h>

namespace labarc {

// Counts up to this many are not measured against the file: so few items cost less memory than
// the archive's buffer, and a file too short for them fails at the line where it ends, like any
// other damage.
inline constexpr int kItemsReservedUnasked = 1024;

// The text form of a value type, used by the entry operations of that type:
//   static bool Format(const T& value, ValueText& text);  false: the value cannot be stored
//   static bool Parse(std::string_view text, T& value);   false: the text is refused
// Parse works on a copy of the caller's value, so it may stop half-way.
template <class T>
struct TextCodec;

// The archive's two directions over a composite's description (archive/describe.h documents the
// steps). The reader reads each entry straight into the working copy's member.
template <bool Loading>
class EntryIo {
 public:
  explicit EntryIo(CArchiveEx& archive) : m_archive(archive) {}

  template <class T>
  bool operator()(std::string_view label, T& value) const {
    return Entry(value, label);
  }
  template <class T>
  bool operator()(T& composite) const {
    if constexpr (Loading)
      return m_archive.Read(composite) == 1;
    else
      return m_archive.Write(composite) == 1;
  }
  bool Line(CString& text) const { return Entry(text, static_cast<CString*>(nullptr)); }
  template <class T, class Format>
  bool Formatted(std::string_view label, T& value, Format format) const {
    if constexpr (Loading) {
      return Entry(value, label);
    } else {
      CString text = format(value);
      return Entry(text, label);
    }
  }
  template <class Object, class Get, class Set>
  bool Property(std::string_view label, Object& object, Get get, Set set) const {
    if constexpr (Loading) {
      PropertyType<Set> value{};
      if (!Entry(value, label)) return false;
      if constexpr (std::is_member_function_pointer_v<Set>)
        (object.*set)(value);
      else
        set(object, value, m_archive);
      return true;
    } else {
      auto value = std::invoke(get, object);
      return Entry(value, label);
    }
  }
  template <class T>
  bool Ranged(std::string_view label, T& value, long least, long most) const {
    if (!Entry(value, label)) return false;
    return (least <= value && value <= most) ||
           m_archive.RefuseOutOfRange(label.data(), static_cast<long>(value), least, most);
  }
  bool Count(std::string_view label, int& count, std::uint64_t leastBytes) const {
    return Entry(count, label) && m_archive.CheckCount(label.data(), count, leastBytes);
  }
  template <class Curve>
  bool PointLines(Curve& curve) const {
    if constexpr (Loading)
      return m_archive.ReadPointLines(curve);
    else
      return m_archive.WritePointLines(curve);
  }
  template <class Step>
  bool OnRead(Step step) const {
    if constexpr (Loading)
      return step(static_cast<const CArchiveEx&>(m_archive));
    else
      return true;
  }
  template <class Block>
  static bool Blocks(int count, Block block) {
    return EachSlot(count, block);
  }
  // Writers too take the archive's version: a file whose header names an older format must
  // hold its older layout, or every line after the blocks would be read out of place.
  template <class Block>
  bool Blocks(const BlockCount& count, Block block) const {
    const bool older = m_archive.GetArchiveVersion() <= count.olderUpTo;
    return Blocks(older ? count.olderCount : count.count, block);
  }

  // One labelled entry in this direction under a fixed label, a literal of the composite's list.
  // Labels come as views, so that a literal's length is known where it is written rather than
  // measured at every entry.
  template <class T>
  bool Entry(T& value, std::string_view label) const {
    Label fixed = Label::Fixed(label);
    if constexpr (Loading)
      return m_archive.Read(value, fixed) == 1;
    else
      return m_archive.Write(value, fixed) == 1;
  }
  // One labelled entry in this direction, with the label in any of its public forms.
  template <class T, class LabelForm>
  bool Entry(T& value, const LabelForm& label) const {
    if constexpr (Loading)
      return m_archive.Read(value, label) == 1;
    else
      return m_archive.Write(value, label) == 1;
  }

 private:
  CArchiveEx& m_archive;
};

using EntryWriter = EntryIo<false>;
using EntryReader = EntryIo<true>;

// Describe(io, value) for the value's type: the overloads live in the describe headers of each
// folder, in this namespace, and are found there through the direction's type.
struct DescribeSteps {
  template <class Io, class T>
  bool operator()(const Io& io, T& value) const {
    return Describe(io, value);
  }
};

// A composite's run in the writing direction: 1, or the composite's own report (no entry name)
// after the failing step's. The value is only read (see archive/describe.h).
template <class T, class Steps = DescribeSteps>
int WriteRun(CArchiveEx& archive, const T& value, Steps&& steps = {}) {
  const EntryWriter io(archive);
  return steps(io, const_cast<T&>(value)) ? 1 : archive.HandleError(nullptr);
}

// The one commit-on-success mechanism of the readers: `steps` read into `working`, a copy of
// `target` prepared by the caller, which is handed to `target` only when every step succeeded.
// On failure, or when a report throws, `target` is untouched and the working copy goes with
// this frame.
template <class T, class Steps = DescribeSteps>
int ReadRun(CArchiveEx& archive, T& target, T working, Steps&& steps = {}) {
  const EntryReader io(archive);
  if (!steps(io, working)) return archive.HandleError(nullptr);
  target = std::move(working);
  return 1;
}

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

// Defines labarc::ValueToText and labarc::ValueFromText of value type T over its text codec.
#define LABARC_DEFINE_VALUE_TEXT(T)                                    \
  bool labarc::ValueToText(const T& value, std::string& text) {        \
    labarc::ValueText formatted;                                       \
    if (!labarc::TextCodec<T>::Format(value, formatted)) return false; \
    text = formatted.View();                                           \
    return true;                                                       \
  }                                                                    \
  bool labarc::ValueFromText(std::string_view text, T& value) {        \
    T parsed(value);                                                   \
    if (!labarc::TextCodec<T>::Parse(text, parsed)) return false;      \
    value = std::move(parsed);                                         \
    return true;                                                       \
  }
