// export: the points of a document's curves as CSV, one row per point under the header
// "curve,index,x,y,flag", written while the file is read: one curve's points in memory at a time.
#pragma once

#include <string>
#include <vector>

#include <labarc/document/source.h>
#include "commands.h"

namespace labarc::tool {

struct ExportOptions {
  std::string output;               // the CSV file to write; standard output when empty
  std::string section;              // only the curves of this section
  std::vector<std::string> curves;  // only curves of these names (any letter case); all when empty
  std::string applName;
};
// 0 written; 1 the archive has errors (the file is then not written); 2 a file that cannot be
// read or written, or no curve of a name asked for.
int RunExport(const DocumentSource& source, const ExportOptions& options, Output output);

// A double as CSV text: the shortest text that reads back to it, always with a decimal point or
// an exponent so that every reader takes the column as floating point; "inf", "-inf", "nan".
void AppendCsvNumber(double value, std::string& out);

}  // namespace labarc::tool
