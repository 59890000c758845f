// Whether a text is one the archive reads as a value of a given type, for programs that check
// entries they know only by their type (a host's schema).
#pragma once

#include <string_view>

#include <labarc/archive/value_type.h>
#include <labarc/framework/export.h>

namespace labarc {

// True when an entry of `type` holding `text` is read without refusal. Unlabelled lines and point
// lines hold any text.
LABARC_API bool IsValueText(ValueType type, std::string_view text);

}  // namespace labarc
