// Curve entries: a curve is stored as its name and point count, its characteristics (the table
// of curve/curve_describe.h, used by the writer and the reader alike), then three groups of
// unlabelled point lines: every x coordinate, every y coordinate, every flag, twelve values to a
// line, each value followed by ", ". Reading fills a working curve and hands it over only when all
// of it was read.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include <labarc/archive/internal/entry_io.h>
#include <labarc/archive/value_controls.h>
#include <labarc/curve/curve_obj.h>
#include <labarc/curve/internal/parallel_points.h>
#include <labarc/curve/point_threads.h>

namespace {

constexpr int kValuesPerLine = labarc::kPointValuesPerLine;

// The three point groups: which field of a point each carries, as text of the point lines.
template <auto Field>
struct PointGroup {
  static constexpr auto kField = Field;
  static bool Take(std::string_view& rest, CURVEPOINT& point) {
    return labarc::TakePointValue(rest, point.*Field);
  }
};
using XGroup = PointGroup<&CURVEPOINT::dX>;
using YGroup = PointGroup<&CURVEPOINT::dY>;
using FlagGroup = PointGroup<&CURVEPOINT::cFlag>;

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

bool CArchiveEx::WritePointLines(const CCurveObj& curve) {
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
    // Lines are made straight in the archive's buffer.
    const auto value = [&from](std::size_t index) {
      CURVEPOINT point;
      from.GetCurvePoint(static_cast<int>(index), &point);
      return point.*Group::kField;
    };
    for (int index = 0; index < count;) {
      char* const first = WriteSpace(labarc::kPointLineRoom);
      const int end = index + std::min(kValuesPerLine, count - index);
      char* const last = labarc::PutPointLine(value, static_cast<std::size_t>(index),
                                              static_cast<std::size_t>(end), first);
      index = end;
      CommitWrite(static_cast<std::size_t>(last - first));
      CountLine();
    }
    return true;
  };
  return writeGroup(curve, XGroup{}) && writeGroup(curve, YGroup{}) &&
         writeGroup(curve, FlagGroup{});
}

bool CArchiveEx::ReadPointLines(CCurveObj& curve) {
  const int count = curve.GetNumPoints();
  // The count is not trusted with memory: room is made ahead for no more points than the file
  // can hold, and beyond that the curve grows only as values arrive.
  curve.ReservePoints(DeliverablePoints(GetFile(), count));

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
      // Values are parsed straight into the curve's points.
      const int end = index + std::min(kValuesPerLine, count - index);
      for (CURVEPOINT* point = into.FillPoints(end).data() + index; index < end; ++index, ++point) {
        if (rest.empty()) {
          NoteFailure(FailureKind::tooFewValues, {}, {});
          m_failure.index = index;
          return false;
        }
        if (const std::string_view field = rest; !Group::Take(rest, *point)) {
          NoteFailure(FailureKind::valueRefused, {}, field.substr(0, field.find(',')));
          m_failure.index = index;
          return false;
        }
      }
    }
    return true;
  };
  return readGroup(curve, XGroup{}) && readGroup(curve, YGroup{}) && readGroup(curve, FlagGroup{});
}
