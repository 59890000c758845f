// A whole document in memory, built on the walk: its header, its sections in order, each with
// its plain entries and composites in file order, and the problems found. A document is written
// back through the library's writers, so one that labarc wrote comes back byte for byte.
#pragma once

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include <labarc/document/walk.h>
#include <labarc/framework/export.h>
#include <labarc/framework/file.h>

namespace labarc {

// What a composite's lines held where the writer writes them otherwise (a value the reader
// converted, a number spelt another way, an older layout), so that a composite loaded and left
// unchanged is written back as it stood. `written` identifies the text the writer made of it at
// loading; a composite whose text differs from that at saving is written as the writer makes it.
struct OriginalLines {
  std::size_t writtenHash = 0;
  std::size_t writtenSize = 0;
  bool whole = false;  // `lines` holds every line (the counts differ), else only those differing
  std::vector<std::pair<std::size_t, std::string>> lines;  // (index, the file's line)
};

// An entry line or a composite, in file order.
struct DocumentItem {
  int line = 0;  // in the file it was loaded from; 0 for an item a program made
  // An entry: "label=value", or the value alone when not labelled.
  bool labelled = true;
  std::string label;
  std::string value;
  // Or a composite (then the entry's members are unused). A curve's points are in `points`; its
  // CCurveObj holds its characteristics only.
  CompositeValue composite;
  CurvePoints points;
  OriginalLines original;  // for a composite loaded from a file

  bool IsComposite() const { return !composite.Empty(); }
};

struct DocumentSection {
  std::string name;  // as the file spells it
  int line = 0;
  std::string text;  // the section line as the file holds it; empty: "[name]"
  // False only for the lines before the first section line, which have no section line to write.
  bool hasLine = true;
  std::vector<DocumentItem> items;
};

struct LABARC_API Document {
  // The header's values. Its section is one of `sections` (the one at header.line), which holds
  // only what follows the header's entries.
  DocumentHeader header;
  std::vector<DocumentSection> sections;
  std::vector<Diagnostic> diagnostics;

  int ErrorCount() const;
  // The first section of this name (any letter case), or null.
  DocumentSection* FindSection(std::string_view name);
  const DocumentSection* FindSection(std::string_view name) const;
};

// A curve with the characteristics of `characteristics` and the points of `points`, as the
// curve's writer and drawing take it; false when the three arrays differ in length or hold more
// points than a curve can.
LABARC_API bool JoinCurve(const CCurveObj& characteristics, const CurvePoints& points,
                          CCurveObj& curve);

// Loads the whole of `source` into `document` (replacing what it held). False, with `error`, only
// when the source cannot be opened: a damaged file loads with its diagnostics, its damaged
// composites as plain entries.
LABARC_API bool LoadDocument(const DocumentSource& source, const WalkOptions& options,
                             Document& document, std::string& error);

// Writes `document` to `file` through the library's writers: the header's section with its
// three entries from `header` when header.found, each section line, each entry and composite.
// False, with `error`, when an item cannot be written (a value with a line end, a curve whose
// arrays differ in length) or the file refuses; what was written by then stays in `file`.
LABARC_API bool SaveDocument(const Document& document, CFile& file, std::string& error);
// The same into a file at `path`, which is replaced only by a complete new one.
LABARC_API bool SaveDocument(const Document& document, const std::string& path, std::string& error);

}  // namespace labarc
