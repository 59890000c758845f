// Documents for the tool's tests: a good one written by the library, files on disk, and the
// commands run with their output captured.
#pragma once

#include <string>

#include "commands.h"
#include "support/test_support.h"

namespace labarc::testing {

inline constexpr char kDocumentAppl[] = "Example Plotter";

// A document with a run section, two curves, a text object, a tracker and a font.
std::string GoodDocument();
// Reads GoodDocument's layout back as its host would, reporting errors: the library's own report
// of the first failure ("" when it read everything).
std::string HostReadReport(const std::string& text);

// A curve of `points` points whose values include every kind of double, the same for the same
// index; and a document of `curves` of them in a "Curves" section.
CCurveObj RandomCurve(int index, int points);
std::string CurvesDocument(int curves, int points);

// A file in the test's temporary folder holding `text`; returns its path.
std::string WriteTempFile(const std::string& name, const std::string& text);

struct CommandResult {
  int code;
  std::string out;
  std::string err;
};
CommandResult RunTool(const std::string& command, const std::string& file,
                      const std::string& extra = "");

}  // namespace labarc::testing
