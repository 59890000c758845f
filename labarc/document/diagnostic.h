// A problem found while walking or loading a document, as data: what kind, where (line, section,
// entry), what stood there and what is allowed. Errors are what the library refuses; warnings
// are what it reads without complaint but perhaps not as the writer meant. The words for them
// belong to whoever shows them.
#pragma once

#include <string>

#include <labarc/archive/archive_ex.h>

namespace labarc {

enum class DiagnosticKind {
  // Errors. `failure` carries the library's reason (CArchiveEx::FailureKind).
  failure,   // an entry, composite, section or header the library refused
  noHeader,  // the file holds no "Archive Header" section
  // Warnings.
  byteOrderMark,              // the file starts with a UTF-8 byte-order mark, read as text
  sectionLineTrailingBlanks,  // a section line with blanks after "]": a named search misses it
  lineTooLongSkipped,         // a line over the limit where a section search skips it
  applicationNameDiffers,     // the header's name contains the expected one but is not it
  valueReadOtherwise,         // a composite's value that the reader takes as another
  pointLineReadOtherwise,     // a point line the reader takes otherwise (values beyond the count)
};

struct Diagnostic {
  DiagnosticKind kind = DiagnosticKind::failure;
  bool warning = false;
  int line = 0;          // 0: not at a line (a file without a header)
  std::string section;   // the section the line stands in; empty before the first
  std::string entry;     // the entry's label; empty when the problem concerns no entry
  std::string found;     // what stood in the file (a value, a line, a version), cut at 256 bytes
  std::string expected;  // what was expected instead or what the reader made of it
  std::string allowed;   // what a check allows ("0 to 2"), when a check refused
  std::string detail;    // a sentence on what was wrong, when the kind alone does not say it
  CArchiveEx::FailureKind failure = CArchiveEx::FailureKind::none;  // for kind `failure`
  std::string composite;  // the composite being read ("curve"), when any
  std::string curve;      // the curve's name, for a problem in a curve
  int pointIndex = -1;    // the point's index, for a problem on a point line
};

}  // namespace labarc
