// The registry: one row per composite of LABARC_COMPOSITES, and from the same list CArchiveEx's
// composite Read and Write members. Each reader fills the working copy that its composite's
// traits make and hands it over only when the whole run was read.
#include <labarc/document/composites.h>

#include <limits>

#include <labarc/archive/internal/entry_io.h>
#include <labarc/document/descriptions.h>
#include <labarc/document/internal/field_walk.h>
#include <labarc/framework/mem_file.h>

#define LABARC_DEFINE_COMPOSITE_MEMBERS(T)                                            \
  int CArchiveEx::Write(const T& value) { return labarc::WriteRun(*this, value); }    \
  int CArchiveEx::Read(T& value) {                                                    \
    return labarc::ReadRun(*this, value, labarc::CompositeTraits<T>::Working(value)); \
  }
LABARC_COMPOSITES(LABARC_DEFINE_COMPOSITE_MEMBERS)
#undef LABARC_DEFINE_COMPOSITE_MEMBERS

namespace labarc {

namespace {

template <class T>
Schema SchemaFor(double archiveVersion) {
  return SchemaOf<T>(archiveVersion);
}
template <class T>
std::shared_ptr<void> Create() {
  return std::make_shared<T>();
}
template <class T>
std::shared_ptr<void> Copy(const void* value) {
  return std::make_shared<T>(*static_cast<const T*>(value));
}
template <class T>
int ReadValue(CArchiveEx& archive, void* value) {
  return archive.Read(*static_cast<T*>(value));
}
template <class T>
int WriteValue(CArchiveEx& archive, const void* value) {
  return archive.Write(*static_cast<const T*>(value));
}
// The field walk only reads the value (see archive/describe.h).
template <class T>
std::vector<Field> FieldsOf(const void* value, double archiveVersion, FieldLines* lines) {
  std::vector<Field> fields;
  Describe(FieldWalk(fields, archiveVersion, lines), *static_cast<T*>(const_cast<void*>(value)));
  return fields;
}

template <class T>
const CompositeKind kKind{CompositeTraits<T>::name,
                          SchemaFor<T>,
                          Create<T>,
                          Copy<T>,
                          ReadValue<T>,
                          WriteValue<T>,
                          FieldsOf<T>};

}  // namespace

#define LABARC_DEFINE_COMPOSITE_KIND(T) \
  template <>                           \
  const CompositeKind& KindOf<T>() {    \
    return kKind<T>;                    \
  }
LABARC_COMPOSITES(LABARC_DEFINE_COMPOSITE_KIND)
#undef LABARC_DEFINE_COMPOSITE_KIND

const std::vector<const CompositeKind*>& CompositeKinds() {
  static const std::vector<const CompositeKind*> kinds = [] {
    std::vector<const CompositeKind*> all;
    ForEachCompositeType(
        [&](auto type) { all.push_back(&KindOf<typename decltype(type)::type>()); });
    return all;
  }();
  return kinds;
}

const CompositeKind* FindCompositeKind(std::string_view name) {
  for (const CompositeKind* kind : CompositeKinds())
    if (kind->name == name) return kind;
  return nullptr;
}

namespace {

// The lines the fields stand for, as the file holds them.
void AppendLines(const std::vector<Field>& fields, bool curve, std::string& text) {
  for (const Field& field : fields) {
    if (field.IsComposite()) {
      AppendLines(field.fields, false, text);
      continue;
    }
    if (field.type == ValueType::pointLines) continue;
    if (field.type != ValueType::line) text += field.label + "=";
    text += curve && field.label == kCurvePointCountLabel ? std::string("0") : field.text;
    text += "\r\n";
  }
}

}  // namespace

bool CompositeFromFields(const CompositeKind& kind, const std::vector<Field>& fields,
                         CompositeValue& value, CArchiveEx::Failure& failure) {
  std::string text;
  AppendLines(fields, &kind == &KindOf<CCurveObj>(), text);
  CMemFile file(text);
  CArchive host(&file, CArchive::load);
  // The texts are values as read: an application version that is no number converts none of
  // them as an old application's file would be.
  CArchiveEx archive(&host, CString(), std::numeric_limits<double>::quiet_NaN(), 0);
  CompositeValue made(kind);
  if (made.Read(archive) != 1) {
    failure = archive.GetLastFailure();
    return false;
  }
  value = std::move(made);
  return true;
}

CompositeValue::CompositeValue(const CompositeKind& kind) : m_kind(&kind), m_value(kind.create()) {}

CompositeValue::CompositeValue(const CompositeValue& other)
    : m_kind(other.m_kind),
      m_value(other.m_value ? other.m_kind->copy(other.m_value.get()) : nullptr) {}

CompositeValue& CompositeValue::operator=(const CompositeValue& other) {
  if (this != &other) *this = CompositeValue(other);
  return *this;
}

}  // namespace labarc
