// Runs the tool's check on arbitrary bytes: it must end with exit code 0 or 1 (never 2, the file
// is there), never crash, hang or grow without bound.
#include <cstddef>
#include <cstdint>
#include <ostream>
#include <streambuf>
#include <string>

#include "commands.h"
#include "fuzz_input.h"

namespace {

// Swallows what the check prints.
class NullBuffer : public std::streambuf {
 protected:
  int overflow(int ch) override { return ch; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  NullBuffer nothing;
  std::ostream out(&nothing);
  const labarc::tool::Source source = labarc::tool::Source::Memory(
      std::string(reinterpret_cast<const char*>(data), size), "fuzz.txt");
  labarc::tool::CheckOptions options;
  options.maxErrors = 50;
  const int code = labarc::tool::RunCheck(source, options, {out, out, false});
  if (code != 0 && code != 1) __builtin_trap();
  return 0;
}
