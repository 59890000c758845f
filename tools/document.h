// Walks an archive file from its header to its end through the library: sections, plain entries
// and recognised composites are handed to a visitor as they are read, with every problem the
// library finds and every warning about what it reads without complaint. Only the current line
// and the composite being read are held in memory.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "catalog.h"

#include <labarc/framework/file.h>

namespace labarc::tool {

// Where the archive's bytes come from: a file on disk or bytes in memory.
class Source {
 public:
  static Source File(std::string path);
  static Source Memory(std::string bytes, std::string name);
  const std::string& Name() const { return m_name; }
  // A new reader at the start; null with `error` filled when the file cannot be opened.
  std::unique_ptr<CFile> Open(std::string& error) const;

 private:
  std::string m_name;
  std::shared_ptr<const std::string> m_bytes;  // null for a disk file
};

struct Diagnostic {
  bool warning = false;
  int line = 0;
  std::string section;
  std::string entry;  // empty when the problem concerns no entry
  std::string reason;
};
// FILE:LINE: [section "S"] entry "E": reason (the parts without content left out).
std::string FormatDiagnostic(std::string_view file, const Diagnostic& diagnostic);

struct HeaderInfo {
  bool read = false;  // ReadHeader succeeded
  double archiveVersion = 0;
  std::string applName;
  double applVersion = 0;
};

class DocumentVisitor {
 public:
  virtual ~DocumentVisitor() = default;
  virtual void OnHeader(const HeaderInfo&) {}
  virtual void OnSection(int /*line*/, std::string_view /*name*/) {}
  // A line that is no part of a recognised composite; `labelled` false for a line without "=".
  virtual void OnEntry(int /*line*/, bool /*labelled*/, std::string_view /*label*/,
                       std::string_view /*value*/) {}
  virtual void OnComposite(int /*line*/, Composite& /*composite*/) {}
  // Returns false to stop the walk.
  virtual bool OnDiagnostic(const Diagnostic&) { return true; }
  virtual void OnProgress(std::uint64_t /*done*/, std::uint64_t /*total*/) {}
};

struct WalkOptions {
  std::string applName;  // the host's application name the header must contain
  std::string section;   // when not empty: only this section is read in full
};

// Walks the archive; false (with `error`) when it cannot be opened.
bool Walk(const Source& source, const WalkOptions& options, DocumentVisitor& visitor,
          std::string& error);

}  // namespace labarc::tool
