// labarc.iter_curves: the curves of a file one at a time, in bounded memory. The library's walk
// runs on a thread of its own and hands each curve over through a slot of one: it waits while
// Python has not taken the last one, so at most one curve beyond those Python holds is in memory.
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>

#include <labarc/curve/curve_obj.h>

#include "internal/bindings.h"
#include "internal/errors.h"
#include "internal/values.h"

namespace py = pybind11;

namespace labarc::python {

namespace {

class CurveStream : WalkVisitor {
 public:
  CurveStream(std::string file, WalkOptions options)
      : m_file(std::move(file)), m_options(std::move(options)), m_thread([this] { Run(); }) {}
  CurveStream(const CurveStream&) = delete;
  CurveStream& operator=(const CurveStream&) = delete;

  ~CurveStream() {
    {
      std::lock_guard lock(m_mutex);
      m_cancelled = true;
    }
    m_changed.notify_all();
    m_thread.join();
  }

  // The next curve; StopIteration at the end, ArchiveError at the file's first error.
  py::object Next() {
    std::optional<DocumentItem> item;
    std::string sectionName;
    {
      py::gil_scoped_release unlocked;
      std::unique_lock lock(m_mutex);
      m_changed.wait(lock, [this] { return m_next || m_finished; });
      item.swap(m_next);
      sectionName = m_nextSection;
    }
    m_changed.notify_all();
    if (item) {
      auto holder = std::make_shared<DocumentHolder>();
      holder->file = m_file;
      holder->document.header = m_header;
      DocumentSection section;
      section.name = std::move(sectionName);
      section.items.push_back(std::move(*item));
      holder->document.sections.push_back(std::move(section));
      return ItemObject(holder, 0, 0);
    }
    if (m_error) RaiseDiagnostic(*std::exchange(m_error, std::nullopt), m_file);
    if (!m_failure.empty())
      Raise(py::module_::import("builtins").attr("OSError")(m_file + ": " + m_failure));
    throw py::stop_iteration();
  }

 private:
  struct Cancelled {};

  void Run() {
    std::string failure;
    try {
      if (!Walk(DocumentSource::File(m_file), m_options, *this, failure) && failure.empty())
        failure = "cannot be read";
    } catch (const Cancelled&) {
    } catch (const std::exception& error) {
      failure = error.what();
    } catch (...) {
      failure = "cannot be read";
    }
    {
      std::lock_guard lock(m_mutex);
      m_failure = std::move(failure);
      m_finished = true;
    }
    m_changed.notify_all();
  }

  void OnHeader(const DocumentHeader& header) override {
    std::lock_guard lock(m_mutex);
    m_header = header;
  }
  void OnSection(int, std::string_view name) override { m_section = name; }

  void OnComposite(DocumentComposite& composite) override {
    if (!composite.value->As<CCurveObj>()) return;
    DocumentItem item;
    item.line = composite.line;
    item.composite = std::move(*composite.value);
    item.points = std::move(*composite.points);
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return !m_next || m_cancelled; });
    if (m_cancelled) throw Cancelled{};
    m_next = std::move(item);
    m_nextSection = m_section;
    lock.unlock();
    m_changed.notify_all();
  }

  bool OnDiagnostic(const Diagnostic& diagnostic) override {
    if (diagnostic.warning) return true;
    std::lock_guard lock(m_mutex);
    m_error = diagnostic;
    return false;  // the first error ends the walk: the curves before it are still handed over
  }

  void OnProgress(std::uint64_t, std::uint64_t) override {
    std::lock_guard lock(m_mutex);
    if (m_cancelled) throw Cancelled{};
  }

  const std::string m_file;
  const WalkOptions m_options;
  std::string m_section;  // the walk thread's alone

  std::mutex m_mutex;  // guards what follows
  std::condition_variable m_changed;
  DocumentHeader m_header;
  std::optional<DocumentItem> m_next;
  std::string m_nextSection;
  std::optional<Diagnostic> m_error;
  std::string m_failure;
  bool m_finished = false;
  bool m_cancelled = false;

  std::thread m_thread;  // last: it starts once everything above is made
};

}  // namespace

void DefineCurveStream(py::module_& module) {
  py::class_<CurveStream>(module, "CurveStream",
                          "An iterator over the curves of a file, one at a time.")
      .def("__iter__", [](py::handle self) { return self; })
      .def("__next__", &CurveStream::Next);

  module.def(
      "iter_curves",
      [](py::handle path, py::handle application) {
        const std::string file = PathOf(path);
        CheckReadable(file);
        WalkOptions options;
        if (!application.is_none()) options.applName = Bytes(application);
        options.comparePointText = false;  // a stream's curves are for their values
        return std::make_unique<CurveStream>(file, std::move(options));
      },
      py::arg("path"), py::arg("application") = py::none(),
      "Yields the curves of the file at `path` one at a time, in file order, holding at most "
      "one curve beyond those the caller keeps: for files too large to load whole. Each curve "
      "is a Curve of its own small document. The file's first error raises ArchiveError after "
      "the curves before it; a missing file raises FileNotFoundError at once.");
}

}  // namespace labarc::python
