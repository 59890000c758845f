// Where a document's bytes come from: a file on disk or bytes in memory.
#pragma once

#include <memory>
#include <string>

#include <labarc/framework/export.h>
#include <labarc/framework/file.h>

namespace labarc {

class LABARC_API DocumentSource {
 public:
  static DocumentSource File(std::string path);
  // `name` stands for the bytes in diagnostics.
  static DocumentSource Memory(std::string bytes, std::string name);
  const std::string& Name() const { return m_name; }
  // A new reader at the start; null with `error` filled (the system's words) when the file cannot
  // be opened.
  std::unique_ptr<CFile> Open(std::string& error) const;

 private:
  std::string m_name;
  std::shared_ptr<const std::string> m_bytes;  // null for a disk file
};

}  // namespace labarc
