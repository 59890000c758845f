#include <labarc/document/walk.h>

#include <algorithm>
#include <climits>
#include <deque>
#include <optional>

#include <labarc/archive/header.h>
#include <labarc/archive/line_rules.h>
#include <labarc/curve/curve_describe.h>
#include <labarc/curve/curve_obj.h>
#include <labarc/curve/internal/parallel_points.h>
#include <labarc/curve/point_threads.h>
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

// The lines a composite reader took, kept for handing them over as plain entries should it fail:
// their texts in one block, so that a curve's thousands of point lines cost no allocation each.
class TakenLines {
 public:
  struct Line {
    int number = 0;
    std::size_t offset = 0;
    std::size_t size = 0;
    bool tooLong = false;
  };

  void Clear() {
    m_text.clear();
    m_lines.clear();
  }
  std::string_view Add(int number, std::string_view text, bool tooLong) {
    m_lines.push_back({number, m_text.size(), text.size(), tooLong});
    m_text.append(text);
    return Text(m_lines.back());
  }
  std::string_view Text(const Line& line) const { return {m_text.data() + line.offset, line.size}; }
  std::string_view Text(std::size_t index) const { return Text(m_lines[index]); }
  const std::vector<Line>& Lines() const { return m_lines; }
  std::size_t Size() const { return m_lines.size(); }

 private:
  std::string m_text;
  std::vector<Line> m_lines;
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
    std::string_view name;
    if (!m_ahead.empty()) {
      const PendingLine& next = m_ahead.front();
      if (!next.tooLong && SectionLineName(next.text, name)) return false;
      text = m_taken.Add(next.number, next.text, next.tooLong);
      tooLong = next.tooLong;
      m_ahead.pop_front();
      return true;
    }
    // Past the lines looked at: straight from the source, without a copy of its own.
    int number = 0;
    std::string_view line;
    if (!ReadSourceLine(line, tooLong, number)) return false;
    if (!tooLong && SectionLineName(line, name)) {
      m_ahead.push_back({number, std::string(line), false});
      return false;
    }
    text = m_taken.Add(number, line, tooLong);
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
      PendingLine line;
      std::string_view text;
      if (!ReadSourceLine(text, line.tooLong, line.number)) return nullptr;
      line.text = text;
      m_ahead.push_back(std::move(line));
    }
    return &m_ahead[ahead];
  }

  // The source's next line, numbered; its text (empty when too long) stays valid until the
  // next read.
  bool ReadSourceLine(std::string_view& text, bool& tooLong, int& number) {
    const CArchive::LineStatus status = m_source.ReadLine(text, CArchiveEx::MAX_LINE_LENGTH);
    if (status == CArchive::LineStatus::end) return false;
    if (m_lineCount < INT_MAX) ++m_lineCount;
    number = m_lineCount;
    tooLong = status == CArchive::LineStatus::tooLong;
    if (tooLong) text = {};
    if (number == 1 && text.starts_with("\xEF\xBB\xBF"))
      Warn(DiagnosticKind::byteOrderMark, 1, {}, {});
    return true;
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

  void HandOver(int number, std::string_view text, bool tooLong) {
    if (tooLong) {
      Warn(DiagnosticKind::lineTooLongSkipped, number, {}, {});
      return;
    }
    DocumentEntry entry;
    entry.line = number;
    entry.labelled = SplitEntryLine(text, entry.label, entry.value);
    m_visitor.OnEntry(entry);
  }

  void TakeEntry() {
    const PendingLine line = Take();
    HandOver(line.number, line.text, line.tooLong);
  }

  // Reads what `read` reads of the lines after the current one, through an archive of the
  // file's versions; the lines it took are in m_taken.
  template <class Read>
  bool ReadThrough(const std::string& applName, Failure& failure, Read read) {
    m_taken.Clear();
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
    for (const TakenLines::Line& line : m_taken.Lines())
      HandOver(line.number, m_taken.Text(line), line.tooLong);
    m_taken.Clear();
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
      if (isCurve && m_taken.Size() > 0 && SplitEntryLine(m_taken.Text(0), label, name))
        curveName = name;
      ReportFailure(failure, first, kind.name, curveName);
      HandOverTaken();
      return;
    }
    // A curve's point lines are not copied out (its fields do not need them) unless it is to be
    // written again to compare.
    CCurveObj* curve = value.As<CCurveObj>();
    const std::size_t fieldLineCount =
        curve ? m_taken.Size() - std::min(m_taken.Size(), 3 * PointLineCount(*curve))
              : m_taken.Size();
    std::vector<std::string> lines = TakenTexts(fieldLineCount);
    std::vector<Diagnostic> readOtherwise;
    FieldLines fieldLines{lines, first, readOtherwise};
    std::vector<Field> fields = kind.fields(value.Data(), m_header.archiveVersion, &fieldLines);
    // A curve that stands as the writer makes it (the usual case) is not written again: its
    // point lines are checked against its values instead.
    const bool asWritten = curve && CurveAsWritten(*curve, lines, fieldLines.next);
    if (!asWritten) lines = TakenTexts(m_taken.Size());
    const int lineCount = static_cast<int>(m_taken.Size());
    m_taken.Clear();
    const std::string written = asWritten ? std::string() : Written(value);
    DocumentComposite composite;
    composite.line = first;
    composite.lineCount = lineCount;
    composite.fields = &fields;
    composite.lines = asWritten ? nullptr : &lines;
    composite.written = asWritten ? nullptr : &written;
    CurvePoints points;
    std::string curveName;
    if (curve) {
      curveName = curve->GetName().View();
      if (!asWritten) NotePointLines(lines, written, fieldLines.next, first, readOtherwise);
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

  // Whether `lines`, a curve's lines from which it was read, are the writer's text of it;
  // `pointLine` is the index of the first point line. The lines before it are compared with the
  // writer's text of the curve without points, the point lines with its values.
  bool CurveAsWritten(const CCurveObj& curve, const std::vector<std::string>& lines,
                      std::size_t pointLine) const {
    const int count = curve.GetNumPoints();
    const std::span<const CURVEPOINT> points = curve.GetStoredPoints();
    const std::size_t groupLines = PointLineCount(curve);
    if (points.size() != static_cast<std::size_t>(count) || lines.size() != pointLine ||
        m_taken.Size() != pointLine + 3 * groupLines)
      return false;
    CompositeValue head(KindOf<CCurveObj>());
    head.As<CCurveObj>()->CopyCurveCharacteristics(const_cast<CCurveObj*>(&curve), 0);
    const std::string headText = Written(head);
    const std::vector<std::string_view> written = SplitWrittenLines(headText);
    if (written.size() != pointLine) return false;
    const std::string noPoints = std::string(kCurvePointCountLabel) + "=0";
    for (std::size_t index = 0; index < pointLine; ++index) {
      const bool same =
          written[index] == noPoints
              ? lines[index] == std::string(kCurvePointCountLabel) + "=" + std::to_string(count)
              : lines[index] == written[index];
      if (!same) return false;
    }
    if (!m_options.comparePointText) return true;
    PointWorkers workers(PointThreadingFor(count).threads);
    std::vector<std::string_view> group(groupLines);
    std::size_t next = pointLine;
    const auto groupAsWritten = [&](auto column) {
      for (std::string_view& line : group) line = m_taken.Text(next++);
      return PointLinesAsWritten(group, column, workers);
    };
    return groupAsWritten(ColumnOf(points, &CURVEPOINT::dX)) &&
           groupAsWritten(ColumnOf(points, &CURVEPOINT::dY)) &&
           groupAsWritten(ColumnOf(points, &CURVEPOINT::cFlag));
  }

  static std::size_t PointLineCount(const CCurveObj& curve) {
    return (static_cast<std::size_t>(curve.GetNumPoints()) + kPointValuesPerLine - 1) /
           kPointValuesPerLine;
  }

  // The texts of the first `count` lines taken.
  std::vector<std::string> TakenTexts(std::size_t count) const {
    std::vector<std::string> texts;
    texts.reserve(count);
    for (std::size_t index = 0; index < count; ++index) texts.emplace_back(m_taken.Text(index));
    return texts;
  }

  // Point lines the reader took otherwise than they stand (values beyond the count's room,
  // numbers in another spelling): the file's lines from `firstPointLine` on against the
  // writer's.
  static void NotePointLines(const std::vector<std::string>& lines, std::string_view written,
                             std::size_t firstPointLine, int first,
                             std::vector<Diagnostic>& notes) {
    const std::vector<std::string_view> writtenLines = SplitWrittenLines(written);
    for (std::size_t index = firstPointLine; index < writtenLines.size(); ++index) {
      const std::string_view line = writtenLines[index];
      if (index >= lines.size() || lines[index] == line) continue;
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
    const std::span<const CURVEPOINT> stored = curve.GetStoredPoints();
    points.x.reserve(static_cast<std::size_t>(count));
    points.y.reserve(static_cast<std::size_t>(count));
    points.flags.reserve(static_cast<std::size_t>(count));
    for (const CURVEPOINT& point : stored) {
      points.x.push_back(point.dX);
      points.y.push_back(point.dY);
      points.flags.push_back(static_cast<std::uint8_t>(point.cFlag));
    }
    // Points the file left unset read as zero, as GetCurvePoint gives them.
    points.x.resize(static_cast<std::size_t>(count));
    points.y.resize(static_cast<std::size_t>(count));
    points.flags.resize(static_cast<std::size_t>(count));
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
  TakenLines m_taken;  // the lines a composite reader took
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
