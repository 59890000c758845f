// Curve entries: a curve is stored as its name and point count, its characteristics (the table
// of curve/curve_describe.h, used by the writer and the reader alike), then three groups of
// unlabelled point lines: every x coordinate, every y coordinate, every flag, twelve values to a
// line, each value followed by ", ". Reading fills a working curve and hands it over only when all
// of it was read.
#include <algorithm>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <string>

#include <labarc/archive/internal/entry_io.h>
#include <labarc/archive/value_controls.h>
#include <labarc/curve/curve_describe.h>
#include <labarc/curve/curve_obj.h>

namespace {

constexpr int kValuesPerLine = 12;

// The three point groups: which field of a point each carries, and its text. Put writes the text
// at `first`, which has room for kMaxValueText characters, and returns its end.
constexpr std::size_t kMaxValueText = labarc::kMaxDoubleText;

template <double CURVEPOINT::*Field, const char* Name>
struct CoordinateGroup {
  static constexpr const char* kName = Name;
  static char* Put(const CURVEPOINT& point, char* first) {
    return labarc::FormatDouble(point.*Field, first);
  }
  static bool Take(std::string_view& rest, CURVEPOINT& point) {
    return labarc::TakeDoubleField(rest, ',', point.*Field);
  }
};
constexpr char kXValues[] = "x values";
constexpr char kYValues[] = "y values";
using XGroup = CoordinateGroup<&CURVEPOINT::dX, kXValues>;
using YGroup = CoordinateGroup<&CURVEPOINT::dY, kYValues>;

// A flag is the byte's decimal text, so the usual flag 1 is the single character 1.
struct FlagGroup {
  static constexpr const char* kName = "flags";
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

// "x values of curve "Pressure"": how a failure names a point group.
std::string GroupName(const char* group, const CString& curve) {
  return std::string(group) + " of curve \"" + std::string(curve.View()) + "\"";
}

}  // namespace

bool CArchiveEx::WritePointLines(const CCurveObj& curve) {
  const auto writeGroup = [this]<class Group>(const CCurveObj& from, Group) {
    const int count = from.GetNumPoints();
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
  return writeGroup(curve, XGroup{}) && writeGroup(curve, YGroup{}) &&
         writeGroup(curve, FlagGroup{});
}

bool CArchiveEx::ReadPointLines(CCurveObj& curve) {
  const int count = curve.GetNumPoints();
  // The count is not trusted with memory: its entry refused one the rest of the file cannot hold
  // (CheckCount); room is made ahead for no more points than the file can still hold, or for a
  // few where it cannot tell (a pipe), and beyond that the curve grows only as values arrive.
  const auto left = GetBytesLeft();
  const std::uint64_t room = std::max<std::uint64_t>(
      left ? (*left + 1) / labarc::kLeastBytesPerPoint : 0, labarc::kItemsReservedUnasked);
  curve.ReservePoints(static_cast<int>(std::min<std::uint64_t>(count, room)));
  const CString& name = curve.GetName();
  const auto readGroup = [this, count, &name]<class Group>(CCurveObj& into, Group) {
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
      std::string_view rest;
      if (ReadEntry(rest, none) != 1) return false;
      const int lineStart = index;
      for (const int end = index + std::min(kValuesPerLine, count - index); index < end; ++index) {
        CURVEPOINT point;
        into.GetCurvePoint(index, &point);
        if (rest.find_first_not_of(' ') == std::string_view::npos)
          return refuse(FailureKind::tooFewValues, {}, index,
                        "the point line holds " + std::to_string(index - lineStart) +
                            " values, the curve needs " + std::to_string(end - lineStart));
        const std::string_view field = rest.substr(0, rest.find(','));
        if (!Group::Take(rest, point)) return refuse(FailureKind::valueRefused, field, index, {});
        into.SetCurvePoint(index, point);
      }
    }
    return true;
  };
  return readGroup(curve, XGroup{}) && readGroup(curve, YGroup{}) && readGroup(curve, FlagGroup{});
}
