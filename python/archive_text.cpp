#include "internal/archive_text.h"

#include <pybind11/pybind11.h>

#include <labarc/archive/line_rules.h>
#include <labarc/framework/ascii.h>
#include <labarc/framework/mem_file.h>

#include "internal/errors.h"

namespace py = pybind11;

namespace labarc::python {

namespace {

// Runs `write` on a quiet archive over memory; its text, or the archive's failure raised.
template <class Write>
std::string Written(const DocumentHeader& header, std::string_view entry, const std::string& file,
                    Write write) {
  CMemFile memory;
  CArchive host(&memory, CArchive::store);
  {
    CArchiveEx archive(&host, CString(header.applName), header.applVersion, 0);
    archive.SetArchiveVersion(header.archiveVersion);
    if (write(archive) != 1) RaiseFailure(archive.GetLastFailure(), entry, file);
  }  // the archive's own buffer reaches the file as it goes
  host.Flush();
  return std::string(memory.Contents());
}

}  // namespace

void CheckEntry(std::string_view label, bool labelled, const std::string& text,
                const std::string& file) {
  Written(DocumentHeader{}, label, file, [&](CArchiveEx& archive) {
    CString value(text);
    return labelled ? archive.Write(value, CString(label))
                    : archive.Write(value, static_cast<CString*>(nullptr));
  });
}

void CheckSectionName(const std::string& name, const std::string& file) {
  Written(DocumentHeader{}, name, file,
          [&](CArchiveEx& archive) { return archive.WriteSectionHeader(CString(name)); });
}

CCurveObj WithCharacteristic(const CCurveObj& curve, const DocumentHeader& header,
                             std::string_view label, const std::string& text,
                             const std::string& file) {
  // A value with a line end would put lines of its own among the curve's: refused as the
  // string entry writer refuses it.
  CheckEntry(label, true, text, file);
  CCurveObj characteristics;
  characteristics.CopyCurveCharacteristics(const_cast<CCurveObj*>(&curve), 0);
  const std::string written = Written(
      header, label, file, [&](CArchiveEx& archive) { return archive.Write(characteristics); });
  std::string edited;
  bool found = false;
  for (const std::string_view line : SplitWrittenLines(written)) {
    if (line.size() > label.size() && line[label.size()] == '=' &&
        EqualsNoCase(line.substr(0, label.size()), label)) {
      edited.append(line.substr(0, label.size() + 1)).append(text);
      found = true;
    } else {
      edited.append(line);
    }
    edited.append("\r\n");
  }
  if (!found) throw py::key_error("a curve has no characteristic \"" + std::string(label) + "\"");
  CMemFile memory(edited);
  CArchive host(&memory, CArchive::load);
  CArchiveEx archive(&host, CString(header.applName), header.applVersion, 0);
  archive.SetArchiveVersion(header.archiveVersion);
  CCurveObj read;
  if (archive.Read(read) != 1) RaiseFailure(archive.GetLastFailure(), label, file);
  return read;
}

}  // namespace labarc::python
