// Whole documents against the formatting floor, side by side in one benchmark so that the ratio
// is measured under the same machine load. A document is the archive header and one section of
// curves; each curve carries its name, two titles, its other strings, 20 int entries, 4 colour
// entries and its points. Two sizes: a large document (10 curves of 100 000 points) and a small
// one (50 curves of 100 points), as an application saves many of.
//
// The floor is the same values and nothing else, on one core: formatted with std::to_chars into
// one buffer that is kept across iterations and written with one fwrite; read with one fread into
// a kept buffer and parsed with std::from_chars into a kept document. Each iteration runs the
// library and the floor once, so both see the same machine load. The iteration time is the
// library's wall time; the counters give the floor's wall time, the processor time of both (the
// whole process's, so that the library's includes its worker threads), and the two ratios to the
// floor: `ratio` of wall times (what a user waits) and `cpu_ratio` of processor times (what the
// machine pays). On a loaded machine the processor times vary far less than the wall times.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <array>
#include <charconv>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include <labarc/labarc.h>

namespace {

constexpr char kSection[] = "Curves";
constexpr char kCountLabel[] = "Curve Count";

struct Shape {
  int curves;
  int points;
};
constexpr Shape kLarge{10, 100'000};
constexpr Shape kSmall{50, 100};

std::string BenchPath(const char* what) {
  return "/dev/shm/labarc_doc_" + std::string(what) + "_" + std::to_string(::getpid()) + ".txt";
}

// A deterministic source of doubles with full 17-digit texts.
class Numbers {
 public:
  double Next() {
    m_state ^= m_state << 13;
    m_state ^= m_state >> 7;
    m_state ^= m_state << 17;
    return static_cast<double>(m_state >> 11) / 9007199254740992.0;
  }
  int NextInt(int below) { return static_cast<int>(Next() * below); }

 private:
  std::uint64_t m_state = 0x9E3779B97F4A7C15;
};

std::vector<CCurveObj> MakeDocument(Shape shape) {
  Numbers numbers;
  std::vector<CCurveObj> curves;
  for (int c = 0; c < shape.curves; ++c) {
    CCurveObj& curve = curves.emplace_back(shape.points);
    const std::string n = std::to_string(c);
    curve.SetName(CString(("Dose response, series " + n).c_str()));
    curve.SetIdentifier(CString(("CRV-" + n).c_str()));
    curve.SetEntityKey(CString(("Plate " + n).c_str()));
    curve.SetEntitySubKey(CString(("Well B" + n).c_str()));
    curve.SetHasEntitySubKey(1);
    curve.SetXTitle("Concentration (mol/L)");
    curve.SetYTitle("Response (relative units)");
    curve.SetDraw(1);
    curve.SetSelectable(numbers.NextInt(2));
    curve.SetLineStyle(numbers.NextInt(5));
    curve.SetLineWidth(1 + numbers.NextInt(4));
    curve.SetLineColor(RGB(numbers.NextInt(256), numbers.NextInt(256), numbers.NextInt(256)));
    curve.SetSymbolOn(1);
    curve.SetSymbolType(numbers.NextInt(12));
    curve.SetSymbolColor(RGB(numbers.NextInt(256), numbers.NextInt(256), numbers.NextInt(256)));
    curve.SetSymbolIntervals(1 + numbers.NextInt(10));
    curve.SetSymbolDeselectColor(RGB(200, 200, numbers.NextInt(256)));
    curve.SetXIncrementType('J');
    curve.SetXIncrement(CCurveObj::LOGARITHMIC);
    for (int i = 0; i < shape.points; ++i) {
      CURVEPOINT point{static_cast<char>(i % 50 == 0 ? 0 : 1), i * 0.01 + numbers.Next(),
                       numbers.Next() * 2000 - 1000};
      curve.SetCurvePoint(i, point);
    }
    curve.ScaleCurve();  // as a read curve is
  }
  return curves;
}

// ---- The library ----

void StoreDocument(const std::string& path, std::vector<CCurveObj>& curves) {
  CFile file(path.c_str(), CFile::modeCreate | CFile::modeWrite);
  CArchive host(&file, CArchive::store);
  CString name = "Bench Plotter";
  CArchiveEx ar(&host, name, 4.0, 0);
  bool ok = ar.WriteHeader() == 1 && ar.WriteSectionHeader(CString(kSection)) == 1 &&
            ar.Write(static_cast<int>(curves.size()), CString(kCountLabel)) == 1;
  for (CCurveObj& curve : curves) ok = ok && ar.Write(curve) == 1;
  host.Close();
  if (!ok) std::abort();
}

bool LoadDocument(const std::string& path, std::vector<CCurveObj>& curves) {
  CFile file(path.c_str(), CFile::modeRead);
  CArchive host(&file, CArchive::load);
  CString name = "Bench Plotter";
  CArchiveEx ar(&host, name, 4.0, 0);
  int count = 0;
  if (ar.ReadHeader() != 1 || ar.GoToSection(CString(kSection)) != 1 ||
      ar.Read(count, CString(kCountLabel)) != 1 || count < 0 || count > 1000)
    return false;
  curves.resize(static_cast<std::size_t>(count));
  for (CCurveObj& curve : curves)
    if (ar.Read(curve) != 1) return false;
  return true;
}

// ---- The floor: the same values, each followed by a line feed (points by a blank) ----

struct FloorCurve {
  std::array<std::string, 7> strings;
  std::array<int, 20> ints{};
  std::array<std::array<unsigned char, 3>, 4> colours{};
  std::vector<double> x, y;
  std::vector<unsigned char> flags;
  bool operator==(const FloorCurve&) const = default;
};

std::array<unsigned char, 3> Components(unsigned long colour) {
  return {GetRValue(colour), GetGValue(colour), GetBValue(colour)};
}

std::vector<FloorCurve> FloorValues(const std::vector<CCurveObj>& curves) {
  std::vector<FloorCurve> floor;
  for (const CCurveObj& c : curves) {
    FloorCurve& f = floor.emplace_back();
    f.strings = {c.GetName().Str(),
                 c.GetIdentifier().Str(),
                 (c.GetEntityKey() + "::" + c.GetEntitySubKey()).Str(),
                 std::string(1, c.GetXIncrementType()),
                 c.GetXTitle().Str(),
                 std::string(1, c.GetYIncrementType()),
                 c.GetYTitle().Str()};
    f.ints = {c.GetNumPoints(),      c.GetDraw(),         c.GetSelectable(),
              c.GetMovable(),        c.GetReadOnly(),     c.GetEditName(),
              c.GetHideFromLegend(), c.GetXOr(),          c.GetNot(),
              c.GetYAxis(),          c.GetLineOn(),       c.GetLineStyle(),
              c.GetLineType(),       c.GetLineWidth(),    c.GetSymbolOn(),
              c.GetSymbolType(),     c.GetSymbolFactor(), c.GetSymbolIntervals(),
              c.GetXIncrement(),     c.GetYIncrement()};
    f.colours = {Components(c.GetLineColor()), Components(c.GetSymbolColor()),
                 Components(c.GetSymbolDeselectColor()), Components(c.GetSymbolDeselectColor())};
    for (int i = 0; i < c.GetNumPoints(); ++i) {
      CURVEPOINT point;
      c.GetCurvePoint(i, &point);
      f.x.push_back(point.dX);
      f.y.push_back(point.dY);
      f.flags.push_back(static_cast<unsigned char>(point.cFlag));
    }
  }
  return floor;
}

class FloorWriter {
 public:
  void Store(const std::string& path, const std::vector<FloorCurve>& curves) {
    if (m_text.empty()) m_text.resize(EnoughRoom(curves));
    m_at = m_text.data();
    for (const FloorCurve& curve : curves) {
      for (const std::string& text : curve.strings) {
        std::memcpy(m_at, text.data(), text.size());
        m_at += text.size();
        *m_at++ = '\n';
      }
      for (const int value : curve.ints) Put(value, '\n');
      for (const auto& colour : curve.colours)
        for (const unsigned char component : colour) Put(component, '\n');
      for (const double value : curve.x) Put(value, ' ');
      for (const double value : curve.y) Put(value, ' ');
      for (const unsigned char value : curve.flags) Put(value, ' ');
    }
    std::FILE* file = std::fopen(path.c_str(), "wb");
    const std::size_t size = static_cast<std::size_t>(m_at - m_text.data());
    if (!file || std::fwrite(m_text.data(), 1, size, file) != size || std::fclose(file) != 0)
      std::abort();
  }

 private:
  static std::size_t EnoughRoom(const std::vector<FloorCurve>& curves) {
    std::size_t room = 0;
    for (const FloorCurve& curve : curves) room += 2048 + curve.x.size() * 3 * 32;
    return room;
  }
  template <class T>
  void Put(T value, char separator) {
    m_at = std::to_chars(m_at, m_text.data() + m_text.size(), value).ptr;
    *m_at++ = separator;
  }

  std::vector<char> m_text;
  char* m_at = nullptr;
};

class FloorReader {
 public:
  // Reads into `curves`, which has the shape of the document (it is kept across iterations).
  bool Load(const std::string& path, std::vector<FloorCurve>& curves) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return false;
    std::fseek(file, 0, SEEK_END);
    const auto size = static_cast<std::size_t>(std::ftell(file));
    std::fseek(file, 0, SEEK_SET);
    if (m_text.size() < size) m_text.resize(size);
    const bool read = std::fread(m_text.data(), 1, size, file) == size;
    std::fclose(file);
    if (!read) return false;
    m_at = m_text.data();
    m_end = m_text.data() + size;
    for (FloorCurve& curve : curves) {
      for (std::string& text : curve.strings) {
        const char* end = static_cast<const char*>(std::memchr(m_at, '\n', m_end - m_at));
        if (!end) return false;
        text.assign(m_at, end);
        m_at = end + 1;
      }
      for (int& value : curve.ints) Take(value);
      for (auto& colour : curve.colours)
        for (unsigned char& component : colour) Take(component);
      for (double& value : curve.x) Take(value);
      for (double& value : curve.y) Take(value);
      for (unsigned char& value : curve.flags) Take(value);
    }
    return m_ok;
  }

 private:
  template <class T>
  void Take(T& value) {
    const auto result = std::from_chars(m_at, m_end, value);
    m_ok = m_ok && result.ec == std::errc() && result.ptr != m_end;
    m_at = result.ptr + (result.ptr != m_end);
  }

  std::vector<char> m_text;
  const char* m_at = nullptr;
  const char* m_end = nullptr;
  bool m_ok = true;
};

// ---- The benchmarks ----

// Wall time, and the processor time of the whole process with kernel time included, so that it
// counts the library's worker threads, system calls and page faults.
struct Clock {
  double wall = 0;
  double cpu = 0;

  static Clock Now() {
    timespec cpu{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpu);
    const auto wall = std::chrono::steady_clock::now().time_since_epoch();
    return {std::chrono::duration<double>(wall).count(),
            static_cast<double>(cpu.tv_sec) + static_cast<double>(cpu.tv_nsec) * 1e-9};
  }
  Clock operator-(const Clock& start) const { return {wall - start.wall, cpu - start.cpu}; }
  Clock& operator+=(const Clock& more) {
    wall += more.wall;
    cpu += more.cpu;
    return *this;
  }
};

// Runs `library` and then `floor` once per iteration, timing each.
template <class Library, class Floor>
void Measure(benchmark::State& state, Library library, Floor floor) {
  Clock libraryTotal, floorTotal;
  for (auto _ : state) {
    Clock start = Clock::Now();
    library();
    const Clock took = Clock::Now() - start;
    libraryTotal += took;
    state.SetIterationTime(took.wall);
    start = Clock::Now();
    floor();
    floorTotal += Clock::Now() - start;
  }
  const auto perIteration = [&](double seconds) {
    return benchmark::Counter(seconds * 1000 / static_cast<double>(state.iterations()));
  };
  state.counters["cpu_ms"] = perIteration(libraryTotal.cpu);
  state.counters["floor_ms"] = perIteration(floorTotal.wall);
  state.counters["floor_cpu_ms"] = perIteration(floorTotal.cpu);
  state.counters["ratio"] = benchmark::Counter(libraryTotal.wall / floorTotal.wall);
  state.counters["cpu_ratio"] = benchmark::Counter(libraryTotal.cpu / floorTotal.cpu);
}

void BM_WriteDocument(benchmark::State& state, Shape shape) {
  std::vector<CCurveObj> curves = MakeDocument(shape);
  const std::vector<FloorCurve> values = FloorValues(curves);
  const std::string path = BenchPath("write");
  const std::string floorPath = BenchPath("write_floor");
  FloorWriter floor;
  StoreDocument(path, curves);  // both sides start warm: files exist, buffers are touched
  floor.Store(floorPath, values);
  Measure(
      state, [&] { StoreDocument(path, curves); }, [&] { floor.Store(floorPath, values); });
  std::vector<CCurveObj> loaded;
  if (!LoadDocument(path, loaded) || loaded != curves) state.SkipWithError("read-back differs");
  std::remove(path.c_str());
  std::remove(floorPath.c_str());
}

void BM_ReadDocument(benchmark::State& state, Shape shape) {
  std::vector<CCurveObj> curves = MakeDocument(shape);
  const std::vector<FloorCurve> values = FloorValues(curves);
  const std::string path = BenchPath("read");
  const std::string floorPath = BenchPath("read_floor");
  StoreDocument(path, curves);
  FloorWriter().Store(floorPath, values);
  std::vector<CCurveObj> loaded;
  std::vector<FloorCurve> floorLoaded = values;  // the shape; every value is read over
  FloorReader floor;
  bool ok = LoadDocument(path, loaded) && floor.Load(floorPath, floorLoaded);
  Measure(
      state, [&] { ok = LoadDocument(path, loaded) && ok; },
      [&] { ok = floor.Load(floorPath, floorLoaded) && ok; });
  if (!ok || loaded != curves || floorLoaded != values) state.SkipWithError("read-back differs");
  std::remove(path.c_str());
  std::remove(floorPath.c_str());
}

BENCHMARK_CAPTURE(BM_WriteDocument, large, kLarge)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ReadDocument, large, kLarge)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_WriteDocument, small, kSmall)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_ReadDocument, small, kSmall)->UseManualTime()->Unit(benchmark::kMicrosecond);

}  // namespace
