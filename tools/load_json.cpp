#include "load_json.h"

#include <algorithm>
#include <climits>
#include <fstream>
#include <iostream>
#include <map>
#include <nlohmann/json.hpp>
#include <optional>

#include <labarc/archive/header.h>
#include <labarc/archive/line_rules.h>
#include <labarc/curve/curve_describe.h>
#include <labarc/curve/curve_obj.h>
#include <labarc/document/value_text.h>
#include <labarc/framework/ascii.h>
#include <labarc/framework/mem_file.h>
#include <labarc/values/date.h>
#include <labarc/values/dpoint.h>
#include "json_values.h"

namespace labarc::tool {

namespace {

// A refusal: the JSON pointer of what was refused and why. Thrown inside this file only.
struct Refused {
  std::string pointer;
  std::string reason;
};

std::string PointerToken(std::string_view token) {
  std::string escaped;
  for (const char c : token) {
    if (c == '~')
      escaped += "~0";
    else if (c == '/')
      escaped += "~1";
    else
      escaped += c;
  }
  return escaped;
}

std::string Child(const std::string& pointer, std::string_view token) {
  return pointer + '/' + PointerToken(token);
}
std::string Child(const std::string& pointer, std::size_t index) {
  return pointer + '/' + std::to_string(index);
}

// The points of one curve, by the section and item index that hold it.
using PointsKey = std::pair<std::size_t, std::size_t>;
using PointsMap = std::map<PointsKey, CurvePoints>;

constexpr std::size_t kMaxDepth = 64;

// An application version newer than any rule for older files asks about.
constexpr double kNewestApplicationVersion = 1e9;  // deeper than any document's JSON nests

// Builds a tree of everything but the points, which go straight into arrays of doubles: a
// document's JSON is mostly points, and they take 17 bytes each that way instead of a tree node.
class SaxReader : public nlohmann::json_sax<Json> {
 public:
  explicit SaxReader(PointsMap& points) : m_points(points) {}

  Json root;
  std::optional<Refused> refused;

  bool null() override { return Place(nullptr); }
  bool boolean(bool value) override { return Place(value); }
  bool number_integer(number_integer_t value) override { return Place(value); }
  bool number_unsigned(number_unsigned_t value) override { return Place(value); }
  bool number_float(number_float_t value, const string_t&) override { return Place(value); }
  bool string(string_t& value) override { return Place(std::move(value)); }
  bool binary(binary_t&) override { return Refuse("binary values are not JSON text"); }

  bool start_object(std::size_t) override { return Open(Json::object(), false); }
  bool key(string_t& key) override {
    m_frames.back().key = std::move(key);
    return true;
  }
  bool end_object() override { return Close(); }
  bool start_array(std::size_t) override {
    const int group = PointGroup();
    if (group >= 0) {
      Frame frame;
      frame.array = true;
      frame.group = group;
      frame.points = &m_points[{m_frames[1].index, m_frames[3].index}];
      m_frames.push_back(frame);
      return true;
    }
    return Open(Json::array(), true);
  }
  bool end_array() override { return Close(); }
  bool parse_error(std::size_t position, const std::string&,
                   const nlohmann::detail::exception& error) override {
    if (!refused) refused = Refused{"", "byte " + std::to_string(position) + ": " + error.what()};
    return false;
  }

 private:
  struct Frame {
    Json* node = nullptr;  // null for a points array
    bool array = false;
    std::string key;        // an object's current key
    std::size_t index = 0;  // an array's next index
    int group = -1;         // 0 x, 1 y, 2 flags, for a points array
    CurvePoints* points = nullptr;
  };

  std::string Pointer() const {
    std::string pointer;
    for (const Frame& frame : m_frames)
      pointer = frame.array ? Child(pointer, frame.index) : Child(pointer, frame.key);
    return pointer;
  }

  bool Refuse(std::string reason) {
    if (!refused) refused = Refused{Pointer(), std::move(reason)};
    return false;
  }

  // 0, 1 or 2 when the array about to open is /sections/N/items/M/points/{x,y,flags}.
  int PointGroup() const {
    if (m_frames.size() != 6 || m_frames[0].key != "sections" || m_frames[2].key != "items" ||
        m_frames[4].key != "points" || m_frames[4].array || !m_frames[1].array ||
        !m_frames[3].array)
      return -1;
    static constexpr const char* kGroups[] = {"x", "y", "flags"};
    for (int group = 0; group < 3; ++group)
      if (m_frames[5].key == kGroups[group]) return group;
    return -1;
  }

  bool Place(Json value) {
    if (m_frames.empty()) {
      root = std::move(value);
      return true;
    }
    Frame& frame = m_frames.back();
    if (frame.points) return AddPoint(frame, value);
    if (frame.array) {
      frame.node->push_back(std::move(value));
      ++frame.index;
    } else {
      (*frame.node)[frame.key] = std::move(value);
    }
    return true;
  }

  bool AddPoint(Frame& frame, const Json& value) {
    CurvePoints& points = *frame.points;
    std::vector<double>* coordinates = frame.group == 0 ? &points.x : &points.y;
    if ((frame.group == 2 ? points.flags.size() : coordinates->size()) >= INT_MAX)
      return Refuse("more points than a curve can hold");
    if (frame.group == 2) {
      if (!value.is_number_integer() || value.get<std::int64_t>() < 0 ||
          value.get<std::int64_t>() > 255)
        return Refuse("a flag is a whole number from 0 to 255");
      points.flags.push_back(static_cast<std::uint8_t>(value.get<std::int64_t>()));
    } else {
      double number = 0;
      if (value.is_number()) {
        number = value.get<double>();
      } else if (!value.is_string() || !ValueFromText(value.get<std::string>(), number)) {
        return Refuse("a coordinate is a number, or \"inf\", \"-inf\" or \"nan\"");
      }
      coordinates->push_back(number);
    }
    ++frame.index;
    return true;
  }

  bool Open(Json value, bool array) {
    if (m_frames.size() >= kMaxDepth) return Refuse("nested deeper than a document's JSON");
    if (!m_frames.empty() && m_frames.back().points)
      return Refuse("a coordinate or flag is expected, not an array or object");
    Json* node = nullptr;
    if (m_frames.empty()) {
      root = std::move(value);
      node = &root;
    } else if (Frame& parent = m_frames.back(); parent.array) {
      parent.node->push_back(std::move(value));
      node = &parent.node->back();
    } else {
      node = &((*parent.node)[parent.key] = std::move(value));
    }
    Frame frame;
    frame.node = node;
    frame.array = array;
    m_frames.push_back(std::move(frame));
    return true;
  }

  bool Close() {
    m_frames.pop_back();
    if (!m_frames.empty() && m_frames.back().array) ++m_frames.back().index;
    return true;
  }

  PointsMap& m_points;
  std::vector<Frame> m_frames;
};

// ---- The tree to a document -------------------------------------------------------------

const Json& Member(const Json& object, const std::string& pointer, const char* key) {
  if (!object.is_object()) throw Refused{pointer, "an object is expected"};
  const auto found = object.find(key);
  if (found == object.end()) throw Refused{pointer, std::string("\"") + key + "\" is missing"};
  return *found;
}

const std::string& Text(const Json& value, const std::string& pointer) {
  if (!value.is_string()) throw Refused{pointer, "a string is expected"};
  return value.get_ref<const std::string&>();
}

// A text that goes on one line of the archive: no line end, not over the line limit.
void CheckLineText(std::string_view text, const std::string& pointer) {
  if (text.find_first_of("\r\n") != text.npos)
    throw Refused{pointer, "a line end cannot be stored in an entry"};
  if (text.size() > CArchiveEx::MAX_LINE_LENGTH)
    throw Refused{pointer, "longer than the longest line the archive reads"};
}

std::string IntegerText(const Json& value, const std::string& pointer) {
  if (!value.is_number_integer()) throw Refused{pointer, "a whole number is expected"};
  return value.dump();
}

std::string DoubleText(const Json& value, const std::string& pointer) {
  if (value.is_string()) return value.get<std::string>();
  if (!value.is_number()) throw Refused{pointer, "a number, or \"inf\", \"-inf\" or \"nan\""};
  std::string text;
  AppendJsonNumber(value.get<double>(), text);
  return text;
}

// The values stored as several numbers, each with the members of its JSON object in the
// archive's order.
struct Shape {
  ValueType type;
  std::vector<const char*> members;
  int least, most;  // a member's range, when not the integer's own
};
const Shape kShapes[] = {
    {ValueType::colour, {"red", "green", "blue"}, 0, 255},
    {ValueType::rectangle, {"left", "top", "right", "bottom"}, INT_MIN, INT_MAX},
    {ValueType::size, {"cx", "cy"}, INT_MIN, INT_MAX},
    {ValueType::point, {"x", "y"}, INT_MIN, INT_MAX},
    {ValueType::doublePoint, {"x", "y"}, 0, 0},
};

// An entry's JSON value as the text of its line.
std::string ValueText(ValueType type, const Json& value, const std::string& pointer) {
  std::string text;
  if (type == ValueType::real) {
    text = DoubleText(value, pointer);
  } else if (type == ValueType::date && value.is_null()) {
    ValueToText(CDate(), text);
  } else if (type == ValueType::string || type == ValueType::date) {
    text = Text(value, pointer);
  } else if (const auto shape = std::ranges::find(kShapes, type, &Shape::type);
             shape != std::end(kShapes)) {
    if (!value.is_object() || value.size() != shape->members.size())
      throw Refused{pointer, "an object of " + std::to_string(shape->members.size()) +
                                 " numbers is expected"};
    for (const char* member : shape->members) {
      const std::string at = Child(pointer, member);
      const Json& part = Member(value, pointer, member);
      if (!text.empty()) text += ' ';
      if (type == ValueType::doublePoint) {
        text += DoubleText(part, at);
        continue;
      }
      text += IntegerText(part, at);
      const std::int64_t number = part.get<std::int64_t>();
      if (number < shape->least || number > shape->most)
        throw Refused{at, "out of range: " + std::to_string(shape->least) + " to " +
                              std::to_string(shape->most)};
    }
  } else {
    text = IntegerText(value, pointer);
  }
  if (!IsValueText(type, text))
    throw Refused{pointer, std::string("not a value of type ") + ValueTypeName(type)};
  CheckLineText(text, pointer);
  return text;
}

// A composite's lines made from its JSON entries against the fields its kind has, with the
// pointer of each line's value.
struct CompositeLines {
  std::vector<std::string> lines;
  std::vector<std::string> pointers;
  std::int64_t pointCount = -1;  // a curve's count as the JSON gives it
};

void AddLines(const std::vector<Field>& fields, const Json& entries, const std::string& pointer,
              const std::string& composite, bool curve, CompositeLines& out) {
  if (!entries.is_array()) throw Refused{pointer, "an array of entries is expected"};
  for (std::size_t i = 0; i < entries.size() || i < fields.size(); ++i) {
    const std::string at = Child(pointer, i);
    if (i >= fields.size())
      throw Refused{at, "the " + composite + " has no entry after \"" + fields.back().label + '"'};
    const Field& field = fields[i];
    if (i >= entries.size())
      throw Refused{pointer, "the " + composite + " lacks " +
                                 (field.IsComposite() ? field.composite : '"' + field.label + '"')};
    const Json& entry = entries[i];
    if (field.IsComposite()) {
      const std::string& name = Text(Member(entry, at, "composite"), Child(at, "composite"));
      if (name != field.composite)
        throw Refused{Child(at, "composite"),
                      "the " + composite + " holds a " + field.composite + " here"};
      AddLines(field.fields, Member(entry, at, "entries"), Child(at, "entries"), field.composite,
               false, out);
      continue;
    }
    if (field.type == ValueType::line) {
      const std::string& text = Text(Member(entry, at, "text"), Child(at, "text"));
      CheckLineText(text, Child(at, "text"));
      out.lines.push_back(text);
      out.pointers.push_back(Child(at, "text"));
      continue;
    }
    const std::string& label = Text(Member(entry, at, "label"), Child(at, "label"));
    if (!EqualsNoCase(label, field.label))
      throw Refused{Child(at, "label"), "the " + composite + " has no entry \"" + label +
                                            "\" here; \"" + field.label + "\" stands here"};
    const std::string valueAt = Child(at, "value");
    std::string text = ValueText(field.type, Member(entry, at, "value"), valueAt);
    if (curve && field.label == kCurvePointCountLabel) {
      // The points come as arrays; the reader is given none and the arrays are checked apart.
      out.pointCount = Member(entry, at, "value").get<std::int64_t>();
      if (out.pointCount < 0) throw Refused{valueAt, "a count cannot be negative"};
      text = "0";
    }
    out.lines.push_back(field.label + '=' + text);
    out.pointers.push_back(valueAt);
  }
}

std::string FailureReason(const CArchiveEx::Failure& failure) {
  std::string reason = CArchiveEx::FailureKindText(failure.kind);
  if (!failure.found.IsEmpty()) reason += std::string(": \"") + failure.found.GetString() + '"';
  if (!failure.allowed.IsEmpty()) reason += std::string(", allowed ") + failure.allowed.GetString();
  return reason;
}

void CheckPoints(const CurvePoints& points, std::int64_t count, const std::string& pointer) {
  const std::pair<const char*, std::size_t> groups[] = {
      {"x", points.x.size()}, {"y", points.y.size()}, {"flags", points.flags.size()}};
  for (const auto& [name, size] : groups) {
    if (static_cast<std::int64_t>(size) != count)
      throw Refused{Child(Child(pointer, "points"), name),
                    "holds " + std::to_string(size) + " values; the curve's \"" +
                        kCurvePointCountLabel + "\" is " + std::to_string(count)};
  }
}

// The item's lines as the writer makes them in a document of `header`'s versions.
std::string WrittenText(const DocumentHeader& header, const DocumentItem& item) {
  Document alone;
  alone.header.archiveVersion = header.archiveVersion;
  alone.header.applName = header.applName;
  alone.header.applVersion = header.applVersion;
  DocumentSection section;
  section.hasLine = false;
  section.items.push_back(item);
  alone.sections.push_back(std::move(section));
  CMemFile file;
  std::string error;
  return SaveDocument(alone, file, error) ? std::string(file.Contents()) : std::string();
}

// The file's own lines that `dump` noted where the reader took a line otherwise than the writer
// writes it: each is given back where the writer's line is still the one noted, that is where
// the value was not edited. The lines must read back to the same composite.
void ApplyFileLines(const Json& noted, const std::string& pointer, const DocumentHeader& header,
                    DocumentItem& item) {
  if (!noted.is_array()) throw Refused{pointer, "an array of lines is expected"};
  const std::string written = WrittenText(header, item);
  std::vector<std::string> lines;
  for (std::string_view line : SplitWrittenLines(written)) lines.emplace_back(line);
  OriginalLines original;
  original.writtenHash = std::hash<std::string_view>{}(written);
  original.writtenSize = written.size();
  for (std::size_t i = 0; i < noted.size(); ++i) {
    const std::string at = Child(pointer, i);
    const Json& index = Member(noted[i], at, "index");
    const std::string& file = Text(Member(noted[i], at, "file"), Child(at, "file"));
    const std::string& writer = Text(Member(noted[i], at, "written"), Child(at, "written"));
    CheckLineText(file, Child(at, "file"));
    if (!index.is_number_unsigned() || index.get<std::size_t>() >= lines.size() ||
        lines[index.get<std::size_t>()] != writer)
      continue;
    lines[index.get<std::size_t>()] = file;
    original.lines.emplace_back(index.get<std::size_t>(), file);
  }
  if (original.lines.empty()) return;
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  CMemFile file(text);
  CArchive host(&file, CArchive::load);
  CArchiveEx archive(&host, CString(header.applName), header.applVersion, 0);
  archive.SetArchiveVersion(header.archiveVersion);
  CompositeValue again(*item.composite.Kind());
  CMemFile rewritten;
  CArchive store(&rewritten, CArchive::store);
  CArchiveEx writer(&store, CString(header.applName), header.applVersion, 0);
  writer.SetArchiveVersion(header.archiveVersion);
  const bool sound = again.Read(archive) == 1 && again.Write(writer) == 1;
  writer.Flush();  // the archive buffers what it writes itself
  if (!sound || rewritten.Contents() != written)
    throw Refused{pointer, "the file's lines do not read back as the composite"};
  item.original = std::move(original);
}

DocumentItem CompositeItem(const Json& item, const std::string& pointer,
                           const DocumentHeader& header, PointsMap& points, PointsKey key) {
  const std::string& type = Text(Member(item, pointer, "type"), Child(pointer, "type"));
  const CompositeKind* kind = FindCompositeKind(type);
  if (!kind) throw Refused{Child(pointer, "type"), "no composite is called \"" + type + '"'};
  const bool curve = kind == &KindOf<CCurveObj>();
  DocumentItem result;
  result.composite = CompositeValue(*kind);
  CompositeLines lines;
  AddLines(result.composite.Fields(header.archiveVersion), Member(item, pointer, "entries"),
           Child(pointer, "entries"), kind->name, curve, lines);
  std::string text;
  for (const std::string& line : lines.lines) text += line + "\r\n";
  // The values are those the library holds, already taken from an older application's file as
  // the reader does: they are read as of the newest application, so that no such rule applies
  // twice. The layout is the document's format's.
  CMemFile file(text);
  CArchive host(&file, CArchive::load);
  CArchiveEx archive(&host, CString(header.applName), kNewestApplicationVersion, 0);
  archive.SetArchiveVersion(header.archiveVersion);
  if (result.composite.Read(archive) != 1) {
    const CArchiveEx::Failure& failure = archive.GetLastFailure();
    const std::size_t line = static_cast<std::size_t>(std::max(failure.line, 1)) - 1;
    throw Refused{line < lines.pointers.size() ? lines.pointers[line] : pointer,
                  FailureReason(failure)};
  }
  const auto found = points.find(key);
  if (curve) {
    if (found != points.end()) result.points = std::move(found->second);
    CheckPoints(result.points, lines.pointCount, pointer);
  } else if (found != points.end() || item.contains("points")) {
    throw Refused{Child(pointer, "points"), "only a curve has points"};
  }
  if (item.contains("fileLines"))
    ApplyFileLines(item["fileLines"], Child(pointer, "fileLines"), header, result);
  return result;
}

DocumentItem Item(const Json& item, const std::string& pointer, const DocumentHeader& header,
                  PointsMap& points, PointsKey key) {
  if (!item.is_object()) throw Refused{pointer, "an object is expected"};
  if (item.contains("type")) return CompositeItem(item, pointer, header, points, key);
  if (points.contains(key) || item.contains("points"))
    throw Refused{Child(pointer, "points"), "only a curve has points"};
  DocumentItem result;
  if (item.contains("text")) {
    result.labelled = false;
    result.value = Text(item["text"], Child(pointer, "text"));
    std::string_view name;
    if (SectionLineName(result.value, name))
      throw Refused{Child(pointer, "text"), "a section line cannot stand as an entry"};
    CheckLineText(result.value, Child(pointer, "text"));
    return result;
  }
  result.label = Text(Member(item, pointer, "label"), Child(pointer, "label"));
  result.value = Text(Member(item, pointer, "value"), Child(pointer, "value"));
  if (result.label.find('=') != std::string::npos)
    throw Refused{Child(pointer, "label"), "a label cannot hold \"=\""};
  CheckLineText(result.label + '=' + result.value, Child(pointer, "value"));
  return result;
}

double Version(const Json& header, const char* key) {
  const Json& value = Member(header, "/header", key);
  const std::string at = Child("/header", key);
  if (!value.is_number() || !(value.get<double>() > 0))
    throw Refused{at, "a positive version number is expected"};
  return value.get<double>();
}

Document ToDocument(const Json& root, PointsMap& points) {
  Document document;
  DocumentHeader& header = document.header;
  if (root.is_object() && root.contains("header")) {
    const Json& json = root["header"];
    header.found = header.read = true;
    header.archiveVersion = Version(json, "archiveVersion");
    if (header.archiveVersion > CArchiveEx::ARCHIVE_VERSION)
      throw Refused{"/header/archiveVersion", "newer than the format this library writes"};
    header.applVersion = Version(json, "applicationVersion");
    header.applName = Text(Member(json, "/header", "applicationName"), "/header/applicationName");
    CheckLineText(header.applName, "/header/applicationName");
  }
  const Json& sections = Member(root, "", "sections");
  if (!sections.is_array()) throw Refused{"/sections", "an array of sections is expected"};
  for (std::size_t s = 0; s < sections.size(); ++s) {
    const std::string at = Child("/sections", s);
    const Json& json = sections[s];
    DocumentSection section;
    section.name = Text(Member(json, at, "name"), Child(at, "name"));
    // Only the lines before a file's first section line have neither a name nor a line.
    section.hasLine = s > 0 || !section.name.empty() || json.contains("line");
    if (section.hasLine) {
      std::string_view name;
      if (!SectionLineName('[' + section.name + ']', name) || name != section.name)
        throw Refused{Child(at, "name"), "not a name a section line can hold"};
      CheckLineText(section.name, Child(at, "name"));
    }
    const Json& items = Member(json, at, "items");
    if (!items.is_array()) throw Refused{Child(at, "items"), "an array of items is expected"};
    for (std::size_t i = 0; i < items.size(); ++i) {
      // The problems `dump` shows where they were found are notes, not content.
      if (items[i].is_object() && (items[i].contains("error") || items[i].contains("warning")))
        continue;
      section.items.push_back(Item(items[i], Child(Child(at, "items"), i), header, points, {s, i}));
    }
    document.sections.push_back(std::move(section));
  }
  if (header.found) {
    const auto isHeader = [](const DocumentSection& section) {
      return section.hasLine && EqualsNoCase(section.name, kArchiveHeaderSection);
    };
    const auto found = std::ranges::find_if(document.sections, isHeader);
    if (found == document.sections.end()) {
      DocumentSection section;
      section.name = kArchiveHeaderSection;
      const bool before = !document.sections.empty() && !document.sections.front().hasLine;
      document.sections.insert(document.sections.begin() + before, std::move(section));
    }
  }
  // Line numbers only pair the header with its section when saving.
  for (std::size_t s = 0; s < document.sections.size(); ++s) {
    DocumentSection& section = document.sections[s];
    section.line = static_cast<int>(s) + 1;
    if (header.found && header.line == 0 && section.hasLine &&
        EqualsNoCase(section.name, kArchiveHeaderSection))
      header.line = section.line;
  }
  return document;
}

}  // namespace

bool DocumentFromJson(std::istream& in, Document& document, std::string& error) {
  PointsMap points;
  SaxReader reader(points);
  try {
    const bool parsed = Json::sax_parse(in, &reader);
    if (!parsed || reader.refused) {
      const Refused refused = reader.refused.value_or(Refused{"", "not JSON"});
      error = refused.pointer.empty() ? refused.reason : refused.pointer + ": " + refused.reason;
      return false;
    }
    document = ToDocument(reader.root, points);
  } catch (const Refused& refused) {
    error = (refused.pointer.empty() ? "/" : refused.pointer) + ": " + refused.reason;
    return false;
  }
  return true;
}

int RunLoad(const LoadOptions& options, Output output) {
  const std::string name = options.input == "-" ? "standard input" : options.input;
  std::ifstream file;
  if (options.input != "-") {
    file.open(options.input, std::ios::binary);
    if (!file) {
      output.err << "labarc: " << name << ": cannot be read\n";
      return 2;
    }
  }
  Document document;
  std::string error;
  if (!DocumentFromJson(options.input == "-" ? std::cin : file, document, error)) {
    output.err << "labarc: " << name << ": " << error << "; nothing written\n";
    return 1;
  }
  if (!SaveDocument(document, options.output, error)) {
    output.err << "labarc: " << options.output << ": " << error << '\n';
    return 2;
  }
  return 0;
}

}  // namespace labarc::tool
