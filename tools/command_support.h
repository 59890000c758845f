// What the commands share: a visitor that counts and prints problems, the words for them, and
// version texts.
#pragma once

#include <ostream>
#include <sstream>
#include <string>

#include "commands.h"
#include "progress.h"

namespace labarc::tool {

// A version number as the shortest text that reads back to it ("1.03").
std::string FormatVersion(double version);

// The problem in words: its reason, with the curve and point it concerns.
std::string DiagnosticReason(const Diagnostic& diagnostic);
// FILE:LINE: [warning: ][section "S"] [entry "E": ]reason (the parts without content left out).
std::string FormatDiagnostic(std::string_view file, const Diagnostic& diagnostic);

// A composite in a few words: its kind, the first text among its entries (a curve's name, a
// text's wording), and a curve's point count.
std::string CompositeSummary(const DocumentComposite& composite);

class WalkReporting : public WalkVisitor {
 public:
  // Problems go to `diagnostics`; the walk stops after `maxErrors` errors (0: never).
  WalkReporting(std::string file, Output output, std::ostream& diagnostics, int maxErrors)
      : m_file(std::move(file)),
        m_output(output),
        m_diagnostics(diagnostics),
        m_maxErrors(maxErrors),
        m_progress(output.err, output.progress) {}

  bool OnDiagnostic(const Diagnostic& diagnostic) override;
  void OnProgress(std::uint64_t done, std::uint64_t total) override {
    m_progress.Update(done, total);
  }
  // The exit code: 2 when the file could not be opened, 1 after errors, else 0.
  int Finish(bool opened, const std::string& error);

  int errors = 0;
  int warnings = 0;

 protected:
  std::string m_file;
  Output m_output;
  std::ostream& m_diagnostics;
  int m_maxErrors;
  ProgressBar m_progress;
};

}  // namespace labarc::tool
