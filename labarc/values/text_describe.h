// A text object's run of 20 entries, the font's 14 among them.
#pragma once

#include <labarc/archive/describe.h>
#include <labarc/values/text_object.h>

namespace labarc {

template <class Io>
bool Describe(const Io& io, _TEXT& text) {
  return io("Text Show", text.bShow) && io("Text Color", text.crColor) &&
         io("Text Location Top", text.nTop) && io("Text Location Left", text.nLeft) &&
         io("Text Obj Bnd", text.rcBound) && io(text.lfFont) && io("Text Wording", text.strWording);
}

template <>
struct CompositeTraits<_TEXT> : CopiedWorking<_TEXT> {
  static constexpr const char* name = "text";
};

}  // namespace labarc
