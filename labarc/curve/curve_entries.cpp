// Curve entries: a curve is stored as its name and point count, its characteristics (the table
// of curve/curve_describe.h, used by the writer and the reader alike), then three groups of
// unlabelled point lines: every x coordinate, every y coordinate, every flag, twelve values to a
// line, each value followed by ", ". Reading fills a working curve and hands it over only when all
// of it was read.
#include <algorithm>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <vector>

#include <labarc/archive/internal/entry_io.h>
#include <labarc/archive/value_controls.h>
#include <labarc/curve/curve_describe.h>
#include <labarc/curve/curve_obj.h>
#include <labarc/curve/internal/parallel_points.h>
#include <labarc/curve/point_threads.h>

namespace {

using labarc::kCurveNameLabel;
using labarc::kCurvePointCountLabel;
constexpr int kValuesPerLine = 12;

// The three point groups: which field of a point each carries, and its text. Put writes the text
// at `first`, which has room for kMaxValueText characters, and returns its end.
constexpr std::size_t kMaxValueText = labarc::kMaxDoubleText;

template <double CURVEPOINT::*Field>
struct CoordinateGroup {
  static constexpr auto kField = Field;
  static char* Put(const CURVEPOINT& point, char* first) {
    return labarc::FormatDouble(point.*Field, first);
  }
  static bool Take(std::string_view& rest, CURVEPOINT& point) {
    return labarc::TakeDoubleField(rest, ',', point.*Field);
  }
};
using XGroup = CoordinateGroup<&CURVEPOINT::dX>;
using YGroup = CoordinateGroup<&CURVEPOINT::dY>;

// A flag is the byte's decimal text, so the usual flag 1 is the single character 1.
struct FlagGroup {
  static constexpr auto kField = &CURVEPOINT::cFlag;
  static char* Put(const CURVEPOINT& point, char* first) {
    return std::to_chars(first, first + kMaxValueText, static_cast<BYTE>(point.cFlag)).ptr;
  }
  static bool Take(std::string_view& rest, CURVEPOINT& point) {
    BYTE flag = 0;
    if (!labarc::TakeIntegerField(rest, ',', flag)) return false;
    point.cFlag = static_cast<char>(flag);
    return true;
  }
};

// The most a point line can take: twelve values, each with its ", ", and the line end. Number
// texts hold no line end, so the lines are made straight in the archive's buffer.
constexpr std::size_t kPointLineRoom = kValuesPerLine * (kMaxValueText + 2) + 2;

// An upper bound on the points the archive's file can deliver, from its whole length: every point
// takes at least one character and a separator in each of the three groups.
int DeliverablePoints(const CFile* file, int count) {
  // So few points cost less memory than the archive's buffer: not worth asking the file.
  constexpr int kPointsReservedUnasked = 1024;
  if (count <= kPointsReservedUnasked) return count;
  constexpr std::uint64_t kLeastBytesPerPoint = 6;
  const std::uint64_t length = file ? file->GetLength() : 0;
  const std::uint64_t most = length / kLeastBytesPerPoint + kValuesPerLine;
  return most < static_cast<std::uint64_t>(count) ? static_cast<int>(most) : count;
}

}  // namespace

int CArchiveEx::Write(const CCurveObj& curve) {
  const labarc::PointThreading threading = labarc::PointThreadingFor(curve.GetNumPoints());
  labarc::PointWorkers workers(threading.threads);
  const auto writeGroup = [this, &threading, &workers]<class Group>(const CCurveObj& from, Group) {
    const int count = from.GetNumPoints();
    // A large curve's lines are made on several threads, in the order and bytes of those below.
    if (const auto points = from.GetStoredPoints();
        threading.threads > 1 && points.size() == static_cast<std::size_t>(count)) {
      labarc::FormatPointLines(labarc::ColumnOf(points, Group::kField), workers,
                               threading.batchLines, [this](std::string_view text, int lines) {
                                 CArchive::Write(text);
                                 for (int line = 0; line < lines; ++line) CountLine();
                               });
      return true;
    }
    for (int index = 0; index < count;) {
      char* const first = WriteSpace(kPointLineRoom);
      char* at = first;
      for (const int end = index + std::min(kValuesPerLine, count - index); index < end; ++index) {
        CURVEPOINT point;
        from.GetCurvePoint(index, &point);
        at = Group::Put(point, at);
        *at++ = ',';
        *at++ = ' ';
      }
      *at++ = '\r';
      *at++ = '\n';
      CommitWrite(static_cast<std::size_t>(at - first));
      CountLine();
    }
    return true;
  };
  return labarc::WriteRun(*this, curve, [&](const labarc::EntryWriter& io, CCurveObj& from) {
    int count = from.GetNumPoints();
    return io.Property(kCurveNameLabel, from, &CCurveObj::GetName, &CCurveObj::SetName) &&
           io(kCurvePointCountLabel, count) &&
           labarc::Describe(io, labarc::CurveCharacteristics{from}) && writeGroup(from, XGroup{}) &&
           writeGroup(from, YGroup{}) && writeGroup(from, FlagGroup{});
  });
}

int CArchiveEx::Read(CCurveObj& curve) {
  CString name;
  int count = 0;
  if (Read(name, CString(kCurveNameLabel)) != 1 || Read(count, CString(kCurvePointCountLabel)) != 1)
    return HandleError(nullptr);
  if (count < 0) {
    labarc::ValueText text;
    CLong::AppendText(count, text);
    return Fail(FailureKind::valueRefused, kCurvePointCountLabel, text.View(),
                kCurvePointCountLabel);
  }

  // The count is not trusted with memory: room is made ahead for no more points than the file
  // can hold, and beyond that the working curve grows only as values arrive.
  CCurveObj working(count);
  working.CopyCurveCharacteristics(&curve, 0);
  working.SetName(name);
  working.ReservePoints(DeliverablePoints(GetFile(), count));

  // Whole lines ahead in the buffer are parsed at once, a large curve's on several threads with
  // up to kLookahead bytes buffered. Those are taken up to the first that fails; that one, and
  // one that is not whole in the buffer, is read the way below, which reports the failure.
  constexpr std::size_t kLookahead = std::size_t{1} << 20;
  const labarc::PointThreading threading = labarc::PointThreadingFor(count);
  labarc::PointWorkers workers(threading.threads);
  std::vector<std::string_view> ahead;
  const auto readAhead = [&]<class Group>(CCurveObj& into, Group, int index) {
    const int lines = std::min((count - index - 1) / kValuesPerLine + 1, threading.batchLines);
    PeekLines(ahead, static_cast<std::size_t>(lines), threading.threads > 1 ? kLookahead : 0);
    const auto pointsAfter = [&](std::size_t lines) {  // the index after `lines` more lines
      return static_cast<int>(
          std::min<std::size_t>(static_cast<std::size_t>(count), index + lines * kValuesPerLine));
    };
    const int end = pointsAfter(ahead.size());
    const auto points = into.FillPoints(end).subspan(static_cast<std::size_t>(index));
    const auto failure =
        labarc::ParsePointLines(ahead, labarc::ColumnOf(points, Group::kField), workers);
    const std::size_t taken = failure ? failure->line : ahead.size();
    SkipLines(ahead, taken);
    return pointsAfter(taken);
  };
  const auto readGroup = [this, count, &readAhead]<class Group>(CCurveObj& into, Group) {
    labarc::Label none = labarc::Label::Pointer(nullptr);
    for (int index = 0; index < count;) {
      if ((index = readAhead(into, Group{}, index)) == count) break;
      std::string_view rest;
      if (ReadEntry(rest, none) != 1) return false;
      // Values are parsed straight into the working curve's points.
      const int end = index + std::min(kValuesPerLine, count - index);
      for (CURVEPOINT* point = into.FillPoints(end).data() + index; index < end; ++index, ++point) {
        if (rest.empty()) {
          NoteFailure(FailureKind::tooFewValues, {}, {});
          return false;
        }
        if (const std::string_view field = rest; !Group::Take(rest, *point)) {
          NoteFailure(FailureKind::valueRefused, {}, field.substr(0, field.find(',')));
          return false;
        }
      }
    }
    return true;
  };
  return labarc::ReadRun(*this, curve, std::move(working),
                         [&](const labarc::EntryReader& io, CCurveObj& into) {
                           if (!labarc::Describe(io, labarc::CurveCharacteristics{into}) ||
                               !readGroup(into, XGroup{}) || !readGroup(into, YGroup{}) ||
                               !readGroup(into, FlagGroup{}))
                             return false;
                           into.ScaleCurve();
                           return true;
                         });
}
