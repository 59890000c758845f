// Loads arbitrary bytes as a document, without the host's code, and writes it back: the walk must
// end (never crash, hang or grow without bound), and what it wrote must load and write again to
// the very same bytes.
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

labarc::Document Loaded(std::string bytes) {
  labarc::Document document;
  std::string error;
  if (!labarc::LoadDocument(labarc::DocumentSource::Memory(std::move(bytes), "fuzz.txt"), {},
                            document, error))
    __builtin_trap();  // bytes in memory always open
  return document;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string once = Saved(Loaded(std::string(reinterpret_cast<const char*>(data), size)));
  if (once.starts_with("refused: ")) return 0;  // a value the writer refuses, reported
  if (Saved(Loaded(once)) != once) __builtin_trap();
  return 0;
}
