// Date entries: the date's month/day/year text. WriteDate and ReadDate store a Julian value
// through a date of their own.
#include <labarc/archive/internal/entry_io.h>
#include <labarc/archive/internal/label_forms.h>
#include <labarc/values/date.h>

namespace labarc {

template <>
struct TextCodec<CDate> {
  // The null date has no text that could be read back.
  static bool Format(const CDate& date, ValueText& text) {
    if (date.IsNull()) return false;
    CString out;
    text.Append(date.FmtMMsDDsYYYY(out, '/').View());
    return true;
  }
  static bool Parse(std::string_view text, CDate& date) { return date.NewDate(CString(text)) != 0; }
};

namespace {

// A Julian value is stored as the text of the day it falls in.
template <class LabelForm>
int WriteJulian(CArchiveEx& archive, double julian, const LabelForm& label) {
  CDate date(julian);
  return archive.Write(date, label);
}

// Reads a date entry into a date of its own, so that the result does not depend on what the
// caller's value held, and hands back its Julian value.
template <class LabelForm>
int ReadJulian(CArchiveEx& archive, double& julian, const LabelForm& label) {
  return ReadRun(archive, julian, julian, [&](const EntryReader& io, double& working) {
    CDate date(0);
    if (!io.Entry(date, label)) return false;
    working = date.JulianValue();
    return true;
  });
}

}  // namespace

}  // namespace labarc

LABARC_DEFINE_LABEL_FORMS(Write, const CDate&, WriteValue)
LABARC_DEFINE_LABEL_FORMS(Read, CDate&, ReadValue)

int CArchiveEx::WriteDate(double julian, CString* label) {
  return labarc::WriteJulian(*this, julian, label);
}
int CArchiveEx::WriteDate(double julian, const CString& label) {
  return labarc::WriteJulian(*this, julian, label);
}
int CArchiveEx::WriteDate(double julian, UINT nID) {
  return labarc::WriteJulian(*this, julian, nID);
}
int CArchiveEx::ReadDate(double& julian, CString* label) {
  return labarc::ReadJulian(*this, julian, label);
}
int CArchiveEx::ReadDate(double& julian, const CString& label) {
  return labarc::ReadJulian(*this, julian, label);
}
int CArchiveEx::ReadDate(double& julian, UINT nID) {
  return labarc::ReadJulian(*this, julian, nID);
}
LABARC_DEFINE_VALUE_TEXT(CDate)
