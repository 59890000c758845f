// The process's string resources. This platform has no resource files, so the host fills the
// table at start-up; label and section-name identifiers are looked up here.
#pragma once

#include <string>
#include <string_view>

#include <labarc/framework/export.h>
#include <labarc/framework/win_types.h>

inline namespace labarc_framework {

// Adds or replaces the text of resource `id`.
LABARC_API void AfxSetStringResource(UINT id, std::string_view text);
// Removes resource `id`; later loads of it fail.
LABARC_API void AfxRemoveStringResource(UINT id);
// The text of resource `id`, or null when there is none. Valid until the entry changes.
LABARC_API const std::string* AfxFindStringResource(UINT id);

}  // namespace labarc_framework
