#include <labarc/document/walk.h>

#include <algorithm>
#include <climits>
#include <deque>
#include <optional>

#include <labarc/archive/header.h>
#include <labarc/archive/line_rules.h>
#include <labarc/curve/curve_obj.h>
#include <labarc/document/internal/field_walk.h>
#include <labarc/document/internal/pull_file.h>
#include <labarc/framework/ascii.h>
#include <labarc/framework/mem_file.h>

namespace labarc {

namespace {

using Failure = CArchiveEx::Failure;

// A line read ahead of the walk. A line over the length limit is not kept.
struct PendingLine {
  int number = 0;
  std::string text;
  bool tooLong = false;
};

// A kind's schema as the lines it expects: a label, or any line (an unlabelled step).
struct Pattern {
  const CompositeKind* kind;
  std::vector<std::optional<std::string>> labels;
};

// A found text in a diagnostic is kept as far as the library keeps one in its failures.
std::string Cut(std::string_view text) {
  return std::string(text.substr(0, CArchiveEx::MAX_FAILURE_TEXT));
}

class Walker : private LineSupplier {
 public:
  Walker(CFile& file, const WalkOptions& options, WalkVisitor& visitor)
      : m_file(file),
        m_source(&file, CArchive::load, 1 << 16),
        m_length(file.GetLength()),
        m_options(options),
        m_visitor(visitor) {}

  void Run() {
    while (!m_stopped) {
      const PendingLine* next = Peek(0);
      if (!next) break;
      Progress();
      std::string_view name;
      if (!next->tooLong && SectionLineName(next->text, name)) {
        TakeSection();
      } else if (!Selected()) {
        Take();
      } else if (const Pattern* pattern = Recognise()) {
        ReadComposite(*pattern);
      } else {
        TakeEntry();
      }
    }
    if (!m_header.found && !m_stopped) {
      Diagnostic missing;
      missing.kind = DiagnosticKind::noHeader;
      missing.line = m_lineCount;
      missing.expected = kArchiveHeaderSection;
      Report(std::move(missing));
      m_visitor.OnHeader(m_header);
    }
    m_visitor.OnProgress(m_length, m_length);
  }

 private:
  // LineSupplier, for the composite readers: the lines after the ones they had, none past a
  // section line or the end.
  bool NextLine(std::string_view& text, bool& tooLong) override {
    const PendingLine* next = Peek(0);
    std::string_view name;
    if (!next || (!next->tooLong && SectionLineName(next->text, name))) return false;
    m_taken.push_back(Take());
    text = m_taken.back().text;
    tooLong = m_taken.back().tooLong;
    return true;
  }

  bool Selected() const {
    return m_options.section.empty() || EqualsNoCase(m_section, m_options.section);
  }

  void Progress() {
    if (++m_sinceProgress < 4096) return;
    m_sinceProgress = 0;
    m_visitor.OnProgress(m_file.Seek(0, CFile::current), m_length);
  }

  void Report(Diagnostic diagnostic) {
    if (diagnostic.section.empty()) diagnostic.section = m_section;
    if (!m_visitor.OnDiagnostic(diagnostic)) m_stopped = true;
  }

  void Warn(DiagnosticKind kind, int line, std::string entry, std::string found) {
    Diagnostic warning;
    warning.kind = kind;
    warning.warning = true;
    warning.line = line;
    warning.entry = std::move(entry);
    warning.found = Cut(found);
    Report(std::move(warning));
  }

  // The library's reason for a refusal, at the file's line: `firstLine` is the file's number of
  // the reading archive's line 1.
  void ReportFailure(const Failure& failure, int firstLine, std::string composite = {},
                     std::string curve = {}) {
    Diagnostic error;
    error.failure = failure.kind;
    error.line = failure.line + firstLine - 1;
    error.entry = failure.expected.View();
    error.found = failure.found.View();
    error.allowed = failure.allowed.View();
    error.detail = failure.detail.View();
    error.composite = std::move(composite);
    error.curve = std::move(curve);
    error.pointIndex = failure.index;
    Report(std::move(error));
  }

  // The line `ahead` lines after the next one (0: the next), or null past the end.
  const PendingLine* Peek(std::size_t ahead) {
    while (m_ahead.size() <= ahead) {
      std::string_view text;
      const CArchive::LineStatus status = m_source.ReadLine(text, CArchiveEx::MAX_LINE_LENGTH);
      if (status == CArchive::LineStatus::end) return nullptr;
      PendingLine line;
      if (m_lineCount < INT_MAX) ++m_lineCount;
      line.number = m_lineCount;
      line.tooLong = status == CArchive::LineStatus::tooLong;
      if (!line.tooLong) line.text = text;
      if (line.number == 1 && line.text.starts_with("\xEF\xBB\xBF"))
        Warn(DiagnosticKind::byteOrderMark, 1, {}, {});
      m_ahead.push_back(std::move(line));
    }
    return &m_ahead[ahead];
  }

  PendingLine Take() {
    PendingLine line = std::move(m_ahead.front());
    m_ahead.pop_front();
    return line;
  }

  void TakeSection() {
    const PendingLine line = Take();
    std::string_view name;
    SectionLineName(line.text, name);
    m_section = name;
    const bool exact = line.text.size() == name.size() + 2;
    if (!exact) Warn(DiagnosticKind::sectionLineTrailingBlanks, line.number, {}, line.text);
    const bool header = !m_header.found && IsSectionLineOf(line.text, kArchiveHeaderSection);
    if (Selected() || header) m_visitor.OnSectionLine(line.number, m_section, line.text);
    if (header) ReadHeader(line.number);
  }

  void HandOver(const PendingLine& line) {
    if (line.tooLong) {
      Warn(DiagnosticKind::lineTooLongSkipped, line.number, {}, {});
      return;
    }
    DocumentEntry entry;
    entry.line = line.number;
    entry.labelled = SplitEntryLine(line.text, entry.label, entry.value);
    m_visitor.OnEntry(entry);
  }

  void TakeEntry() { HandOver(Take()); }

  // Reads what `read` reads of the lines after the current one, through an archive of the
  // file's versions; the lines it took are in m_taken.
  template <class Read>
  bool ReadThrough(const std::string& applName, Failure& failure, Read read) {
    m_taken.clear();
    PullFile pull(*this, m_length);
    CArchive host(&pull, CArchive::load);
    CArchiveEx archive(&host, CString(applName), m_header.applVersion, 0);
    archive.SetArchiveVersion(m_header.archiveVersion);
    const bool ok = read(archive);
    if (!ok) failure = archive.GetLastFailure();
    if (ok) {
      m_header.archiveVersion = archive.GetArchiveVersion();
      m_header.applVersion = archive.GetApplVersion();
    }
    return ok;
  }

  void ReadHeader(int sectionLine) {
    m_header.found = true;
    m_header.line = sectionLine;
    CString applName;
    Failure failure;
    m_header.read = ReadThrough(m_options.applName, failure, [&](CArchiveEx& archive) {
      return archive.ReadHeaderEntries(&applName) == 1;
    });
    m_patterns.clear();  // the versions steer the layouts
    if (m_header.read) {
      m_header.applName = applName.View();
      if (!m_options.applName.empty() && m_header.applName != m_options.applName) {
        Diagnostic warning;
        warning.kind = DiagnosticKind::applicationNameDiffers;
        warning.warning = true;
        warning.line = sectionLine + 2;
        warning.entry = kApplicationNameLabel;
        warning.found = Cut(m_header.applName);
        warning.expected = m_options.applName;
        Report(std::move(warning));
      }
    } else {
      ReportFailure(failure, sectionLine + 1);
    }
    m_visitor.OnHeader(m_header);
    if (!m_header.read) HandOverTaken();
  }

  void HandOverTaken() {
    for (const PendingLine& line : m_taken) HandOver(line);
    m_taken.clear();
  }

  const std::vector<Pattern>& Patterns() {
    if (m_patterns.empty()) {
      for (const CompositeKind* kind : CompositeKinds()) {
        Pattern pattern{kind, {}};
        for (const SchemaStep& step : kind->schema(m_header.archiveVersion)) {
          if (step.type == ValueType::pointLines) break;
          if (step.label.empty())
            pattern.labels.emplace_back();
          else
            pattern.labels.emplace_back(step.label);
        }
        m_patterns.push_back(std::move(pattern));
      }
    }
    return m_patterns;
  }

  // The kind whose labels the next lines follow: all but one at most (so that a composite
  // damaged anywhere is still read, and its damage reported, by the library), or else its first
  // two. Among several, the one that explains the most lines wins.
  const Pattern* Recognise() {
    const Pattern* best = nullptr;
    std::size_t bestScore = 0;
    bool bestWhole = false;
    for (const Pattern& pattern : Patterns()) {
      std::size_t matched = 0, mismatched = 0, labelsSeen = 0;
      bool leadMatches = true;
      for (std::size_t i = 0; i < pattern.labels.size() && mismatched <= 1; ++i) {
        const PendingLine* line = Peek(i);
        if (!line) {
          mismatched = 2;
          break;
        }
        std::string_view name, label, value;
        bool ok = !line->tooLong && !SectionLineName(line->text, name);
        if (const auto& expected = pattern.labels[i]) {
          ok = ok && SplitEntryLine(line->text, label, value) && EqualsNoCase(label, *expected);
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
    const CompositeKind& kind = *pattern.kind;
    const int first = Peek(0)->number;
    CompositeValue value(kind);
    Failure failure;
    const bool read = ReadThrough(m_options.applName, failure,
                                  [&](CArchiveEx& archive) { return value.Read(archive) == 1; });
    const bool isCurve = &kind == &KindOf<CCurveObj>();
    if (!read) {
      std::string curveName;
      std::string_view label, name;
      if (isCurve && !m_taken.empty() && SplitEntryLine(m_taken.front().text, label, name))
        curveName = name;
      ReportFailure(failure, first, kind.name, curveName);
      HandOverTaken();
      return;
    }
    std::vector<std::string> lines;
    lines.reserve(m_taken.size());
    for (PendingLine& line : m_taken) lines.push_back(std::move(line.text));
    m_taken.clear();
    std::vector<Diagnostic> readOtherwise;
    FieldLines fieldLines{lines, first, readOtherwise};
    std::vector<Field> fields = kind.fields(value.Data(), m_header.archiveVersion, &fieldLines);
    const std::string written = Written(value);
    DocumentComposite composite;
    composite.line = first;
    composite.lineCount = static_cast<int>(lines.size());
    composite.fields = &fields;
    composite.lines = &lines;
    composite.written = &written;
    CurvePoints points;
    std::string curveName;
    if (CCurveObj* curve = value.As<CCurveObj>()) {
      curveName = curve->GetName().View();
      NotePointLines(lines, written, fieldLines.next, first, readOtherwise);
      points = TakePoints(*curve);
      composite.points = &points;
    }
    for (Diagnostic& note : readOtherwise) {
      note.composite = kind.name;
      note.curve = curveName;
      Report(std::move(note));
    }
    composite.value = &value;
    m_visitor.OnComposite(composite);
  }

  // The text the writer makes of `value`, in an archive of the file's versions.
  std::string Written(const CompositeValue& value) const {
    CMemFile file;
    CArchive host(&file, CArchive::store);
    CArchiveEx archive(&host, CString(), m_header.applVersion, 0);
    archive.SetArchiveVersion(m_header.archiveVersion);
    if (value.Write(archive) != 1) return {};
    archive.Flush();
    return std::string(file.Contents());
  }

  // Point lines the reader took otherwise than they stand (values beyond the count's room,
  // numbers in another spelling): the file's lines from `firstPointLine` on against the
  // writer's.
  static void NotePointLines(const std::vector<std::string>& lines, std::string_view written,
                             std::size_t firstPointLine, int first,
                             std::vector<Diagnostic>& notes) {
    for (std::size_t index = 0; !written.empty(); ++index) {
      const std::size_t end = written.find("\r\n");
      const std::string_view line = written.substr(0, end);
      written.remove_prefix(end == written.npos ? written.size() : end + 2);
      if (index < firstPointLine || index >= lines.size() || lines[index] == line) continue;
      Diagnostic note;
      note.kind = DiagnosticKind::pointLineReadOtherwise;
      note.warning = true;
      note.line = first + static_cast<int>(index);
      note.found = Cut(lines[index]);
      note.expected = Cut(line);
      notes.push_back(std::move(note));
    }
  }

  static CurvePoints TakePoints(CCurveObj& curve) {
    CurvePoints points;
    const int count = curve.GetNumPoints();
    points.x.resize(count);
    points.y.resize(count);
    points.flags.resize(count);
    for (int i = 0; i < count; ++i) {
      CURVEPOINT point;
      curve.GetCurvePoint(i, &point);
      points.x[i] = point.dX;
      points.y[i] = point.dY;
      points.flags[i] = static_cast<std::uint8_t>(point.cFlag);
    }
    CCurveObj bare(count);
    bare.CopyCurveCharacteristics(&curve, 0);
    curve = std::move(bare);
    return points;
  }

  CFile& m_file;
  CArchive m_source;
  std::uint64_t m_length;
  const WalkOptions& m_options;
  WalkVisitor& m_visitor;
  DocumentHeader m_header;
  std::deque<PendingLine> m_ahead;
  std::deque<PendingLine> m_taken;  // the lines a composite reader took
  std::vector<Pattern> m_patterns;
  std::string m_section;
  int m_lineCount = 0;
  int m_sinceProgress = 0;
  bool m_stopped = false;
};

}  // namespace

bool Walk(const DocumentSource& source, const WalkOptions& options, WalkVisitor& visitor,
          std::string& error) {
  std::unique_ptr<CFile> file = source.Open(error);
  if (!file) return false;
  Walker(*file, options, visitor).Run();
  return true;
}

}  // namespace labarc
