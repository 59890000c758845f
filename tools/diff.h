// diff: what differs between two documents, by meaning rather than by line: sections and plain
// entries by section and label, composites field by field, curves by name and point by point.
// Also git's external diff driver (its seven-argument form).
#pragma once

#include <string>
#include <vector>

#include "commands.h"

namespace labarc::tool {

struct DiffOptions {
  // OLD NEW; or git's PATH OLD-FILE OLD-HEX OLD-MODE NEW-FILE NEW-HEX NEW-MODE.
  std::vector<std::string> files;
  double absolute = 0;  // coordinates closer than this are equal
  double relative = 0;  // ... or closer than this times the larger magnitude
  int maxPoints = 5;    // differing points listed per curve; the rest are counted
  bool json = false;
  std::string applName;
};

// 0 equal, 1 different, 2 trouble (a file that cannot be read, or a damaged one, whose first
// problem is printed as `check` prints it). In git's form, 0 also when different: git stops at
// any other code.
int RunDiff(const DiffOptions& options, Output output);

}  // namespace labarc::tool
