// The one registry of composites: every composite type of the library, each with its name and
// its one Describe function, and from that list the write, read (all-or-nothing), schema and
// field-walk directions. CArchiveEx's composite Read and Write members, the documents' recognition
// of composites in a file and the tool's schema listing are all made from LABARC_COMPOSITES.
#pragma once

#include <memory>
#include <string_view>
#include <type_traits>
#include <vector>

#include <labarc/archive/archive_ex.h>
#include <labarc/archive/schema.h>
#include <labarc/document/field.h>
#include <labarc/framework/export.h>

// X(C++ type): every composite, the largest first, so that a file's lines that fit several
// (a legend starts as a tracker does) are taken for the one that explains most of them.
#define LABARC_COMPOSITES(X) \
  X(_WINDOW)                 \
  X(_AXIS)                   \
  X(_GEOMETRY)               \
  X(CLegend)                 \
  X(CResultsWnd)             \
  X(_TICKLABEL)              \
  X(TICKMARK)                \
  X(CCurveObj)               \
  X(_TEXT)                   \
  X(tagLOGFONTA)             \
  X(CRectTracker)

namespace labarc {

struct FieldLines;

// One composite type at run time. Values are handed over as void pointers to the type itself;
// CompositeValue wraps them safely.
struct CompositeKind {
  const char* name;  // "window", "curve", ...
  // The steps in file order that a reader of an archive of `archiveVersion` takes.
  Schema (*schema)(double archiveVersion);
  std::shared_ptr<void> (*create)();
  std::shared_ptr<void> (*copy)(const void* value);
  // Through CArchiveEx's Read and Write: 1, or the archive's HandleError result. Read is
  // all-or-nothing.
  int (*read)(CArchiveEx& archive, void* value);
  int (*write)(CArchiveEx& archive, const void* value);
  // The value's entries as fields, as a reader of an archive of `archiveVersion` takes them
  // (a geometry of an archive of 1.02 or older has three axis blocks). `lines`, for a walk,
  // carries the lines the value was read from; null otherwise.
  std::vector<Field> (*fields)(const void* value, double archiveVersion, FieldLines* lines);
};

// Every composite kind, in the order of LABARC_COMPOSITES.
LABARC_API const std::vector<const CompositeKind*>& CompositeKinds();
// The kind of a registry name, or null.
LABARC_API const CompositeKind* FindCompositeKind(std::string_view name);
// The kind of a C++ composite type.
template <class T>
const CompositeKind& KindOf();

// Calls f(std::type_identity<T>{}) for every composite type T of the registry.
template <class F>
void ForEachCompositeType(F&& f) {
#define LABARC_VISIT_COMPOSITE(T) f(std::type_identity<T>{});
  LABARC_COMPOSITES(LABARC_VISIT_COMPOSITE)
#undef LABARC_VISIT_COMPOSITE
}

// One composite of any kind, held by value (a copy copies the composite).
class LABARC_API CompositeValue {
 public:
  CompositeValue() = default;                          // holds nothing
  explicit CompositeValue(const CompositeKind& kind);  // a default value of the kind
  template <class T>
  static CompositeValue Of(T value) {
    CompositeValue result;
    result.m_kind = &KindOf<T>();
    result.m_value = std::make_shared<T>(std::move(value));
    return result;
  }
  CompositeValue(const CompositeValue& other);
  CompositeValue& operator=(const CompositeValue& other);
  CompositeValue(CompositeValue&&) noexcept = default;
  CompositeValue& operator=(CompositeValue&&) noexcept = default;

  const CompositeKind* Kind() const { return m_kind; }
  bool Empty() const { return !m_value; }
  // The value itself, for the kind's functions.
  const void* Data() const { return m_value.get(); }
  // The value, when it is of type T; else null.
  template <class T>
  T* As() {
    return m_kind == &KindOf<T>() ? static_cast<T*>(m_value.get()) : nullptr;
  }
  template <class T>
  const T* As() const {
    return m_kind == &KindOf<T>() ? static_cast<const T*>(m_value.get()) : nullptr;
  }

  int Read(CArchiveEx& archive) { return m_kind->read(archive, m_value.get()); }
  int Write(CArchiveEx& archive) const { return m_kind->write(archive, m_value.get()); }
  std::vector<Field> Fields(double archiveVersion = CArchiveEx::ARCHIVE_VERSION) const {
    return m_kind->fields(m_value.get(), archiveVersion, nullptr);
  }

 private:
  const CompositeKind* m_kind = nullptr;
  std::shared_ptr<void> m_value;
};

// A composite of `kind` made from fields, through the kind's own reader: each field's `text` is
// taken as the file would hold it (labels and nesting as Fields gives them), so a program can
// build a composite from fields it read elsewhere (JSON, a table). A curve's point count is taken
// as 0: its points go beside it, in a CurvePoints. False, with the reader's reason in `failure`,
// when the reader refuses the texts; `value` is then unchanged.
LABARC_API bool CompositeFromFields(const CompositeKind& kind, const std::vector<Field>& fields,
                                    CompositeValue& value, CArchiveEx::Failure& failure);

// The kinds are defined in the registry's source file, one per type of the list.
#define LABARC_DECLARE_COMPOSITE_KIND(T) \
  template <>                            \
  LABARC_API const CompositeKind& KindOf<T>();
LABARC_COMPOSITES(LABARC_DECLARE_COMPOSITE_KIND)
#undef LABARC_DECLARE_COMPOSITE_KIND

}  // namespace labarc
