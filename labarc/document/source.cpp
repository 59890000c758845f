#include <labarc/document/source.h>

#include <cstring>

#include <labarc/framework/exceptions.h>
#include <labarc/framework/mem_file.h>

namespace labarc {

DocumentSource DocumentSource::File(std::string path) {
  DocumentSource source;
  source.m_name = std::move(path);
  return source;
}

DocumentSource DocumentSource::Memory(std::string bytes, std::string name) {
  DocumentSource source;
  source.m_name = std::move(name);
  source.m_bytes = std::make_shared<const std::string>(std::move(bytes));
  return source;
}

std::unique_ptr<CFile> DocumentSource::Open(std::string& error) const {
  if (m_bytes) {
    auto file = std::make_unique<CMemFile>(*m_bytes);
    file->SetFilePath(m_name.c_str());
    return file;
  }
  auto file = std::make_unique<CFile>();
  CFileException failure(CFileException::none, 0, nullptr);
  if (!file->Open(m_name.c_str(), CFile::modeRead | CFile::typeBinary, &failure)) {
    error = failure.m_lOsError > 0 ? std::strerror(static_cast<int>(failure.m_lOsError))
                                   : "cannot be opened";
    return nullptr;
  }
  return file;
}

}  // namespace labarc
