// The tool's commands, as the `labarc` executable, the tests and the fuzz target run them. Each
// returns the process's exit code: 0 success, 1 a problem with the archive, 2 a usage error or a
// file that cannot be opened or written.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include <labarc/document/walk.h>

namespace labarc::tool {

struct Output {
  std::ostream& out;
  std::ostream& err;
  bool progress = false;  // draw a progress bar on `err`
};

// The library's version and the newest archive format it reads, as --version prints them.
std::string VersionText();

using Source = DocumentSource;

int RunInfo(const Source& source, const std::string& applName, Output output);

struct CheckOptions {
  std::string applName;
  int maxErrors = 0;    // 0: no limit
  bool strict = false;  // warnings fail the check
  std::string schema;   // a host schema file, which types the host's plain entries
};
int RunCheck(const Source& source, const CheckOptions& options, Output output);

struct DumpOptions {
  bool json = false;
  std::string section;
  std::string applName;
};
int RunDump(const Source& source, const DumpOptions& options, Output output);

struct PlotOptions {
  std::string output;  // the SVG file to write
  std::string section;
  std::vector<std::string> curves;  // names to draw; all when empty
  std::string applName;
  int width = 800;
  int height = 500;
};
int RunPlot(const Source& source, const PlotOptions& options, Output output);

// Every known composite's steps, or one composite's (exit 2 for an unknown name).
int RunSchema(const std::string& name, Output output);

}  // namespace labarc::tool
