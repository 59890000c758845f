// A host's sections, each described once. A host lists a section's entries in one function
//
//   template <class Io> bool DescribeRun(const Io& io, Settings& s) {
//     return io.Section("Run") && io("Title", s.title) && io("Gain", s.gain) && io(s.curve);
//   }
//
// and the same list serves storing (StoreSections), all-or-nothing loading (LoadSections) and the
// host's schema (AddToSchema), which `labarc check --schema` types the file's entries with. The
// steps:
//
//   io.Section(name)        the section's header line: written, or searched for forward
//   io(label, value)        an entry of any value type the archive stores (archive/value_type.h)
//   io(composite)           a composite of the registry (a curve, a font, a window, ...)
//   io.Each(count, item)    item(index) -> bool for index 0 to count - 1: a run of entries or
//                           composites to the section's end, whose count an earlier entry holds;
//                           on loading `count` is that entry as read, and the run's container
//                           must already have room (a step before it sizes it: io.OnLoad)
//   io.OnLoad(step)         step() -> bool, a step only loading takes (sizing a container)
//
// Loading fills a copy of the host's value and hands it over only when every step succeeded;
// reports go through the archive's own error path, so a failure names its line and entry.
// The two-branch form (`if (ar.IsStoring()) ... else ...`) stays as good as ever.
#pragma once

#include <utility>

#include <labarc/archive/archive_ex.h>
#include <labarc/archive/describe.h>
#include <labarc/archive/value_type.h>
#include <labarc/document/descriptions.h>
#include <labarc/document/host_schema.h>
#include <labarc/framework/cstring.h>

namespace labarc {

// Storing and loading, over the archive's public entry operations.
template <bool Loading>
class SectionIo {
 public:
  explicit SectionIo(CArchiveEx& archive) : m_archive(archive) {}

  bool Section(const char* name) const {
    if constexpr (Loading)
      return m_archive.GoToSection(CString(name)) == 1;
    else
      return m_archive.WriteSectionHeader(CString(name)) == 1;
  }
  template <class T>
  bool operator()(const char* label, T& value) const {
    if constexpr (Loading)
      return m_archive.Read(value, CString(label)) == 1;
    else
      return m_archive.Write(value, CString(label)) == 1;
  }
  template <class T>
  bool operator()(T& composite) const {
    if constexpr (Loading)
      return m_archive.Read(composite) == 1;
    else
      return m_archive.Write(composite) == 1;
  }
  template <class Item>
  static bool Each(int count, Item item) {
    return EachSlot(count, item);
  }
  template <class Step>
  static bool OnLoad(Step step) {
    if constexpr (Loading)
      return step();
    else
      return true;
  }

 private:
  CArchiveEx& m_archive;
};

// Writes the sections `describe` lists: 1, or the archive's HandleError result.
template <class T, class Describe>
int StoreSections(CArchiveEx& archive, const T& value, Describe describe) {
  return describe(SectionIo<false>(archive), const_cast<T&>(value)) ? 1
                                                                    : archive.HandleError(nullptr);
}

// Reads the sections `describe` lists into a copy of `value`, handed over only when all of it was
// read: 1, or the archive's HandleError result with `value` unchanged.
template <class T, class Describe>
int LoadSections(CArchiveEx& archive, T& value, Describe describe) {
  T working = value;
  if (!describe(SectionIo<true>(archive), working)) return archive.HandleError(nullptr);
  value = std::move(working);
  return 1;
}

// The schema direction: adds the sections `describe` lists to `schema`.
class SectionSchema {
 public:
  explicit SectionSchema(HostSchema& schema) : m_schema(schema) {}

  bool Section(const char* name) const {
    m_schema.sections.push_back({name, {}, {}});
    m_each = false;
    return true;
  }
  template <class T>
  bool operator()(const char* label, T&) const {
    return Add({label, ValueTypeOf<T>(), {}});
  }
  template <class T>
  bool operator()(T&) const {
    return Add({{}, ValueType::string, CompositeTraits<T>::name});
  }
  template <class Item>
  bool Each(int, Item item) const {
    m_each = true;
    item(0);
    return true;
  }
  template <class Step>
  static bool OnLoad(Step) {
    return true;
  }

 private:
  bool Add(HostEntry entry) const {
    if (m_schema.sections.empty()) m_schema.sections.push_back({});
    HostSection& section = m_schema.sections.back();
    (m_each ? section.each : section.entries).push_back(std::move(entry));
    return true;
  }

  HostSchema& m_schema;
  mutable bool m_each = false;
};

// Adds the sections `describe` lists for a value of type T (default-constructed) to `schema`.
template <class T, class Describe>
void AddToSchema(HostSchema& schema, Describe describe) {
  T value{};
  describe(SectionSchema(schema), value);
}

}  // namespace labarc
