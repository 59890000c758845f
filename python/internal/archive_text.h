// Values checked by the library's own writers and readers, through an archive over memory, so
// that Python is refused exactly what a C++ host is refused.
#pragma once

#include <string>
#include <string_view>

#include <labarc/curve/curve_obj.h>
#include <labarc/document/walk.h>

namespace labarc::python {

// Raises ArchiveError unless a string entry `label`=`text` can be written (an empty label: an
// unlabelled line).
void CheckEntry(std::string_view label, bool labelled, const std::string& text,
                const std::string& file);
// Raises ArchiveError unless a section line of `name` can be written.
void CheckSectionName(const std::string& name, const std::string& file);

// `curve`'s characteristics (not its points) with every entry labelled `label` (in any letter
// case) set to `text`, as the curve reader takes them from a document of `header`'s versions.
// KeyError when a curve has no such entry; ArchiveError when the reader refuses the value.
CCurveObj WithCharacteristic(const CCurveObj& curve, const DocumentHeader& header,
                             std::string_view label, const std::string& text,
                             const std::string& file);

}  // namespace labarc::python
