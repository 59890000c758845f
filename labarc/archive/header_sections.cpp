// The archive header and the section header lines.
#include <cmath>

#include <labarc/archive/header.h>
#include <labarc/archive/internal/entry_io.h>
#include <labarc/archive/line_rules.h>
#include <labarc/archive/value_controls.h>
#include <labarc/framework/ascii.h>
#include <labarc/framework/message_box.h>

using labarc::kApplicationNameLabel;
using labarc::kApplicationVersionLabel;
using labarc::kArchiveHeaderSection;
using labarc::kArchiveVersionLabel;

namespace labarc {

bool SectionLineName(std::string_view line, std::string_view& name) {
  while (!line.empty() && IsAsciiSpace(line.back())) line.remove_suffix(1);
  if (line.size() < 3 || line.front() != '[' || line.back() != ']') return false;
  name = line.substr(1, line.size() - 2);
  return true;
}

bool IsSectionLineOf(std::string_view line, std::string_view name) {
  return line.size() == name.size() + 2 && line.front() == '[' && line.back() == ']' &&
         EqualsNoCase(line.substr(1, name.size()), name);
}

}  // namespace labarc

int CArchiveEx::WriteSectionHeader(const CString& name) {
  labarc::Label none = labarc::Label::Pointer(nullptr);
  m_strSection = name;
  return WriteEntry(("[" + name + "]").View(), none);
}

int CArchiveEx::WriteSectionHeader(UINT nID) {
  CString name;
  if (!name.LoadString(nID)) return Fail(FailureKind::missingResource, {}, {}, nullptr);
  return WriteSectionHeader(name);
}

int CArchiveEx::ReadSectionHeader(CString& name) {
  for (;;) {
    std::string_view line;
    const LineStatus status = NextLine(line);
    if (status == LineStatus::end) return Fail(FailureKind::endOfArchive, {}, {}, nullptr);
    std::string_view found;
    if (status == LineStatus::line && labarc::SectionLineName(line, found)) {
      name = found;
      m_strSection = name;
      return 1;
    }
  }
}

int CArchiveEx::GoToSection(const CString& name) {
  for (;;) {
    std::string_view line;
    const LineStatus status = NextLine(line);
    if (status == LineStatus::end) return Fail(FailureKind::sectionNotFound, name.View(), {}, name);
    if (status == LineStatus::line && labarc::IsSectionLineOf(line, name.View())) {
      m_strSection = name;
      return 1;
    }
  }
}

int CArchiveEx::GoToSection(UINT nID) {
  CString name;
  if (!name.LoadString(nID)) return Fail(FailureKind::missingResource, {}, {}, nullptr);
  return GoToSection(name);
}

int CArchiveEx::WriteHeader() {
  if (WriteSectionHeader(kArchiveHeaderSection) != 1 ||
      Write(m_dArchiveVersion, CString(kArchiveVersionLabel)) != 1 ||
      Write(m_strApplName, CString(kApplicationNameLabel)) != 1 ||
      Write(m_dApplVersion, CString(kApplicationVersionLabel)) != 1)
    return HandleError(nullptr);
  return 1;
}

int CArchiveEx::ReadHeader() {
  if (GoToSection(kArchiveHeaderSection) != 1) return HandleError(nullptr);
  return ReadHeaderRun(nullptr, true);
}

int CArchiveEx::ReadHeaderEntries(CString* applName) { return ReadHeaderRun(applName, false); }

int CArchiveEx::ReadHeaderRun(CString* fileApplName, bool showNewerFormat) {
  double archiveVersion = m_dArchiveVersion;
  if (Read(archiveVersion, CString(kArchiveVersionLabel)) != 1) return HandleError(nullptr);
  // Every comparison with a NaN is false: it would pass the newer-format check below and then
  // choose the older layouts' readers at random, so a version that is no number is refused.
  if (!std::isfinite(archiveVersion)) return HandleError(kArchiveVersionLabel);
  m_dArchiveVersion = archiveVersion;
  if (ARCHIVE_VERSION < m_dArchiveVersion) {
    // A newer format is refused with its own box, shown even when errors are not reported.
    if (showNewerFormat) {
      CString message;
      message.Format(
          "The File Archive Version Number %f is greater than the Archive Libraries Version "
          "Number %f!",
          m_dArchiveVersion, ARCHIVE_VERSION);
      ShowReport(message, "ERROR", MB_OK | MB_ICONSTOP | MB_SYSTEMMODAL);
    }
    labarc::ValueText version;
    CDouble::AppendText(m_dArchiveVersion, version);
    return Fail(FailureKind::newerFormat, kArchiveVersionLabel, version.View(), nullptr);
  }
  CString applName;
  if (Read(applName, CString(kApplicationNameLabel)) != 1) return HandleError(nullptr);
  if (applName.Find(m_strApplName) == -1)
    return Fail(FailureKind::otherApplication, m_strApplName.View(), applName.View(), nullptr);
  if (Read(m_dApplVersion, CString(kApplicationVersionLabel)) != 1) return HandleError(nullptr);
  if (fileApplName) *fileApplName = applName;
  return 1;
}
