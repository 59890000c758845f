// Curve entries: a curve is stored as its name and point count, its characteristics (the table
// of curve/curve_describe.h, used by the writer and the reader alike), then three groups of
// unlabelled point lines: every x coordinate, every y coordinate, every flag, twelve values to a
// line, each value followed by ", ". Reading fills a working curve and hands it over only when all
// of it was read.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include <labarc/archive/internal/entry_io.h>
#include <labarc/archive/value_controls.h>
#include <labarc/curve/curve_describe.h>
#include <labarc/curve/curve_obj.h>
#include <labarc/curve/internal/parallel_points.h>
#include <labarc/curve/point_threads.h>

namespace {

constexpr int kValuesPerLine = labarc::kPointValuesPerLine;

// The three point groups: which field of a point each carries, as text of the point lines, and
// the group's name in failures.
template <auto Field, const char* Name>
struct PointGroup {
  static constexpr auto kField = Field;
  static constexpr const char* kName = Name;
  static bool Take(std::string_view& rest, CURVEPOINT& point) {
    return labarc::TakePointValue(rest, point.*Field);
  }
};
constexpr char kXValues[] = "x values";
constexpr char kYValues[] = "y values";
constexpr char kFlags[] = "flags";
using XGroup = PointGroup<&CURVEPOINT::dX, kXValues>;
using YGroup = PointGroup<&CURVEPOINT::dY, kYValues>;
using FlagGroup = PointGroup<&CURVEPOINT::cFlag, kFlags>;

// "x values of curve "Pressure"": how a failure names a point group.
std::string GroupName(const char* group, const CString& curve) {
  return std::string(group) + " of curve \"" + std::string(curve.View()) + "\"";
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
  // The count is not trusted with memory: its entry refused one the rest of the file cannot hold
  // (CheckCount); room is made ahead for no more points than the file can still hold, or for a
  // few where it cannot tell (a pipe), and beyond that the curve grows only as values arrive.
  // A curve of a few points needs no bound from the rest of the file (nor the seek that finds it).
  const auto left = count <= labarc::kItemsReservedUnasked ? std::nullopt : GetBytesLeft();
  const std::uint64_t room = std::max<std::uint64_t>(
      left ? (*left + 1) / labarc::kLeastBytesPerPoint : 0, labarc::kItemsReservedUnasked);
  curve.ReservePoints(static_cast<int>(std::min<std::uint64_t>(count, room)));
  const CString& name = curve.GetName();

  // Whole lines ahead in the buffer are parsed at once, a large curve's on several threads with
  // up to kLookahead bytes buffered. Those are taken up to the first that fails; that one, and
  // one that is not whole in the buffer, is read the way below, which reports the failure.
  constexpr std::size_t kLookahead = std::size_t{1} << 20;
  const labarc::PointThreading threading = labarc::PointThreadingFor(count);
  labarc::PointWorkers workers(threading.threads);
  std::vector<std::string_view> ahead;
  ahead.reserve(static_cast<std::size_t>(
      std::min((count + kValuesPerLine - 1) / kValuesPerLine, threading.batchLines)));
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
  const auto readGroup = [this, count, &readAhead, &name]<class Group>(CCurveObj& into, Group) {
    // A refusal names the group, and the report the curve too: "x values of curve "Probe"".
    const auto refuse = [&](FailureKind kind, std::string_view found, int index,
                            const std::string& detail) {
      NoteFailure(kind, Group::kName, found, detail);
      m_failure.index = index;
      const std::string group = GroupName(Group::kName, name);
      HandleError(group.c_str());
      return false;
    };
    labarc::Label none = labarc::Label::Pointer(nullptr);
    for (int index = 0; index < count;) {
      if ((index = readAhead(into, Group{}, index)) == count) break;
      std::string_view rest;
      if (ReadEntry(rest, none) != 1) return false;
      // Values are parsed straight into the curve's points.
      const int lineStart = index;
      const int end = index + std::min(kValuesPerLine, count - index);
      for (CURVEPOINT* point = into.FillPoints(end).data() + index; index < end; ++index, ++point) {
        if (rest.find_first_not_of(' ') == std::string_view::npos)
          return refuse(FailureKind::tooFewValues, {}, index,
                        "the point line holds " + std::to_string(index - lineStart) +
                            " values, the curve needs " + std::to_string(end - lineStart));
        if (const std::string_view field = rest; !Group::Take(rest, *point))
          return refuse(FailureKind::valueRefused, field.substr(0, field.find(',')), index, {});
      }
    }
    return true;
  };
  return readGroup(curve, XGroup{}) && readGroup(curve, YGroup{}) && readGroup(curve, FlagGroup{});
}
