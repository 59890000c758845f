#include <labarc/archive/value_controls.h>

namespace {

template <class Control, class T>
CString TextOf(T value) {
  labarc::ValueText text;
  Control::AppendText(value, text);
  return CString(text.View());
}

}  // namespace

CByte::operator CString() const { return TextOf<CByte>(m_value); }
CLong::operator CString() const { return TextOf<CLong>(m_value); }
CULong::operator CString() const { return TextOf<CULong>(m_value); }
CDouble::operator CString() const { return TextOf<CDouble>(m_value); }

BOOL CByte::ValidateAndGet(const CString& text, BYTE& value, CString*) {
  return Validate(text.View(), value);
}

BOOL CLong::ValidateAndGet(const CString& text, long& value, CString*) {
  std::int32_t parsed = 0;
  if (!Validate(text.View(), parsed)) return FALSE;
  value = parsed;
  return TRUE;
}

BOOL CULong::ValidateAndGet(const CString& text, unsigned long& value, CString*) {
  ULONG parsed = 0;
  if (!Validate(text.View(), parsed)) return FALSE;
  value = parsed;
  return TRUE;
}

BOOL CDouble::ValidateAndGet(const CString& text, double& value, CString*, int, int, int) {
  return Validate(text.View(), value);
}
