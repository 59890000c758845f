#include "document.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

#include <labarc/archive/archive_ex.h>
#include <labarc/curve/curve_obj.h>
#include <labarc/framework/ascii.h>
#include <labarc/framework/exceptions.h>
#include <labarc/framework/file.h>
#include <labarc/framework/mem_file.h>
#include <labarc/framework/message_box.h>
#include "line_scanner.h"

namespace labarc::tool {

Source Source::File(std::string path) {
  Source source;
  source.m_name = std::move(path);
  return source;
}

Source Source::Memory(std::string bytes, std::string name) {
  Source source;
  source.m_name = std::move(name);
  source.m_bytes = std::make_shared<const std::string>(std::move(bytes));
  return source;
}

std::unique_ptr<CFile> Source::Open(std::string& error) const {
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

std::string FormatDiagnostic(std::string_view file, const Diagnostic& diagnostic) {
  std::string text(file);
  text += ':' + std::to_string(diagnostic.line) + ": ";
  if (diagnostic.warning) text += "warning: ";
  if (!diagnostic.section.empty()) text += "[section \"" + diagnostic.section + "\"] ";
  if (!diagnostic.entry.empty()) text += "entry \"" + diagnostic.entry + "\": ";
  text += diagnostic.reason;
  return text;
}

namespace {

using Kind = CArchiveEx::FailureKind;

// The reason of a failure, in words, with what stood in the file.
std::string Reason(const CArchiveEx::Failure& failure) {
  const std::string found(failure.found.View());
  switch (failure.kind) {
    case Kind::otherLabel:
      return "expected this entry, found " + Quoted(found);
    case Kind::valueRefused:
      return "value " + Quoted(found) + " refused";
    case Kind::newerFormat:
      return "format version " + found + " is newer than the " +
             std::to_string(CArchiveEx::ARCHIVE_VERSION).substr(0, 4) + " this library reads";
    case Kind::otherApplication:
      return "application name " + Quoted(found) + " found, " + Quoted(failure.expected.View()) +
             " expected";
    case Kind::lineTooLong:
      return "line longer than " + std::to_string(CArchiveEx::MAX_LINE_LENGTH) + " characters";
    case Kind::sectionNotFound:
      return "section not found";
    default:
      return CArchiveEx::FailureKindText(failure.kind);
  }
}

// A composite's steps as the scanner sees them: a label to match, or any line.
struct Pattern {
  const CompositeType* type;
  std::vector<std::optional<std::string>> lines;
};

class Walker {
 public:
  Walker(CArchiveEx& archive, LineScanner& scanner, const WalkOptions& options,
         DocumentVisitor& visitor)
      : m_archive(archive), m_scanner(scanner), m_options(options), m_visitor(visitor) {}

  void Run() {
    ReadHeader();
    while (!m_stopped) {
      const ScannedLine* next = m_scanner.Peek();
      if (!next) break;
      Progress();
      if (next->section) {
        ReadSection();
      } else if (!Selected()) {
        ReadEntry(false);  // through the entry reader, which holds no line over the limit
      } else if (const Pattern* pattern = Recognise()) {
        ReadComposite(*pattern);
      } else {
        ReadEntry(true);
      }
    }
    m_visitor.OnProgress(m_scanner.FileLength(), m_scanner.FileLength());
  }

 private:
  bool Selected() const {
    return m_options.section.empty() || EqualsNoCase(m_section, m_options.section);
  }

  void Progress() {
    if (++m_sinceProgress < 4096) return;
    m_sinceProgress = 0;
    m_visitor.OnProgress(m_scanner.BytesRead(), m_scanner.FileLength());
  }

  void Report(const Diagnostic& diagnostic) {
    if (!m_visitor.OnDiagnostic(diagnostic)) m_stopped = true;
  }

  void ReportFailure() {
    const CArchiveEx::Failure& failure = m_archive.GetLastFailure();
    Diagnostic diagnostic;
    diagnostic.line = failure.line;
    diagnostic.section = failure.section.GetString();
    diagnostic.entry = failure.expected.GetString();
    // The entry the library's report names: none for the header's own refusals.
    if (failure.kind == Kind::sectionNotFound || failure.kind == Kind::otherApplication ||
        failure.kind == Kind::newerFormat)
      diagnostic.entry.clear();
    diagnostic.reason = Reason(failure);
    if (failure.kind == Kind::sectionNotFound)
      diagnostic.reason = "the file holds no section " + Quoted(failure.expected.View());
    Report(diagnostic);
  }

  void Warn(int line, std::string entry, std::string reason) {
    Report({true, line, m_section, std::move(entry), std::move(reason)});
  }

  // Lets the scanner catch up with the archive, looking at every line it passes.
  void Watch(int upTo, int pointLinesFrom = 0, int pointCount = 0) {
    m_scanner.SkipTo(upTo, [&](const ScannedLine& line) {
      WatchLine(line);
      if (pointLinesFrom && line.number >= pointLinesFrom)
        WatchPointLine(line, pointLinesFrom, pointCount);
    });
  }

  void WatchLine(const ScannedLine& line) {
    if (line.number == 1 && line.text.starts_with("\xEF\xBB\xBF"))
      Warn(1, "", "the file starts with a UTF-8 byte-order mark, which the archive reads as text");
    if (m_previousEnd == LineEnd::cr && line.length == 0 && line.end == LineEnd::crlf &&
        !m_warnedDoubledEnds) {
      m_warnedDoubledEnds = true;
      Warn(line.number - 1, "",
           "doubled line end (CR CR LF): the archive reads an empty line after this one");
    }
    m_previousEnd = line.end;
  }

  void WatchPointLine(const ScannedLine& line, int first, int count) {
    constexpr int kValuesPerLine = 12;
    const int linesPerGroup = (count + kValuesPerLine - 1) / kValuesPerLine;
    if (linesPerGroup == 0) return;
    const int inGroup = (line.number - first) % linesPerGroup;
    const int room = std::min(kValuesPerLine, count - inGroup * kValuesPerLine);
    if (line.values > room)
      Warn(line.number, "",
           "point line holds " + std::to_string(line.values) +
               " values where the count leaves "
               "room for " +
               std::to_string(room) + "; the reader ignores the rest");
  }

  void ReadHeader() {
    HeaderInfo header;
    const int result = m_archive.ReadHeader();
    m_scanner.SkipTo(m_archive.GetCurLineNum(), [&](const ScannedLine& line) {
      WatchLine(line);
      if (line.labelled && EqualsNoCase(line.label, "Application Name"))
        header.applName = line.Value();
    });
    header.read = result == 1;
    header.archiveVersion = m_archive.GetArchiveVersion();
    header.applVersion = m_archive.GetApplVersion();
    m_section = "Archive Header";
    if (!header.read) {
      ReportFailure();
    } else if (!m_options.applName.empty() && header.applName != m_options.applName) {
      Warn(m_archive.GetCurLineNum() - 1, "Application Name",
           "application name " + Quoted(header.applName) + " found, " + Quoted(m_options.applName) +
               " expected (accepted: it contains the name)");
    }
    m_visitor.OnHeader(header);
  }

  void ReadSection() {
    CString name;
    if (m_archive.ReadSectionHeader(name) != 1) {
      ReportFailure();
      m_stopped = true;
      return;
    }
    Watch(m_archive.GetCurLineNum());
    m_section = name.GetString();
    if (Selected()) m_visitor.OnSection(m_archive.GetCurLineNum(), m_section);
  }

  void ReadEntry(bool show) {
    CString label;
    CString value;
    if (m_archive.Read(value, &label) != 1) {
      ReportFailure();
    } else if (show) {
      const ScannedLine* line = m_scanner.Peek();
      const bool labelled = line && line->labelled;
      m_visitor.OnEntry(m_archive.GetCurLineNum(), labelled, label.View(), value.View());
    }
    Watch(m_archive.GetCurLineNum());
  }

  const std::vector<Pattern>& Patterns() {
    if (m_patterns.empty()) {
      for (const CompositeType& type : KnownComposites()) {
        Pattern pattern{&type, {}};
        for (const SchemaStep& step : type.schema(m_archive.GetArchiveVersion())) {
          if (step.type == ValueType::pointLines) break;
          if (step.label.empty())
            pattern.lines.emplace_back();
          else
            pattern.lines.emplace_back(step.label);
        }
        m_patterns.push_back(std::move(pattern));
      }
    }
    return m_patterns;
  }

  // The composite whose labels the next lines follow: all of them but one at most (so that a
  // composite damaged anywhere is still read, and reported, by the library), or else its first
  // two. Among several, the one that explains the most lines wins, so that a tracker followed by
  // a font is not taken for the start of a legend.
  const Pattern* Recognise() {
    const Pattern* best = nullptr;
    std::size_t bestScore = 0;
    bool bestWhole = false;
    for (const Pattern& pattern : Patterns()) {
      std::size_t matched = 0, mismatched = 0, labelsSeen = 0;
      bool leadMatches = true;
      for (std::size_t i = 0; i < pattern.lines.size() && mismatched <= 1; ++i) {
        const ScannedLine* line = m_scanner.Peek(i);
        if (!line) {
          mismatched = 2;
          break;
        }
        const auto& expected = pattern.lines[i];
        bool ok = !line->section;
        if (expected) {
          ok = ok && line->labelled && EqualsNoCase(line->label, *expected);
          if (labelsSeen++ < 2 && !ok) leadMatches = false;
        }
        ++(ok ? matched : mismatched);
      }
      const bool whole = mismatched <= 1 && matched >= 2;
      if (!whole && !(leadMatches && matched >= 2)) continue;
      if (std::pair(whole, matched) > std::pair(bestWhole, bestScore)) {
        best = &pattern;
        bestScore = matched;
        bestWhole = whole;
      }
    }
    return best;
  }

  void ReadComposite(const Pattern& pattern) {
    const int first = m_archive.GetCurLineNum() + 1;
    Composite composite;
    composite.type = pattern.type->name;
    const bool read = pattern.type->read(m_archive, composite);
    composite.lines = m_archive.GetCurLineNum() - first + 1;
    if (!read) ReportFailure();
    const int pointCount = composite.curve ? composite.curve->GetNumPoints() : 0;
    const int labelledLines = static_cast<int>(pattern.lines.size());
    m_scanner.SkipTo(m_archive.GetCurLineNum(), [&](const ScannedLine& line) {
      WatchLine(line);
      if (composite.curve && line.number >= first + labelledLines)
        WatchPointLine(line, first + labelledLines, pointCount);
      if (line.labelled && line.label.ends_with("Increment Type") && read) {
        const std::string_view value = line.Value();
        if (value != "J" && value != "N")
          Warn(line.number, line.label,
               "increment type " + Quoted(value) + " is neither J nor N; it is read as N");
      }
    });
    if (read) m_visitor.OnComposite(first, composite);
  }

  CArchiveEx& m_archive;
  LineScanner& m_scanner;
  const WalkOptions& m_options;
  DocumentVisitor& m_visitor;
  std::vector<Pattern> m_patterns;
  std::string m_section;
  LineEnd m_previousEnd = LineEnd::none;
  bool m_warnedDoubledEnds = false;
  bool m_stopped = false;
  int m_sinceProgress = 0;
};

}  // namespace

bool Walk(const Source& source, const WalkOptions& options, DocumentVisitor& visitor,
          std::string& error) {
  std::unique_ptr<CFile> archiveFile = source.Open(error);
  if (!archiveFile) return false;
  std::unique_ptr<CFile> scanFile = source.Open(error);
  if (!scanFile) return false;
  LineScanner scanner(std::move(scanFile));
  // The walk reports through the visitor: the library's boxes (the newer-format refusal shows one
  // even in quiet mode) are not shown.
  struct QuietBoxes {
    ReportHandler previous =
        SetReportHandler([](HWND, std::string_view, std::string_view, UINT) { return IDOK; });
    ~QuietBoxes() { SetReportHandler(std::move(previous)); }
  } quiet;
  CArchive host(archiveFile.get(), CArchive::load);
  CString applName = options.applName.c_str();
  CArchiveEx archive(&host, applName, 0, 0);
  Walker(archive, scanner, options, visitor).Run();
  return true;
}

}  // namespace labarc::tool
