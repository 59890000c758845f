// Documents for the tool's tests and make_curves_document: a good one written by the library,
// curves holding every kind of double, and files on disk.
#pragma once

#include <string>

#include "support/test_support.h"

namespace labarc::testing {

inline constexpr char kDocumentAppl[] = "Example Plotter";

// A document with a run section, two curves, a text object, a tracker and a font.
std::string GoodDocument();

// A curve of `points` points whose values include every kind of double, the same for the same
// index; and a document of `curves` of them in a "Curves" section.
CCurveObj RandomCurve(int index, int points);
std::string CurvesDocument(int curves, int points);

// A path in the temporary folder of this test process's own, so that runs side by side (a
// sanitizer build beside a plain one) do not share files.
std::string TempPath(const std::string& name);

// A file in the test's temporary folder holding `text`; returns its path.
std::string WriteTempFile(const std::string& name, const std::string& text);

// `text` with the first `from` after `after` replaced by `to` (throwing when there is none).
std::string Spoil(std::string text, const std::string& after, const std::string& from,
                  const std::string& to);
}  // namespace labarc::testing
