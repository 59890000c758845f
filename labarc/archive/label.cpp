#include <labarc/archive/internal/label.h>

namespace labarc {

Label Label::Pointer(CString* label) {
  Label result(label ? Kind::pointer : Kind::none, nullptr, 0);
  result.m_target = label;
  return result;
}

Label Label::Resource(UINT id) {
  Label result(Kind::loaded, nullptr, 0);
  if (!result.m_loaded.LoadString(id)) result.m_kind = Kind::missing;
  return result;
}

std::string_view Label::Text() const {
  switch (m_kind) {
    case Kind::pointer:
      return m_target->View();
    case Kind::fixed:
      return {m_text, m_size};
    case Kind::loaded:
      return m_loaded.View();
    case Kind::none:
    case Kind::missing:
      break;
  }
  return {};
}

const char* Label::Name() const {
  switch (m_kind) {
    case Kind::pointer:
      return m_target->GetString();
    case Kind::fixed:
      return m_text;
    case Kind::loaded:
      return m_loaded.GetString();
    case Kind::none:
      return "";
    case Kind::missing:
      break;
  }
  return nullptr;
}

void Label::Receive(std::string_view spelling) {
  if (m_kind == Kind::pointer && m_target->View() != spelling) *m_target = spelling;
}

}  // namespace labarc
