#include "diff.h"

#include <algorithm>
#include <cmath>
#include <future>
#include <ostream>
#include <unordered_map>

#include <labarc/curve/curve_obj.h>
#include <labarc/document/document.h>
#include <labarc/framework/ascii.h>
#include "command_support.h"
#include "export_csv.h"
#include "json_values.h"

namespace labarc::tool {

namespace {

// One side of the comparison: its document and the name it is shown by.
struct Side {
  std::string name;
  Document document;
};

std::string Lower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = static_cast<char>(AsciiToLower(c));
  return lower;
}

// "name", or "name #3" for the third of that name.
std::string Numbered(const std::string& name, std::size_t occurrence) {
  return occurrence ? name + " #" + std::to_string(occurrence + 1) : name;
}

// Two elements of the same key and occurrence (the second "Gain" with the second "Gain"), or one
// that only one side has (the other null), with its occurrence and its index in its list.
template <class T>
struct Paired {
  const T* old = nullptr;
  const T* now = nullptr;
  std::size_t occurrence = 0;
  std::size_t oldIndex = 0, newIndex = 0;
};

// The pairs in the old list's order, then the elements only the new list has.
template <class T, class KeyOf>
std::vector<Paired<T>> PairByKey(const std::vector<const T*>& old, const std::vector<const T*>& now,
                                 KeyOf keyOf) {
  const auto numbered = [&](const std::vector<const T*>& list) {
    std::unordered_map<std::string, std::size_t> seen;
    std::vector<std::pair<std::string, std::size_t>> keys;
    for (const T* element : list) {
      std::string key = keyOf(*element);
      const std::size_t occurrence = seen[key]++;
      keys.emplace_back(key + '\x01' + std::to_string(occurrence), occurrence);
    }
    return keys;
  };
  const auto oldKeys = numbered(old), newKeys = numbered(now);
  std::unordered_map<std::string, std::size_t> newIndex;
  for (std::size_t i = 0; i < now.size(); ++i) newIndex.emplace(newKeys[i].first, i);
  std::vector<bool> matched(now.size());
  std::vector<Paired<T>> pairs;
  for (std::size_t i = 0; i < old.size(); ++i) {
    const auto found = newIndex.find(oldKeys[i].first);
    if (found == newIndex.end()) {
      pairs.push_back({old[i], nullptr, oldKeys[i].second, i, 0});
    } else {
      matched[found->second] = true;
      pairs.push_back({old[i], now[found->second], oldKeys[i].second, i, found->second});
    }
  }
  for (std::size_t i = 0; i < now.size(); ++i)
    if (!matched[i]) pairs.push_back({nullptr, now[i], newKeys[i].second, 0, i});
  return pairs;
}

std::string EntryKey(const DocumentItem& item) {
  return item.labelled ? Lower(item.label) : std::string("\x02");
}

std::string EntryName(const DocumentItem& item, std::size_t occurrence) {
  return item.labelled ? Numbered("entry \"" + item.label + '"', occurrence)
                       : Numbered("line", occurrence);
}

std::string CompositeKey(const DocumentItem& item) {
  std::string key = item.composite.Kind()->name;
  if (const CCurveObj* curve = item.composite.As<CCurveObj>())
    key += '\x02' + Lower(curve->GetName().View());
  return key;
}

std::string CompositeName(const DocumentItem& item, std::size_t occurrence) {
  std::string name = item.composite.Kind()->name;
  if (const CCurveObj* curve = item.composite.As<CCurveObj>())
    name += " \"" + std::string(curve->GetName().View()) + '"';
  return Numbered(name, occurrence);
}

// A composite's fields flattened to one per line: their path ("legend/font/Height", a repeated
// label numbered), their text and their line's offset in the composite.
struct FlatField {
  std::string path;
  std::string text;
  int offset;
};

void Flatten(const std::vector<Field>& fields, const std::string& prefix,
             std::vector<FlatField>& out) {
  std::unordered_map<std::string, std::size_t> seen;
  for (const Field& field : fields) {
    const std::string name = field.IsComposite()             ? field.composite
                             : field.type == ValueType::line ? std::string("line")
                                                             : field.label;
    const std::string path = prefix + Numbered(name, seen[Lower(name)]++);
    if (field.IsComposite())
      Flatten(field.fields, path + '/', out);
    else
      out.push_back({path, field.text, static_cast<int>(out.size())});
  }
}

double Difference(double a, double b) {
  if (a == b || (std::isnan(a) && std::isnan(b))) return 0;
  const double difference = std::fabs(a - b);
  return std::isnan(difference) ? INFINITY : difference;
}

Json Number(double value) { return ToJson(value); }

std::string NumberText(double value) {
  std::string text;
  AppendCsvNumber(value, text);
  if (text.ends_with(".0")) text.resize(text.size() - 2);
  return text;
}

class Comparer {
 public:
  Comparer(const DiffOptions& options, Json& changes) : m_options(options), m_changes(changes) {}

  void Documents(const Document& old, const Document& now) {
    Header(old.header, now.header);
    std::vector<const DocumentSection*> oldSections, newSections;
    for (const DocumentSection& section : old.sections) oldSections.push_back(&section);
    for (const DocumentSection& section : now.sections) newSections.push_back(&section);
    const auto key = [](const DocumentSection& section) {
      return section.hasLine ? Lower(section.name) : std::string("\x02");
    };
    for (const auto& [a, b, occurrence, oldIndex, newIndex] :
         PairByKey(oldSections, newSections, key)) {
      const DocumentSection& either = a ? *a : *b;
      const std::string name = Numbered(
          either.hasLine ? either.name : std::string("(before the first section)"), occurrence);
      if (a && b) {
        Items(name, *a, *b);
        continue;
      }
      Json change = Change(a ? "removed" : "added", name, "section");
      Lines(change, a ? a->line : 0, b ? b->line : 0);
      change["items"] = either.items.size();
      m_changes.push_back(std::move(change));
    }
  }

 private:
  Json Change(const char* what, const std::string& section, const std::string& subject) {
    return Json{{"change", what}, {"section", section}, {"subject", subject}};
  }
  static void Lines(Json& change, int oldLine, int newLine) {
    if (oldLine) change["oldLine"] = oldLine;
    if (newLine) change["newLine"] = newLine;
  }

  void Header(const DocumentHeader& old, const DocumentHeader& now) {
    const auto value = [](const DocumentHeader& header, int which) -> Json {
      if (!header.found) return nullptr;
      if (which == 0) return ToJson(header.archiveVersion);
      if (which == 1) return header.applName;
      return ToJson(header.applVersion);
    };
    const char* names[] = {"Archive Version Number", "Application Name",
                           "Application Version Number"};
    for (int which = 0; which < 3; ++which) {
      Json a = value(old, which), b = value(now, which);
      if (a == b) continue;
      Json change =
          Change("changed", "Archive Header", std::string("entry \"") + names[which] + '"');
      change["old"] = std::move(a);
      change["new"] = std::move(b);
      Lines(change, old.line ? old.line + 1 + which : 0, now.line ? now.line + 1 + which : 0);
      m_changes.push_back(std::move(change));
    }
  }

  void Items(const std::string& section, const DocumentSection& old, const DocumentSection& now) {
    std::vector<const DocumentItem*> oldEntries, newEntries, oldComposites, newComposites;
    for (const DocumentItem& item : old.items)
      (item.IsComposite() ? oldComposites : oldEntries).push_back(&item);
    for (const DocumentItem& item : now.items)
      (item.IsComposite() ? newComposites : newEntries).push_back(&item);
    Entries(section, oldEntries, newEntries);
    for (const auto& [a, b, occurrence, oldIndex, newIndex] :
         PairByKey(oldComposites, newComposites, CompositeKey)) {
      const DocumentItem& either = a ? *a : *b;
      const std::string name = CompositeName(either, occurrence);
      if (a && b) {
        Composite(section, name, *a, *b);
        continue;
      }
      Json change = Change(a ? "removed" : "added", section, name);
      Lines(change, a ? a->line : 0, b ? b->line : 0);
      if (either.composite.As<CCurveObj>()) change["points"] = either.points.size();
      m_changes.push_back(std::move(change));
    }
  }

  void Entries(const std::string& section, const std::vector<const DocumentItem*>& old,
               const std::vector<const DocumentItem*>& now) {
    std::vector<Paired<DocumentItem>> removed;
    std::unordered_map<std::size_t, Paired<DocumentItem>> added;  // by index in the new list
    for (const Paired<DocumentItem>& pair : PairByKey(old, now, EntryKey)) {
      const auto& [a, b, occurrence, oldIndex, newIndex] = pair;
      if (!a || !b) {
        if (a)
          removed.push_back(pair);
        else
          added.emplace(newIndex, pair);
        continue;
      }
      if (a->value == b->value) continue;
      Json change = Change("changed", section, EntryName(*a, occurrence));
      change["old"] = a->value;
      change["new"] = b->value;
      Lines(change, a->line, b->line);
      m_changes.push_back(std::move(change));
    }
    // An entry gone and one come at the same place with the same value: a renamed label.
    for (const Paired<DocumentItem>& gone : removed) {
      const DocumentItem& a = *gone.old;
      const auto renamed = added.find(gone.oldIndex);
      Json change = Change("removed", section, EntryName(a, gone.occurrence));
      if (renamed != added.end() && a.labelled && renamed->second.now->labelled &&
          renamed->second.now->value == a.value) {
        change["change"] = "renamed";
        change["newLabel"] = renamed->second.now->label;
        Lines(change, a.line, renamed->second.now->line);
        added.erase(renamed);
      } else {
        Lines(change, a.line, 0);
      }
      change["value"] = a.value;
      m_changes.push_back(std::move(change));
    }
    std::vector<Paired<DocumentItem>> come;
    for (const auto& [index, pair] : added) come.push_back(pair);
    std::ranges::sort(come, {}, &Paired<DocumentItem>::newIndex);
    for (const Paired<DocumentItem>& pair : come) {
      Json change = Change("added", section, EntryName(*pair.now, pair.occurrence));
      change["value"] = pair.now->value;
      Lines(change, 0, pair.now->line);
      m_changes.push_back(std::move(change));
    }
  }

  void Composite(const std::string& section, const std::string& name, const DocumentItem& old,
                 const DocumentItem& now) {
    std::vector<FlatField> oldFields, newFields;
    Flatten(old.composite.Fields(), "", oldFields);
    Flatten(now.composite.Fields(), "", newFields);
    std::vector<const FlatField*> a, b;
    for (const FlatField& field : oldFields) a.push_back(&field);
    for (const FlatField& field : newFields) b.push_back(&field);
    const auto key = [](const FlatField& field) { return Lower(field.path); };
    for (const auto& [x, y, occurrence, oldIndex, newIndex] : PairByKey(a, b, key)) {
      if (x && y && x->text == y->text) continue;
      Json change = Change(x && y ? "changed" : x ? "removed" : "added", section, name);
      change["field"] = (x ? x : y)->path;
      if (x) change["old"] = x->text;
      if (y) change["new"] = y->text;
      Lines(change, x && old.line ? old.line + x->offset : 0,
            y && now.line ? now.line + y->offset : 0);
      m_changes.push_back(std::move(change));
    }
    if (old.composite.As<CCurveObj>()) Points(section, name, old, now);
  }

  bool Same(double a, double b) const {
    const double difference = Difference(a, b);
    return difference == 0 || difference <= m_options.absolute ||
           difference <= m_options.relative * std::max(std::fabs(a), std::fabs(b));
  }

  static Json Point(const CurvePoints& points, std::size_t i) {
    return Json{{"x", Number(points.x[i])}, {"y", Number(points.y[i])}, {"flag", points.flags[i]}};
  }

  void Points(const std::string& section, const std::string& name, const DocumentItem& old,
              const DocumentItem& now) {
    const CurvePoints &a = old.points, &b = now.points;
    const std::size_t common = std::min(a.size(), b.size());
    std::size_t differing = 0;
    double maxX = 0, maxY = 0;
    Json listed = Json::array();
    for (std::size_t i = 0; i < common; ++i) {
      maxX = std::max(maxX, Difference(a.x[i], b.x[i]));
      maxY = std::max(maxY, Difference(a.y[i], b.y[i]));
      if (Same(a.x[i], b.x[i]) && Same(a.y[i], b.y[i]) && a.flags[i] == b.flags[i]) continue;
      if (differing++ < static_cast<std::size_t>(m_options.maxPoints))
        listed.push_back(Json{{"index", i}, {"old", Point(a, i)}, {"new", Point(b, i)}});
    }
    if (!differing && a.size() == b.size()) return;
    Json change = Change("points", section, name);
    change["oldCount"] = a.size();
    change["newCount"] = b.size();
    change["differing"] = differing;
    change["maxDx"] = Number(maxX);
    change["maxDy"] = Number(maxY);
    change["points"] = std::move(listed);
    Lines(change, old.line, now.line);
    m_changes.push_back(std::move(change));
  }

  const DiffOptions& m_options;
  Json& m_changes;
};

// ---- Text ---------------------------------------------------------------------------------

std::string ValueText(const Json& value) {
  if (value.is_string()) return '"' + value.get<std::string>() + '"';
  if (value.is_null()) return "(none)";
  return value.dump();
}

std::string LineText(const Json& change) {
  const bool old = change.contains("oldLine"), now = change.contains("newLine");
  if (old && now)
    return " (lines " + change["oldLine"].dump() + ", " + change["newLine"].dump() + ')';
  if (old || now) return " (line " + change[old ? "oldLine" : "newLine"].dump() + ')';
  return {};
}

std::string NumberText(const Json& value) {
  return value.is_number() ? NumberText(value.get<double>()) : value.get<std::string>();
}

std::string PointText(const Json& point) {
  return "x " + NumberText(point["x"]) + ", y " + NumberText(point["y"]) + ", flag " +
         point["flag"].dump();
}

void WriteText(std::ostream& out, const Json& changes) {
  for (const Json& change : changes) {
    const std::string what = change["change"];
    out << '[' << change["section"].get<std::string>() << "] "
        << change["subject"].get<std::string>();
    if (change.contains("field")) out << ' ' << change["field"].get<std::string>();
    if (what == "renamed") {
      out << " renamed to \"" << change["newLabel"].get<std::string>() << "\", value "
          << ValueText(change["value"]);
    } else if (what == "changed") {
      out << ": " << ValueText(change["old"]) << " -> " << ValueText(change["new"]);
    } else if (what == "points") {
      out << ": " << change["differing"].dump() << " of " << change["oldCount"].dump()
          << " points differ";
      if (change["oldCount"] != change["newCount"])
        out << ", count " << change["oldCount"].dump() << " -> " << change["newCount"].dump();
      out << ", max |dx| " << NumberText(change["maxDx"]) << ", max |dy| "
          << NumberText(change["maxDy"]);
    } else {
      out << ' ' << what;
      if (change.contains("value")) out << ": " << ValueText(change["value"]);
      if (change.contains("old")) out << ": " << ValueText(change["old"]);
      if (change.contains("new")) out << ": " << ValueText(change["new"]);
      if (change.contains("points")) out << ", " << change["points"].dump() << " points";
      if (change.contains("items")) out << ", " << change["items"].dump() << " items";
    }
    out << LineText(change) << '\n';
    if (what != "points") continue;
    for (const Json& point : change["points"])
      out << "    point " << point["index"].dump() << ": " << PointText(point["old"]) << " -> "
          << PointText(point["new"]) << '\n';
    const std::size_t more = change["differing"].get<std::size_t>() - change["points"].size();
    if (more) out << "    and " << more << " more\n";
  }
}

// Loads one side; false, with the problem printed as `check` prints it, for a file that cannot
// be read or holds an error. Git's /dev/null is an empty document.
bool Load(const std::string& path, const DiffOptions& options, Side& side, std::string& problem) {
  if (path == "/dev/null") return true;
  std::string error;
  if (!LoadDocument(DocumentSource::File(path), {options.applName, {}}, side.document, error)) {
    problem = "labarc: " + side.name + ": " + error;
    return false;
  }
  for (const labarc::Diagnostic& diagnostic : side.document.diagnostics) {
    if (diagnostic.warning) continue;
    problem = FormatDiagnostic(side.name, diagnostic);
    return false;
  }
  return true;
}

}  // namespace

int RunDiff(const DiffOptions& options, Output output) {
  const bool git = options.files.size() == 7;
  if (!git && options.files.size() != 2) {
    output.err << "labarc: diff takes two files, or the seven arguments git gives a driver\n";
    return 2;
  }
  const std::string oldPath = options.files[git ? 1 : 0], newPath = options.files[git ? 4 : 1];
  Side old{git ? "a/" + options.files[0] : oldPath, {}};
  Side now{git ? "b/" + options.files[0] : newPath, {}};
  std::string oldProblem, newProblem;
  // The two files load side by side: the walk touches no shared state.
  auto loading =
      std::async(std::launch::async, [&] { return Load(oldPath, options, old, oldProblem); });
  const bool newLoaded = Load(newPath, options, now, newProblem);
  const bool oldLoaded = loading.get();
  if (!oldLoaded || !newLoaded) {
    if (!oldLoaded) output.err << oldProblem << '\n';
    if (!newLoaded) output.err << newProblem << '\n';
    return 2;
  }
  Json changes = Json::array();
  Comparer(options, changes).Documents(old.document, now.document);
  const bool equal = changes.empty();
  if (options.json) {
    Json result{
        {"old", old.name}, {"new", now.name}, {"equal", equal}, {"changes", std::move(changes)}};
    output.out << result.dump(-1, ' ', false, Json::error_handler_t::replace) << '\n';
  } else if (!equal) {
    if (git) output.out << "diff --labarc " << old.name << ' ' << now.name << '\n';
    output.out << "--- " << old.name << "\n+++ " << now.name << '\n';
    WriteText(output.out, changes);
  }
  return git || equal ? 0 : 1;
}

}  // namespace labarc::tool
