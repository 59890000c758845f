// load: writes an archive from the JSON that `dump --json` prints, edited or not. Every value is
// checked by the library's own readers before anything is written; a refusal names the JSON
// location (a JSON pointer) and the reason, and leaves the target as it was.
#pragma once

#include <iosfwd>
#include <string>

#include <labarc/document/document.h>
#include "commands.h"

namespace labarc::tool {

// Reads the JSON of a document from `in`: the points streamed into arrays of doubles, the rest
// (small) held as a tree. False with `error` ("POINTER: reason", or the parse error) on any
// refusal.
bool DocumentFromJson(std::istream& in, Document& document, std::string& error);

struct LoadOptions {
  std::string input;   // the JSON file; "-" for standard input
  std::string output;  // the archive to write, replaced only by a complete new one
};
// 0 written, 1 the JSON refused, 2 a file that cannot be read or written.
int RunLoad(const LoadOptions& options, Output output);

}  // namespace labarc::tool
