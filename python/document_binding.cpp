// labarc.load and labarc.Document: a whole document in memory, its header, its sections in file
// order and their items (entries, composites, curves), changed from Python and saved back.
#include <cerrno>

#include <pybind11/stl.h>

#include <labarc/curve/curve_obj.h>
#include <labarc/framework/ascii.h>

#include "internal/archive_text.h"
#include "internal/bindings.h"
#include "internal/errors.h"
#include "internal/values.h"

namespace py = pybind11;

namespace labarc::python {

namespace {

constexpr char kHeaderSection[] = "Archive Header";

struct HeaderRef {
  DocumentRef holder;
  DocumentHeader& Get() const { return holder->document.header; }
};
struct SectionsRef {
  DocumentRef holder;
};

DocumentRef NewDocument(py::handle application, double applicationVersion) {
  auto holder = std::make_shared<DocumentHolder>();
  DocumentHeader& header = holder->document.header;
  header.found = header.read = true;
  header.line = 1;
  header.applName = Bytes(application);
  CheckEntry("Application Name", true, header.applName, holder->file);
  header.applVersion = applicationVersion;
  DocumentSection section;
  section.name = kHeaderSection;
  section.line = header.line;
  holder->document.sections.push_back(std::move(section));
  return holder;
}

// The position of the first section of `name` (any letter case), or the sections' count. The
// lines before the first section line have no name to be found by.
std::size_t FindSection(const Document& document, std::string_view name) {
  const std::vector<DocumentSection>& sections = document.sections;
  for (std::size_t index = 0; index < sections.size(); ++index)
    if (sections[index].hasLine && EqualsNoCase(sections[index].name, name)) return index;
  return sections.size();
}

py::list Curves(const DocumentRef& holder, std::size_t section) {
  py::list curves;
  const DocumentSection& held = holder->document.sections[section];
  for (std::size_t item = 0; item < held.items.size(); ++item)
    if (held.items[item].composite.As<CCurveObj>())
      curves.append(CurveRef{{holder, section, item}});
  return curves;
}

// The first plain labelled entry of `label` (any letter case), or the items' count.
std::size_t FindEntry(const DocumentSection& section, std::string_view label) {
  for (std::size_t item = 0; item < section.items.size(); ++item) {
    const DocumentItem& held = section.items[item];
    if (!held.IsComposite() && held.labelled && EqualsNoCase(held.label, label)) return item;
  }
  return section.items.size();
}

std::size_t SectionIndex(const DocumentRef& holder, py::handle key) {
  const std::vector<DocumentSection>& sections = holder->document.sections;
  if (PyLong_Check(key.ptr())) {
    auto index = key.cast<std::ptrdiff_t>();
    const auto count = static_cast<std::ptrdiff_t>(sections.size());
    if (index < 0) index += count;
    if (index < 0 || index >= count) throw py::index_error("section index out of range");
    return static_cast<std::size_t>(index);
  }
  const std::size_t found = FindSection(holder->document, Bytes(key));
  if (found == sections.size()) throw py::key_error(std::string(py::str(key)));
  return found;
}

std::size_t AddItem(const SectionRef& section, DocumentItem item) {
  std::vector<DocumentItem>& items = section.Get().items;
  items.push_back(std::move(item));
  return items.size() - 1;
}

void SetEntry(const EntryRef& entry, py::handle value) {
  DocumentItem& item = entry.Get();
  std::string text = EntryText(value);
  CheckEntry(item.label, item.labelled, text, entry.holder->file);
  item.value = std::move(text);
}

void DefineHeader(py::module_& module) {
  py::class_<HeaderRef>(module, "Header", "The document's \"Archive Header\" values.")
      .def_property_readonly(
          "found", [](const HeaderRef& header) { return header.Get().found; },
          "Whether the file holds an \"Archive Header\" section.")
      .def_property_readonly(
          "archive_version", [](const HeaderRef& header) { return header.Get().archiveVersion; },
          "The archive format version.")
      .def_property(
          "application", [](const HeaderRef& header) { return Text(header.Get().applName); },
          [](const HeaderRef& header, py::handle name) {
            std::string text = Bytes(name);
            CheckEntry("Application Name", true, text, header.holder->file);
            header.Get().applName = std::move(text);
          },
          "The writing application's name.")
      .def_property(
          "application_version", [](const HeaderRef& header) { return header.Get().applVersion; },
          [](const HeaderRef& header, double version) { header.Get().applVersion = version; },
          "The writing application's version.")
      .def_property_readonly(
          "line", [](const HeaderRef& header) { return header.Get().line; },
          "The line of the header's section line; 0 when there is none.")
      .def("__repr__", [](const HeaderRef& header) {
        return py::str("<labarc.Header {!r} {}, format {}>")
            .format(Text(header.Get().applName), header.Get().applVersion,
                    header.Get().archiveVersion);
      });
}

void DefineItems(py::module_& module) {
  py::class_<EntryRef>(module, "Entry", "A plain entry line: \"label=text\", or text alone.")
      .def_property_readonly(
          "label",
          [](const EntryRef& entry) -> py::object {
            if (!entry.Get().labelled) return py::none();
            return Text(entry.Get().label);
          },
          "The label as the file spells it; None for a line without \"=\".")
      .def_property(
          "text", [](const EntryRef& entry) { return Text(entry.Get().value); }, &SetEntry,
          "The value's text. Setting it takes str, bytes, int, float or a tuple of "
          "numbers; ArchiveError when the text cannot be stored on one line.")
      .def_property_readonly(
          "line", [](const EntryRef& entry) { return entry.Get().line; },
          "Its line in the file it was loaded from; 0 for a new entry.")
      .def("__repr__", [](const EntryRef& entry) {
        return py::str("<labarc.Entry {!r}={!r}>")
            .format(entry.Get().labelled ? py::object(Text(entry.Get().label)) : py::none(),
                    Text(entry.Get().value));
      });

  py::class_<CompositeRef>(module, "Composite",
                           "A composite value other than a curve (a font, an axis, a window...).")
      .def_property_readonly(
          "kind",
          [](const CompositeRef& composite) { return composite.Get().composite.Kind()->name; },
          "Its kind: \"window\", \"axis\", \"font\", ...")
      .def_property_readonly(
          "fields",
          [](const CompositeRef& composite) {
            return FieldDict(
                composite.Get().composite.Fields(composite.holder->document.header.archiveVersion));
          },
          "Its entries as a new dict by label; nested composites as dicts by their kind.")
      .def_property_readonly(
          "line", [](const CompositeRef& composite) { return composite.Get().line; },
          "Its first line in the file it was loaded from.")
      .def("__repr__", [](const CompositeRef& composite) {
        return py::str("<labarc.Composite {} at line {}>")
            .format(composite.Get().composite.Kind()->name, composite.Get().line);
      });
}

void DefineSection(py::module_& module) {
  py::class_<SectionRef>(module, "Section",
                         "A section: its name and its items (Entry, Composite, Curve) in order.")
      .def_property_readonly(
          "name", [](const SectionRef& section) { return Text(section.Get().name); },
          "The name as the file spells it; empty for lines before the first section.")
      .def_property_readonly(
          "line", [](const SectionRef& section) { return section.Get().line; },
          "The line of its section line; 0 for a new section.")
      .def_property_readonly(
          "items",
          [](const SectionRef& section) {
            py::list items;
            for (std::size_t item = 0; item < section.Get().items.size(); ++item)
              items.append(ItemObject(section.holder, section.section, item));
            return items;
          },
          "Its entries, composites and curves in file order, as a new list.")
      .def_property_readonly(
          "curves",
          [](const SectionRef& section) { return Curves(section.holder, section.section); },
          "Its curves in file order.")
      .def("__len__", [](const SectionRef& section) { return section.Get().items.size(); })
      .def(
          "__contains__",
          [](const SectionRef& section, py::handle label) {
            return FindEntry(section.Get(), Bytes(label)) < section.Get().items.size();
          },
          "Whether a plain entry of this label (any letter case) stands in the section.")
      .def(
          "__getitem__",
          [](const SectionRef& section, py::handle label) {
            const std::size_t item = FindEntry(section.Get(), Bytes(label));
            if (item == section.Get().items.size())
              throw py::key_error(std::string(py::str(label)));
            return Text(section.Get().items[item].value);
          },
          "The text of the first plain entry of this label (any letter case); KeyError if none.")
      .def(
          "__setitem__",
          [](const SectionRef& section, py::handle label, py::handle value) {
            const std::string labelText = Bytes(label);
            std::size_t item = FindEntry(section.Get(), labelText);
            if (item == section.Get().items.size()) {
              DocumentItem added;
              added.label = labelText;
              CheckEntry(labelText, true, "", section.holder->file);
              item = AddItem(section, std::move(added));
            }
            SetEntry(EntryRef{{section.holder, section.section, item}}, value);
          },
          "Sets the text of the first plain entry of this label, or adds one at the end.")
      .def(
          "add_entry",
          [](const SectionRef& section, py::handle label, py::handle value) {
            DocumentItem added;
            added.labelled = !label.is_none();
            if (added.labelled) added.label = Bytes(label);
            added.value = EntryText(value);
            CheckEntry(added.label, added.labelled, added.value, section.holder->file);
            return EntryRef{{section.holder, section.section, AddItem(section, std::move(added))}};
          },
          py::arg("label"), py::arg("value"),
          "Adds an entry at the end (label None: a line of the value alone) and returns it.")
      .def(
          "add_curve",
          [](const SectionRef& section, py::handle name, py::handle x, py::handle y,
             py::handle flags) {
            DocumentItem item = NewCurveItem(section.holder, name, x, y, flags);
            return CurveRef{{section.holder, section.section, AddItem(section, std::move(item))}};
          },
          py::arg("name"), py::arg("x"), py::arg("y"), py::arg("flags") = py::none(),
          "Adds a curve at the end with copies of x and y and flags (None: 1 for every point) "
          "and the default characteristics, and returns it.")
      .def("__repr__", [](const SectionRef& section) {
        return py::str("<labarc.Section {!r}, {} items>")
            .format(Text(section.Get().name), section.Get().items.size());
      });

  py::class_<SectionsRef>(module, "Sections",
                          "A document's sections in file order; also by name, in any letter case.")
      .def("__len__",
           [](const SectionsRef& sections) { return sections.holder->document.sections.size(); })
      .def(
          "__getitem__",
          [](const SectionsRef& sections, py::handle key) {
            return SectionRef{sections.holder, SectionIndex(sections.holder, key)};
          },
          "A section by position, or the first of a name (any letter case); KeyError if none.")
      .def("__contains__",
           [](const SectionsRef& sections, py::handle name) {
             const Document& document = sections.holder->document;
             return FindSection(document, Bytes(name)) < document.sections.size();
           })
      .def("__iter__",
           [](const SectionsRef& sections) {
             py::list all;
             for (std::size_t i = 0; i < sections.holder->document.sections.size(); ++i)
               all.append(SectionRef{sections.holder, i});
             return py::iter(all);
           })
      .def(
          "names",
          [](const SectionsRef& sections) {
            py::list names;
            for (const DocumentSection& section : sections.holder->document.sections)
              names.append(Text(section.name));
            return names;
          },
          "The sections' names in file order.");
}

void Save(const DocumentRef& holder, py::handle path) {
  const std::string file = PathOf(path);
  std::string error;
  errno = 0;
  // The lock stays held: another thread must not change the document while it is written.
  if (!SaveDocument(holder->document, file, error)) {
    if (errno != 0) RaiseOsError(errno, file);
    Raise(py::module_::import("builtins").attr("OSError")(file + ": " + error));
  }
  holder->file = file;
}

DocumentRef Load(py::handle path, py::handle application, bool strict, bool keepText) {
  const std::string file = PathOf(path);
  CheckReadable(file);
  WalkOptions options;
  if (!application.is_none()) options.applName = Bytes(application);
  options.comparePointText = keepText;
  auto holder = std::make_shared<DocumentHolder>();
  holder->file = file;
  std::string error;
  bool loaded = false;
  {
    py::gil_scoped_release unlocked;
    loaded = LoadDocument(DocumentSource::File(file), options, holder->document, error);
  }
  if (!loaded) Raise(py::module_::import("builtins").attr("OSError")(file + ": " + error));
  if (strict)
    for (const Diagnostic& diagnostic : holder->document.diagnostics)
      if (!diagnostic.warning) RaiseDiagnostic(diagnostic, file);
  return holder;
}

}  // namespace

py::object ItemObject(const DocumentRef& holder, std::size_t section, std::size_t item) {
  const DocumentItem& held = holder->document.sections[section].items[item];
  if (held.composite.As<CCurveObj>()) return py::cast(CurveRef{{holder, section, item}});
  if (held.IsComposite()) return py::cast(CompositeRef{{holder, section, item}});
  return py::cast(EntryRef{{holder, section, item}});
}

std::string PathOf(py::handle path) {
  return Bytes(py::module_::import("os").attr("fsdecode")(path));
}

void DefineDocument(py::module_& module) {
  DefineHeader(module);
  DefineItems(module);
  DefineSection(module);

  py::class_<DocumentHolder, DocumentRef>(
      module, "Document",
      "A whole document in memory: its header, its sections in file order with their entries, "
      "composites and curves, and the problems found while loading it.")
      .def(py::init(&NewDocument), py::arg("application"), py::arg("application_version"),
           "A new document with only its header: the application's name and version.")
      .def_property_readonly(
          "header", [](const DocumentRef& holder) { return HeaderRef{holder}; },
          "The \"Archive Header\" values.")
      .def_property_readonly(
          "sections", [](const DocumentRef& holder) { return SectionsRef{holder}; },
          "The sections in file order, the header's first; also by name (any letter case).")
      .def_property_readonly(
          "curves",
          [](const DocumentRef& holder) {
            py::list curves;
            for (std::size_t section = 0; section < holder->document.sections.size(); ++section)
              for (py::handle curve : Curves(holder, section)) curves.append(curve);
            return curves;
          },
          "Every curve of the document in file order.")
      .def(
          "curve",
          [](const DocumentRef& holder, py::handle name) {
            const std::string wanted = Bytes(name);
            const auto& sections = holder->document.sections;
            for (std::size_t section = 0; section < sections.size(); ++section)
              for (std::size_t item = 0; item < sections[section].items.size(); ++item)
                if (const CCurveObj* curve =
                        sections[section].items[item].composite.As<CCurveObj>())
                  if (curve->GetName().View() == wanted) return CurveRef{{holder, section, item}};
            throw py::key_error(std::string(py::str(name)));
          },
          py::arg("name"), "The first curve of this name (exact); KeyError if none.")
      .def_property_readonly(
          "diagnostics",
          [](const DocumentRef& holder) {
            py::list all;
            for (const Diagnostic& diagnostic : holder->document.diagnostics) {
              py::object error = ArchiveErrorFor(diagnostic, holder->file);
              error.attr("warning") = diagnostic.warning;
              all.append(error);
            }
            return all;
          },
          "The problems found while loading, as ArchiveError objects (not raised) whose "
          "`warning` tells a warning from an error.")
      .def_property_readonly(
          "file", [](const DocumentRef& holder) { return holder->file; },
          "The path it was loaded from or last saved to; empty for a new document.")
      .def(
          "add_section",
          [](const DocumentRef& holder, py::handle name) {
            DocumentSection section;
            section.name = Bytes(name);
            CheckSectionName(section.name, holder->file);
            holder->document.sections.push_back(std::move(section));
            return SectionRef{holder, holder->document.sections.size() - 1};
          },
          py::arg("name"), "Adds a section at the end and returns it.")
      .def("save", &Save, py::arg("path"),
           "Writes the document to `path` through the library's writers. The file is replaced "
           "only by a complete new one: on any failure (OSError) the old file stays as it was.")
      .def("__repr__", [](const DocumentRef& holder) {
        return py::str("<labarc.Document {!r}, {} sections>")
            .format(holder->file, holder->document.sections.size());
      });

  module.def("load", &Load, py::arg("path"), py::arg("application") = py::none(), py::kw_only(),
             py::arg("strict") = true, py::arg("keep_text") = false,
             "Loads the whole document at `path`. `application`, when given, must be contained "
             "in the header's application name. A missing file raises FileNotFoundError; a "
             "damaged one ArchiveError for its first error, unless strict is False: then it "
             "loads with its problems in `diagnostics`, damaged composites as plain entries. "
             "With keep_text, curves' point lines are compared with the library's text of their "
             "values, so that numbers spelt otherwise (edited by hand) are reported as warnings "
             "and saved back as they stood; without it (the default) a large curve loads in "
             "about half the time and such numbers are saved in the library's spelling, the "
             "values bit for bit the same.");
}

}  // namespace labarc::python
