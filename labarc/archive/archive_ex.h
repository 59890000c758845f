// CArchiveEx: the labelled text archive. A document is a sequence of "[Section]" header lines and
// "Label=value" entry lines, read back in the order written with every label checked.
//
// Every operation returns 1 on success. On failure it returns HandleError(name): 0 when errors
// are not reported, otherwise a "File Error" report and a thrown CArchiveException*.
//
// Every labelled entry comes in three label forms: a CString* (null for no label; on reading it
// receives the label as the file spells it), a const CString&, or the id of a string resource.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

#include <labarc/framework/archive.h>
#include <labarc/framework/cstring.h>
#include <labarc/framework/exceptions.h>
#include <labarc/framework/export.h>
#include <labarc/framework/message_box.h>
#include <labarc/framework/win_types.h>

class CDate;
class CCurveObj;
class CLegend;
class CRectTracker;
class CResultsWnd;
struct DPOINT;
struct TICKMARK;
struct _AXIS;
struct _GEOMETRY;
struct _TICKLABEL;
struct _WINDOW;
struct tagLOGFONTA;
struct _TEXT;

namespace labarc {
class Label;
template <bool Loading>
class EntryIo;
}  // namespace labarc

// Declares Operation(Parameter, label) in the three label forms, and in the resolved form behind
// them, which only the library can call (labarc::Label is private to it): its composites name
// their entries with fixed texts that need no CString made for them.
#define LABARC_DECLARE_LABEL_FORMS(Operation, Parameter) \
  int Operation(Parameter value, CString* label);        \
  int Operation(Parameter value, const CString& label);  \
  int Operation(Parameter value, UINT nID);              \
  LABARC_LOCAL int Operation(Parameter value, labarc::Label& label);

class LABARC_API CArchiveEx : public CArchive {
 public:
  // The format version this library writes, and the newest it reads.
  static constexpr double ARCHIVE_VERSION = 1.03;
  // Longer lines are refused on writing and reported on reading, so that a damaged file cannot
  // make the reader hold an unbounded line.
  static constexpr std::size_t MAX_LINE_LENGTH = std::size_t{1} << 20;

  // An archive over the file of `pArchive`, in its direction. Nothing is read or written.
  CArchiveEx(CArchive* pArchive, const CString& applName, double applVersion, int reportErrors);
  // A copy takes the settings and line count of `src` but cannot read or write: framework
  // archives cannot be copied.
  CArchiveEx(const CArchiveEx& src);
  // Copies settings and line count; the target keeps reading or writing its own file.
  CArchiveEx& operator=(const CArchiveEx& src);
  ~CArchiveEx() override;

  // Names the file of `ar` in later error reports; nothing else changes.
  void SetArchive(CArchive& ar);
  double GetArchiveVersion() const { return m_dArchiveVersion; }
  double GetApplVersion() const { return m_dApplVersion; }
  void SetApplVersion(double applVersion) { m_dApplVersion = applVersion; }
  // The format version the readers of older layouts go by, as ReadHeader sets it, for an
  // archive that reads part of a file whose header was read elsewhere. Also the version
  // WriteHeader writes, and the layout the writers write.
  void SetArchiveVersion(double archiveVersion) { m_dArchiveVersion = archiveVersion; }
  // Lines read plus lines written through this archive.
  int GetCurLineNum() const { return m_nCurLineNum; }

  // Raw lines: ReadString returns 0 at the end of the file and refuses a line longer than
  // MAX_LINE_LENGTH through HandleError, leaving `line` as it was; WriteString adds no line end.
  int ReadString(CString& line);
  int WriteString(const CString& text);

  // The one failure path: 0 in quiet mode; otherwise reports `name` (null or empty for none)
  // with the direction, line number and file, and throws a CArchiveEx::Exception, which is a
  // CArchiveException* of cause badIndex carrying the failure (below).
  int HandleError(const char* name);

  // Where this archive's reports go: `sink` receives every report box of this archive in place
  // of the process's report handler (SetReportHandler), so that documents read or written on
  // several threads report to their own callers. An empty sink restores the process's handler.
  void SetReportSink(ReportHandler sink) { m_reportSink = std::move(sink); }

  // Why the last failed operation failed, as data: readable after a quiet 0 or after the
  // exception was caught. The innermost failure of a chain is kept; the composites' own calls
  // without a name do not replace it.
  enum class FailureKind {
    none,
    missingEntry,      // the file ends where an entry was expected
    otherLabel,        // the line does not begin with the expected label and "="
    valueRefused,      // the value's text is not one of its type
    tooFewValues,      // a line of several values ends early
    endOfArchive,      // a scan for the next section reached the end
    sectionNotFound,   // a scan for a named section reached the end
    lineTooLong,       // a line over MAX_LINE_LENGTH
    newerFormat,       // the header's format version is newer than this library's
    otherApplication,  // the header's application name does not contain the host's
    missingResource,   // a string resource for a label or section name cannot be loaded
    valueNotStorable,  // a value cannot be written as one line of its type
    outOfRange,        // a composite's check: the value lies outside what is allowed
    other,             // a check of a composite or of an object array
  };
  struct Failure {
    FailureKind kind = FailureKind::none;
    int line = 0;      // the line count at the failure (the failing line while reading)
    CString section;   // the section last entered or written, empty before the first
    CString expected;  // the expected label or section name, empty when none
    CString found;     // what stood there: the line, the value text, version or name
    CString allowed;   // what a check allows ("0 to 2"), for outOfRange
    int index = -1;    // the point's index, for a failure on a curve's point line
    CString file;      // the path of the archive's file, as its reports name it
    CString detail;    // a sentence on what was wrong, when the kind alone does not say it
  };
  // The exception a reporting archive throws: a CArchiveException of cause badIndex (callers
  // that catch that keep working) that also carries the failure and the report's text, so a host
  // can explain the failure after the archive is gone.
  class LABARC_API Exception : public CArchiveException {
   public:
    Exception(const Failure& failure, const CString& report)
        : CArchiveException(badIndex), m_failure(failure), m_strReport(report) {}
    // The report's text, then the kind of failure and the text found, such as "... Section/Entry:
    // Gain\nvalue refused: \"high\"".
    CString GetErrorMessage() const override;

    Failure m_failure;
    CString m_strReport;  // the text of the report box
  };
  // The failure an exception carries: that of a CArchiveEx::Exception, else null.
  static const Failure* FailureOf(const CException* error);
  static constexpr std::size_t MAX_FAILURE_TEXT = 256;  // `found` keeps at most this much
  const Failure& GetLastFailure() const { return m_failure; }
  // A short English phrase for a kind, such as "value refused".
  static const char* FailureKindText(FailureKind kind);

  // Header and sections.
  int WriteHeader();
  int ReadHeader();
  // The header's entries at the current position, read and checked as ReadHeader does after
  // finding the section, but without a box of its own for a newer format: for programs that
  // report through GetLastFailure. `applName`, when given, receives the file's application name.
  int ReadHeaderEntries(CString* applName = nullptr);
  int WriteSectionHeader(const CString& name);
  int WriteSectionHeader(UINT nID);
  int ReadSectionHeader(CString& name);
  int GoToSection(const CString& name);
  int GoToSection(UINT nID);

  // Strings.
  LABARC_DECLARE_LABEL_FORMS(Write, const CString&)
  LABARC_DECLARE_LABEL_FORMS(Read, CString&)

  // Numbers. `long` is 32-bit in the file; a value outside that range is refused.
  LABARC_DECLARE_LABEL_FORMS(Write, BYTE)
  LABARC_DECLARE_LABEL_FORMS(Read, BYTE&)
  LABARC_DECLARE_LABEL_FORMS(Write, int)
  LABARC_DECLARE_LABEL_FORMS(Read, int&)
  LABARC_DECLARE_LABEL_FORMS(Write, UINT)
  LABARC_DECLARE_LABEL_FORMS(Read, UINT&)
  LABARC_DECLARE_LABEL_FORMS(Write, long)
  LABARC_DECLARE_LABEL_FORMS(Read, long&)
  LABARC_DECLARE_LABEL_FORMS(Write, double)
  LABARC_DECLARE_LABEL_FORMS(Read, double&)

  // Colours (every unsigned long entry is a colour): "red green blue". Writing refuses a value
  // that needs more than 32 bits.
  LABARC_DECLARE_LABEL_FORMS(Write, unsigned long)
  LABARC_DECLARE_LABEL_FORMS(Read, unsigned long&)

  // Rectangles, sizes and points: blank-separated numbers in field order.
  LABARC_DECLARE_LABEL_FORMS(Write, const tagRECT&)
  LABARC_DECLARE_LABEL_FORMS(Read, tagRECT&)
  LABARC_DECLARE_LABEL_FORMS(Write, const CSize&)
  LABARC_DECLARE_LABEL_FORMS(Read, CSize&)
  LABARC_DECLARE_LABEL_FORMS(Write, const tagPOINT&)
  LABARC_DECLARE_LABEL_FORMS(Read, tagPOINT&)
  LABARC_DECLARE_LABEL_FORMS(Write, const DPOINT&)
  LABARC_DECLARE_LABEL_FORMS(Read, DPOINT&)

  // Dates, as month/day/year; WriteDate and ReadDate take the date library's Julian value.
  LABARC_DECLARE_LABEL_FORMS(Write, const CDate&)
  LABARC_DECLARE_LABEL_FORMS(Read, CDate&)
  LABARC_DECLARE_LABEL_FORMS(WriteDate, double)
  LABARC_DECLARE_LABEL_FORMS(ReadDate, double&)

  // Composites: fixed runs of labelled entries at the current position. Readers change their
  // argument only when the whole run was read.
  int Write(const tagLOGFONTA& font);
  int Read(tagLOGFONTA& font);
  int Write(const _TEXT& text);
  int Read(_TEXT& text);
  int Write(const CRectTracker& tracker);
  int Read(CRectTracker& tracker);
  int Write(const CCurveObj& curve);
  int Read(CCurveObj& curve);

  // Graph layouts. A geometry read from an archive of version 1.02 or older holds three axis
  // blocks, and its fourth slot keeps the caller's values. Legends and windows check their codes
  // after the entry on writing as on reading; a results window's reader clamps its tracker
  // rectangle to 0 and its percent location to 0.1 from below.
  int Write(const _GEOMETRY& geometry);
  int Read(_GEOMETRY& geometry);
  int Write(const _TICKLABEL& tickLabel);
  int Read(_TICKLABEL& tickLabel);
  int Write(const TICKMARK& tickMark);
  int Read(TICKMARK& tickMark);
  int Write(const _AXIS& axis);
  int Read(_AXIS& axis);
  int Write(const CLegend& legend);
  int Read(CLegend& legend);
  int Write(const _WINDOW& window);
  int Read(_WINDOW& window);
  int Write(const CResultsWnd& results);
  int Read(CResultsWnd& results);

 private:
  // The describe directions take composite steps that need the archive's own machinery.
  template <bool Loading>
  friend class labarc::EntryIo;

  LABARC_LOCAL int ReadHeaderRun(CString* applName, bool showNewerFormat);
  // A curve's three groups of point lines, after its characteristics; the reader reads as many
  // points as the curve's count says. False after noting the failure.
  LABARC_LOCAL bool WritePointLines(const CCurveObj& curve);
  LABARC_LOCAL bool ReadPointLines(CCurveObj& curve);
  // Refuses `value` of entry `label`, which a composite's check wants in [least, most], naming
  // the entry and the range. False, or the report's exception.
  LABARC_LOCAL bool RefuseOutOfRange(const char* label, long value, long least, long most);
  // Checks a count read under `label` of items that take at least `leastBytes` bytes each in the
  // lines after it: a negative count is refused, and so is a large one that the rest of the file
  // cannot hold, before anyone makes room for its items. False after the refusal.
  LABARC_LOCAL bool CheckCount(const char* label, int count, std::uint64_t leastBytes);

  // The typed entry behind the three label forms, over the type's text codec.
  template <class T>
  LABARC_LOCAL int WriteValue(const T& value, labarc::Label& label);
  template <class T>
  LABARC_LOCAL int ReadValue(T& value, labarc::Label& label);
  LABARC_LOCAL int WriteValue(const CString& value, labarc::Label& label);
  LABARC_LOCAL int ReadValue(CString& value, labarc::Label& label);

  // One entry line. The value read stays valid until the next line is read.
  LABARC_LOCAL int WriteEntry(std::string_view value, labarc::Label& label);
  LABARC_LOCAL int ReadEntry(std::string_view& value, labarc::Label& label);
  // The next line, counted; lines over MAX_LINE_LENGTH come back as tooLong.
  LABARC_LOCAL LineStatus NextLine(std::string_view& line);
  LABARC_LOCAL void CountLine();
  // Reads and counts the first `count` of the lines that PeekLines located.
  LABARC_LOCAL void SkipLines(const std::vector<std::string_view>& lines, std::size_t count);
  // Records why the operation failed, then takes the error path with `name`.
  LABARC_LOCAL int Fail(FailureKind kind, std::string_view expected, std::string_view found,
                        const char* name, std::string_view detail = {});
  LABARC_LOCAL void NoteFailure(FailureKind kind, std::string_view expected, std::string_view found,
                                std::string_view detail = {});
  // Shows a report box through this archive's sink, or the process's handler.
  LABARC_LOCAL void ShowReport(const char* text, const char* caption, UINT style) const;
  // A new line is tried: a later failure starts a new chain.
  void StartLine() { m_bFailureOpen = false; }

  CFile* m_pArchiveFile = nullptr;
  double m_dArchiveVersion = ARCHIVE_VERSION;
  CString m_strApplName;
  double m_dApplVersion = 0;
  int m_bReportErrors = 0;
  int m_nCurLineNum = 0;
  CString m_strSection;         // the section last entered or written
  Failure m_failure;            // the last failure's reason
  bool m_bFailureOpen = false;  // m_failure belongs to the chain now failing
  ReportHandler m_reportSink;   // empty: the process's report handler
};

#undef LABARC_DECLARE_LABEL_FORMS
