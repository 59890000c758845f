// A streaming walk over any archive, without the host's code: the header, the sections in file
// order, the plain entries (label, value text, line), the composites the registry recognises
// (typed fields; a curve's points as three contiguous arrays) and every problem as a diagnostic.
// The source is read once; memory holds the current line and the composite being read, never the
// whole file. The walk touches no process-wide state: it reads through quiet archives, shows no
// box and swaps no handler, so several walks may run on several threads at once.
//
// A composite is recognised by its labels: where the next lines follow the labels of a registry
// kind (all of them but one at most, or at least its first two), they are read through the
// library's reader of that kind. When that reader refuses them, the walk reports the library's
// reason and hands the lines over as plain entries, so nothing of the file goes missing.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include <labarc/document/composites.h>
#include <labarc/document/diagnostic.h>
#include <labarc/document/source.h>
#include <labarc/framework/export.h>

namespace labarc {

struct DocumentHeader {
  bool found = false;  // the file holds an "Archive Header" section
  bool read = false;   // its entries were read and accepted
  int line = 0;        // its section line
  double archiveVersion = CArchiveEx::ARCHIVE_VERSION;
  std::string applName;
  double applVersion = 0;
};

// A line that is not part of a recognised composite. The views live until the visitor returns.
struct DocumentEntry {
  int line = 0;
  bool labelled = false;   // the line holds "="
  std::string_view label;  // the text before the first "=", as the file spells it
  std::string_view value;  // the text after it; the whole line when not labelled
};

// A curve's points, index by index: x, y and flag in three contiguous arrays of one length.
struct CurvePoints {
  std::vector<double> x;
  std::vector<double> y;
  std::vector<std::uint8_t> flags;
  std::size_t size() const { return x.size(); }
};

// A composite as the library read it.
struct DocumentComposite {
  int line = 0;                                // its first line
  int lineCount = 0;                           // the lines it takes, point lines included
  CompositeValue* value = nullptr;             // its kind and value (a curve here holds no points)
  const std::vector<Field>* fields = nullptr;  // its entries, with their lines
  CurvePoints* points = nullptr;               // a curve's points; null for other kinds
  // Its lines as the file holds them, and the text the library's writer makes of the value read
  // (lines ended by CR LF): where the two differ, the reader took the file otherwise. Both null
  // for a curve whose lines are the writer's text of it, which is then not made.
  const std::vector<std::string>* lines = nullptr;
  const std::string* written = nullptr;
};

class WalkVisitor {
 public:
  virtual ~WalkVisitor() = default;
  // After the header section's line and its entries (also when they were refused).
  virtual void OnHeader(const DocumentHeader&) {}
  virtual void OnSection(int /*line*/, std::string_view /*name*/) {}
  // The same with the section line as the file holds it (blanks after "]" kept); it calls
  // OnSection unless overridden.
  virtual void OnSectionLine(int line, std::string_view name, std::string_view /*text*/) {
    OnSection(line, name);
  }
  virtual void OnEntry(const DocumentEntry&) {}
  // The composite may be moved from: the walk does not use it afterwards.
  virtual void OnComposite(DocumentComposite&) {}
  // Returns false to stop the walk.
  virtual bool OnDiagnostic(const Diagnostic&) { return true; }
  // Bytes read of the source's length, now and then.
  virtual void OnProgress(std::uint64_t /*done*/, std::uint64_t /*total*/) {}
};

struct WalkOptions {
  std::string applName;  // the host's name, which the header's must contain; empty: any
  std::string section;   // when not empty: only this section (any letter case) is handed over
  // Whether curves' point lines are compared with the writer's text of their values. The
  // comparison notes numbers a file spells otherwise (warnings) and lets a loaded document save
  // back byte for byte. Without it a large curve loads in about half the time, and a document
  // whose numbers were spelt otherwise saves them in the writer's spelling (the same values, bit
  // for bit).
  bool comparePointText = true;
};

// Walks `source` from its start to its end. False, with the system's words in `error`, when it
// cannot be opened; any problem inside it is a diagnostic.
LABARC_API bool Walk(const DocumentSource& source, const WalkOptions& options, WalkVisitor& visitor,
                     std::string& error);

}  // namespace labarc
