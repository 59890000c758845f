// Loads arbitrary bytes as a document, without the host's code, and writes it back: the walk must
// end (never crash, hang or grow without bound), and what it wrote must load and write again to
// the very same bytes, whether the point text is compared with the writer's or not.
#include <cstddef>
#include <cstdint>
#include <string>

#include <labarc/document/document.h>
#include <labarc/framework/mem_file.h>

namespace {

std::string Saved(const labarc::Document& document) {
  CMemFile file;
  std::string error;
  if (!labarc::SaveDocument(document, file, error)) return "refused: " + error;
  return std::string(file.Contents());
}

labarc::Document Loaded(std::string bytes, bool comparePointText) {
  labarc::Document document;
  std::string error;
  labarc::WalkOptions options;
  options.comparePointText = comparePointText;
  if (!labarc::LoadDocument(labarc::DocumentSource::Memory(std::move(bytes), "fuzz.txt"), options,
                            document, error))
    __builtin_trap();  // bytes in memory always open
  return document;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  for (const bool compare : {true, false}) {
    const std::string once = Saved(Loaded(bytes, compare));
    if (once.starts_with("refused: ")) continue;  // a value the writer refuses, reported
    if (Saved(Loaded(once, compare)) != once) __builtin_trap();
  }
  return 0;
}
