#include <labarc/document/document.h>

#include <climits>
#include <functional>

#include <labarc/archive/line_rules.h>
#include <labarc/curve/curve_obj.h>
#include <labarc/framework/ascii.h>
#include <labarc/framework/exceptions.h>
#include <labarc/framework/mem_file.h>
#include <labarc/framework/save_file.h>

namespace labarc {

namespace {

std::size_t HashOf(std::string_view text) { return std::hash<std::string_view>{}(text); }

OriginalLines Original(const std::vector<std::string>& lines, const std::string& written) {
  OriginalLines original;
  original.writtenHash = HashOf(written);
  original.writtenSize = written.size();
  const std::vector<std::string_view> writtenLines = SplitWrittenLines(written);
  original.whole = writtenLines.size() != lines.size();
  for (std::size_t i = 0; i < lines.size(); ++i)
    if (original.whole || lines[i] != writtenLines[i]) original.lines.emplace_back(i, lines[i]);
  return original;
}

std::string Where(const DocumentSection& section, const DocumentItem& item) {
  std::string where = "section \"" + section.name + "\"";
  if (item.line) where += ", item of line " + std::to_string(item.line);
  return where;
}

// The composite's text as the writer makes it, in an archive of the document's versions; false
// with the library's reason when it cannot be written.
bool Written(const Document& document, const DocumentItem& item, std::string& text,
             std::string& reason) {
  CMemFile file;
  CArchive host(&file, CArchive::store);
  CArchiveEx archive(&host, CString(document.header.applName), document.header.applVersion, 0);
  archive.SetArchiveVersion(document.header.archiveVersion);
  int result = 0;
  if (const CCurveObj* characteristics = item.composite.As<CCurveObj>()) {
    CCurveObj whole;
    if (!JoinCurve(*characteristics, item.points, whole)) {
      reason = "the curve's x, y and flag arrays differ in length";
      return false;
    }
    result = archive.Write(whole);
  } else {
    result = item.composite.Write(archive);
  }
  if (result != 1) {
    reason = CArchiveEx::FailureKindText(archive.GetLastFailure().kind);
    return false;
  }
  archive.Flush();
  text = file.Contents();
  return true;
}

bool WriteComposite(CArchiveEx& archive, const Document& document, const DocumentSection& section,
                    const DocumentItem& item, std::string& error) {
  std::string text, reason;
  if (!Written(document, item, text, reason)) {
    error = Where(section, item) + ": " + reason;
    return false;
  }
  std::vector<std::string_view> lines = SplitWrittenLines(text);
  const OriginalLines& original = item.original;
  if (!original.lines.empty() && original.writtenSize == text.size() &&
      original.writtenHash == HashOf(text)) {
    if (original.whole) lines.clear();
    for (const auto& [index, line] : original.lines) {
      if (original.whole)
        lines.push_back(line);
      else if (index < lines.size())
        lines[index] = line;
    }
  }
  for (std::string_view line : lines) {
    CString ended(line);
    ended += "\r\n";
    archive.WriteString(ended);
  }
  return true;
}

bool WriteItem(CArchiveEx& archive, const Document& document, const DocumentSection& section,
               const DocumentItem& item, std::string& error) {
  if (item.IsComposite()) return WriteComposite(archive, document, section, item, error);
  CString value(item.value);
  const int result = item.labelled ? archive.Write(value, CString(item.label))
                                   : archive.Write(value, static_cast<CString*>(nullptr));
  if (result == 1) return true;
  error = Where(section, item) + ": " + CArchiveEx::FailureKindText(archive.GetLastFailure().kind);
  return false;
}

// Builds the document as the walk goes.
class Builder : public WalkVisitor {
 public:
  explicit Builder(Document& document) : m_document(document) {}

  void OnHeader(const DocumentHeader& header) override { m_document.header = header; }
  void OnSectionLine(int line, std::string_view name, std::string_view text) override {
    DocumentSection section;
    section.name = name;
    section.line = line;
    if (text.size() != name.size() + 2) section.text = text;  // blanks after "]"
    m_document.sections.push_back(std::move(section));
  }
  void OnEntry(const DocumentEntry& entry) override {
    DocumentItem item;
    item.line = entry.line;
    item.labelled = entry.labelled;
    item.label = entry.label;
    item.value = entry.value;
    Current().items.push_back(std::move(item));
  }
  void OnComposite(DocumentComposite& composite) override {
    DocumentItem item;
    item.line = composite.line;
    item.composite = std::move(*composite.value);
    if (composite.points) item.points = std::move(*composite.points);
    if (composite.lines && composite.written)
      item.original = Original(*composite.lines, *composite.written);
    Current().items.push_back(std::move(item));
  }
  bool OnDiagnostic(const Diagnostic& diagnostic) override {
    m_document.diagnostics.push_back(diagnostic);
    return true;
  }

 private:
  DocumentSection& Current() {
    if (m_document.sections.empty()) {
      DocumentSection before;
      before.hasLine = false;
      m_document.sections.push_back(std::move(before));
    }
    return m_document.sections.back();
  }

  Document& m_document;
};

// Runs `save`; a framework exception it raises (a full disk, a failed sync) becomes `error`.
template <class Save>
bool Guarded(std::string& error, Save save) {
  try {
    return save();
  } catch (CException* failure) {
    error = failure->GetErrorMessage().GetString();
    failure->Delete();
    return false;
  }
}

}  // namespace

bool JoinCurve(const CCurveObj& characteristics, const CurvePoints& points, CCurveObj& curve) {
  if (points.y.size() != points.size() || points.flags.size() != points.size() ||
      points.size() > static_cast<std::size_t>(INT_MAX))
    return false;
  const int count = static_cast<int>(points.size());
  CCurveObj whole(count);
  whole.CopyCurveCharacteristics(const_cast<CCurveObj*>(&characteristics), 0);
  whole.ReservePoints(count);
  for (int i = 0; i < count; ++i) {
    CURVEPOINT point{static_cast<char>(points.flags[i]), points.x[i], points.y[i]};
    whole.SetCurvePoint(i, point);
  }
  curve = std::move(whole);
  return true;
}

int Document::ErrorCount() const {
  int errors = 0;
  for (const Diagnostic& diagnostic : diagnostics) errors += !diagnostic.warning;
  return errors;
}

const DocumentSection* Document::FindSection(std::string_view name) const {
  for (const DocumentSection& section : sections)
    if (section.hasLine && EqualsNoCase(section.name, name)) return &section;
  return nullptr;
}

DocumentSection* Document::FindSection(std::string_view name) {
  return const_cast<DocumentSection*>(std::as_const(*this).FindSection(name));
}

bool LoadDocument(const DocumentSource& source, const WalkOptions& options, Document& document,
                  std::string& error) {
  Document loaded;
  Builder builder(loaded);
  if (!Walk(source, options, builder, error)) return false;
  document = std::move(loaded);
  return true;
}

bool SaveDocument(const Document& document, CFile& file, std::string& error) {
  return Guarded(error, [&] {
    CArchive host(&file, CArchive::store);
    {
      const DocumentHeader& header = document.header;
      CArchiveEx archive(&host, CString(header.applName), header.applVersion, 0);
      archive.SetArchiveVersion(header.archiveVersion);
      for (const DocumentSection& section : document.sections) {
        int result = 1;
        if (section.hasLine && header.read && section.line == header.line)
          result = archive.WriteHeader();
        else if (section.hasLine && !section.text.empty())
          result = archive.WriteString(CString(section.text + "\r\n"));
        else if (section.hasLine)
          result = archive.WriteSectionHeader(CString(section.name));
        if (result != 1) {
          error = "section \"" + section.name +
                  "\": " + CArchiveEx::FailureKindText(archive.GetLastFailure().kind);
          return false;
        }
        for (const DocumentItem& item : section.items)
          if (!WriteItem(archive, document, section, item, error)) return false;
      }
      archive.Flush();  // here, where a failing file still raises
    }
    host.Close();
    return true;
  });
}

bool SaveDocument(const Document& document, const std::string& path, std::string& error) {
  return Guarded(error, [&] {
    CSaveFile file;
    if (!file.Open(path.c_str())) {
      error = "cannot be written";
      return false;
    }
    if (!SaveDocument(document, static_cast<CFile&>(file), error)) return false;
    file.Commit();
    return true;
  });
}

}  // namespace labarc
