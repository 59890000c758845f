#include <labarc/archive/internal/entry_io.h>
#include <labarc/archive/internal/label_forms.h>
#include <labarc/archive/line_rules.h>
#include <labarc/framework/ascii.h>

namespace {

// A line end inside a label or value would split the entry and corrupt everything after it.
bool HoldsLineEnd(std::string_view text) {
  for (const char ch : text)
    if (ch == '\r' || ch == '\n') return true;
  return false;
}

}  // namespace

int CArchiveEx::WriteEntry(std::string_view value, labarc::Label& label) {
  StartLine();
  if (label.Missing()) return Fail(FailureKind::missingResource, {}, {}, nullptr);
  const std::string_view name = label.Text();
  const std::size_t length = (label.IsNone() ? 0 : name.size() + 1) + value.size();
  if (length > MAX_LINE_LENGTH) return Fail(FailureKind::lineTooLong, name, value, label.Name());
  if (HoldsLineEnd(name) || HoldsLineEnd(value))
    return Fail(FailureKind::valueNotStorable, name, value, label.Name());
  if (!label.IsNone()) {
    CArchive::Write(name);
    CArchive::Write("=", 1);
  }
  CArchive::Write(value);
  CArchive::Write("\r\n", 2);
  CountLine();
  return 1;
}

int CArchiveEx::ReadEntry(std::string_view& value, labarc::Label& label) {
  if (label.Missing()) return Fail(FailureKind::missingResource, {}, {}, nullptr);
  std::string_view line;
  switch (NextLine(line)) {
    case LineStatus::line:
      break;
    case LineStatus::end:
      return Fail(FailureKind::missingEntry, label.Text(), {}, label.Name());
    case LineStatus::tooLong:
      return Fail(FailureKind::lineTooLong, label.Text(), {}, label.Name());
  }
  if (label.IsNone()) {
    value = line;
    return 1;
  }
  const std::string_view name = label.Text();
  std::size_t labelLength = name.size();
  if (labelLength > 0) {
    if (line.size() <= labelLength || line[labelLength] != '=' ||
        !labarc::EqualsNoCase(line.substr(0, labelLength), name))
      return Fail(FailureKind::otherLabel, name, line, label.Name());
    value = line.substr(labelLength + 1);
  } else {
    // An empty label accepts any label: the text before the first "=".
    std::string_view fileLabel;
    labarc::SplitEntryLine(line, fileLabel, value);
    labelLength = fileLabel.size();
  }
  label.Receive(line.substr(0, labelLength));
  return 1;
}

int CArchiveEx::WriteValue(const CString& value, labarc::Label& label) {
  return WriteEntry(value.View(), label);
}

int CArchiveEx::ReadValue(CString& value, labarc::Label& label) {
  std::string_view text;
  if (const int result = ReadEntry(text, label); result != 1) return result;
  value = text;
  return 1;
}

bool labarc::ValueToText(const CString& value, std::string& text) {
  if (HoldsLineEnd(value.View())) return false;
  text = value.View();
  return true;
}

bool labarc::ValueFromText(std::string_view text, CString& value) {
  value = text;
  return true;
}

bool labarc::SplitEntryLine(std::string_view line, std::string_view& label,
                            std::string_view& value) {
  const std::size_t equals = line.find('=');
  label = equals == line.npos ? std::string_view() : line.substr(0, equals);
  value = equals == line.npos ? line : line.substr(equals + 1);
  return equals != line.npos;
}

LABARC_DEFINE_LABEL_FORMS(Write, const CString&, WriteValue)
LABARC_DEFINE_LABEL_FORMS(Read, CString&, ReadValue)
