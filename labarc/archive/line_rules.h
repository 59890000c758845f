// How the archive takes a line it reads: as the header line of the next section, as the header
// line of a named section, or as an entry's label and value. The readers use these rules, and
// so can any program that looks at an archive's lines without reading them through an archive.
#pragma once

#include <string_view>
#include <vector>

#include <labarc/framework/export.h>

namespace labarc {

// The next-section scan (ReadSectionHeader): with the white space at its end dropped, the line
// is "[", a name of at least one character and "]". False for any other line.
LABARC_API bool SectionLineName(std::string_view line, std::string_view& name);

// The named search (GoToSection): the whole line is "[", `name` and "]", in any letter case,
// nothing trimmed.
LABARC_API bool IsSectionLineOf(std::string_view line, std::string_view name);

// An entry read with any label: the label is the text before the first "=" and the value the
// text after it; a line without "=" has no label and is all value. Returns whether it has one.
LABARC_API bool SplitEntryLine(std::string_view line, std::string_view& label,
                               std::string_view& value);

// The lines of a text the archive wrote, each ended by CR LF, without their ends; a last line
// without one counts too.
inline std::vector<std::string_view> SplitWrittenLines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const std::size_t end = text.find("\r\n");
    lines.push_back(text.substr(0, end));
    text.remove_prefix(end == text.npos ? text.size() : end + 2);
  }
  return lines;
}

}  // namespace labarc
