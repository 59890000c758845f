// Text objects: a run of 20 entries, the font's 14 among them.
#include "archive/entry_io.h"
#include "values/text_object.h"

namespace labarc {

namespace {

// Text is _TEXT, const for writing.
template <class Io, class Text>
bool DescribeText(const Io& io, Text& text) {
  return io("Text Show", text.bShow) && io("Text Color", text.crColor) &&
         io("Text Location Top", text.nTop) && io("Text Location Left", text.nLeft) &&
         io("Text Obj Bnd", text.rcBound) && io(text.lfFont) && io("Text Wording", text.strWording);
}

}  // namespace

}  // namespace labarc

int CArchiveEx::Write(const _TEXT& text) {
  return WriteRun(text, labarc::DescribeText<labarc::EntryWriter, const _TEXT>);
}

int CArchiveEx::Read(_TEXT& text) {
  return ReadRun(text, text, labarc::DescribeText<labarc::EntryReader, _TEXT>);
}
