// The process's string resources. This platform has no resource files, so the host fills the
// table at start-up; label and section-name identifiers are looked up here. Every function may be
// called from several threads at once.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include <labarc/framework/export.h>
#include <labarc/framework/win_types.h>

inline namespace labarc_framework {

// Adds or replaces the text of resource `id`.
LABARC_API void AfxSetStringResource(UINT id, std::string_view text);
// Removes resource `id`; later loads of it fail.
LABARC_API void AfxRemoveStringResource(UINT id);
// A copy of the text of resource `id`, or nothing when there is none. A copy, so that another
// thread changing the entry cannot pull the text from under the caller.
LABARC_API std::optional<std::string> AfxFindStringResource(UINT id);

}  // namespace labarc_framework
