// How the Python objects hold a document: sections, items, curves and numpy arrays all refer to
// it through one shared holder, so the document lives as long as any of them does.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include <labarc/document/document.h>

namespace labarc::python {

struct DocumentHolder {
  Document document;
  std::string file;  // the path it was loaded from or last saved to, named in error reports
  // Point arrays a curve gave up for new ones: numpy arrays may still look into them, so they
  // stay until the document goes.
  std::vector<CurvePoints> retired;
};
using DocumentRef = std::shared_ptr<DocumentHolder>;

// A section by its position: sections and items are only ever added at the end, so a position,
// unlike a pointer, stays valid as the document grows.
struct SectionRef {
  DocumentRef holder;
  std::size_t section = 0;

  DocumentSection& Get() const { return holder->document.sections[section]; }
};

struct ItemRef {
  DocumentRef holder;
  std::size_t section = 0;
  std::size_t item = 0;

  DocumentSection& Section() const { return holder->document.sections[section]; }
  DocumentItem& Get() const { return Section().items[item]; }
};

// The three shapes an item takes in Python.
struct EntryRef : ItemRef {};
struct CompositeRef : ItemRef {};
struct CurveRef : ItemRef {};

}  // namespace labarc::python
