// The process's string resources. This platform has no resource files, so the host fills the
// table at start-up; label and section-name identifiers are looked up here.
#pragma once

#include <string>
#include <string_view>

#include "framework/win_types.h"

// Adds or replaces the text of resource `id`.
void AfxSetStringResource(UINT id, std::string_view text);
// Removes resource `id`; later loads of it fail.
void AfxRemoveStringResource(UINT id);
// The text of resource `id`, or null when there is none. Valid until the entry changes.
const std::string* AfxFindStringResource(UINT id);
