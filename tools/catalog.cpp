#include "catalog.h"

#include <labarc/archive/archive_ex.h>
#include <labarc/curve/curve_describe.h>
#include <labarc/framework/logfont.h>
#include <labarc/framework/rect_tracker.h>
#include <labarc/graph/axis_describe.h>
#include <labarc/graph/geometry_describe.h>
#include <labarc/graph/legend_describe.h>
#include <labarc/graph/results_describe.h>
#include <labarc/graph/ticks_describe.h>
#include <labarc/graph/window_describe.h>
#include <labarc/values/font_describe.h>
#include <labarc/values/text_describe.h>
#include <labarc/values/tracker_describe.h>
#include "json_values.h"

namespace labarc::tool {

std::string Quoted(std::string_view text) {
  std::string quoted;
  quoted.reserve(text.size() + 2);
  quoted += '"';
  quoted += text;
  quoted += '"';
  return quoted;
}

namespace {

std::string Summary(const tagLOGFONTA& font) {
  return "font " + Quoted(std::string_view(font.lfFaceName, strnlen(font.lfFaceName, LF_FACESIZE)));
}
std::string Summary(const _TEXT& text) { return "text " + Quoted(text.strWording.View()); }
std::string Summary(const CRectTracker&) { return "tracker"; }
std::string Summary(const _GEOMETRY&) { return "geometry"; }
std::string Summary(const _TICKLABEL&) { return "tick label"; }
std::string Summary(const TICKMARK&) { return "tick mark"; }
std::string Summary(const _AXIS& axis) { return "axis " + Quoted(axis.text.strWording.View()); }
std::string Summary(const _WINDOW& window) {
  return "window " + Quoted(window.titles[0].strWording.View());
}
std::string Summary(const CLegend&) { return "legend"; }
std::string Summary(const CResultsWnd&) { return "results window"; }

template <class T>
Schema StepsOf(double archiveVersion) {
  return SchemaOf<T>(archiveVersion);
}

// A composite with a Describe function and the archive's Read(T&).
template <class T>
bool ReadDescribed(CArchiveEx& archive, Composite& composite) {
  T value{};
  if (archive.Read(value) != 1) return false;
  composite.fields = Json::array();
  Describe(JsonDirection(composite.fields), value);
  composite.summary = Summary(value);
  return true;
}

Schema CurveSteps(double version) { return SchemaOf<CCurveObj>(version); }

bool ReadCurve(CArchiveEx& archive, Composite& composite) {
  auto curve = std::make_shared<CCurveObj>();
  if (archive.Read(*curve) != 1) return false;
  Json& fields = composite.fields = Json::array();
  fields.push_back({{"label", kCurveNameLabel}, {"value", ToJson(curve->GetName())}});
  fields.push_back({{"label", kCurvePointCountLabel}, {"value", curve->GetNumPoints()}});
  Describe(JsonDirection(fields), CurveCharacteristics{*curve});
  composite.summary = "curve " + Quoted(curve->GetName().View()) + " (" +
                      std::to_string(curve->GetNumPoints()) + " points)";
  composite.curve = std::move(curve);
  return true;
}

}  // namespace

const std::vector<CompositeType>& KnownComposites() {
  static const std::vector<CompositeType> types = {
      {"window", StepsOf<_WINDOW>, ReadDescribed<_WINDOW>},
      {"axis", StepsOf<_AXIS>, ReadDescribed<_AXIS>},
      {"geometry", StepsOf<_GEOMETRY>, ReadDescribed<_GEOMETRY>},
      {"legend", StepsOf<CLegend>, ReadDescribed<CLegend>},
      {"results window", StepsOf<CResultsWnd>, ReadDescribed<CResultsWnd>},
      {"tick label", StepsOf<_TICKLABEL>, ReadDescribed<_TICKLABEL>},
      {"tick mark", StepsOf<TICKMARK>, ReadDescribed<TICKMARK>},
      {"curve", CurveSteps, ReadCurve},
      {"text", StepsOf<_TEXT>, ReadDescribed<_TEXT>},
      {"font", StepsOf<tagLOGFONTA>, ReadDescribed<tagLOGFONTA>},
      {"tracker", StepsOf<CRectTracker>, ReadDescribed<CRectTracker>},
  };
  return types;
}

const CompositeType* FindComposite(std::string_view name) {
  for (const CompositeType& type : KnownComposites())
    if (type.name == name) return &type;
  return nullptr;
}

}  // namespace labarc::tool
