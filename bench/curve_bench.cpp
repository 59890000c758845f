// Writing and reading a curve of a million points through a file in shared memory, against the
// floor: the same three million values formatted with std::to_chars into one buffer and written,
// then read back and parsed with std::from_chars. Items are points.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include <labarc/labarc.h>

namespace {

constexpr int kPoints = 1'000'000;

std::string BenchPath(const char* what) {
  return "/dev/shm/labarc_" + std::string(what) + "_" + std::to_string(::getpid()) + ".txt";
}

// Coordinates with full 17-digit texts, as measured data has; most flags are 1.
const CCurveObj& BenchCurve() {
  static const CCurveObj curve = [] {
    CCurveObj made(kPoints);
    made.SetName("Bench");
    std::uint64_t state = 0x9E3779B97F4A7C15;
    const auto next = [&state] {
      state ^= state << 13;
      state ^= state >> 7;
      state ^= state << 17;
      return static_cast<double>(state >> 11) / 9007199254740992.0;
    };
    for (int i = 0; i < kPoints; ++i) {
      CURVEPOINT point{static_cast<char>(i % 50 == 0 ? 0 : 1), i * 0.01 + next(),
                       next() * 2000 - 1000};
      made.SetCurvePoint(i, point);
    }
    return made;
  }();
  return curve;
}

void StoreCurve(const std::string& path, CCurveObj& curve) {
  CFile file(path.c_str(), CFile::modeCreate | CFile::modeWrite);
  CArchive host(&file, CArchive::store);
  CString name = "Bench";
  CArchiveEx ar(&host, name, 4.0, 0);
  if (ar.Write(curve) != 1) std::abort();
}

void BM_WriteCurve(benchmark::State& state) {
  const std::string path = BenchPath("curve_write");
  CCurveObj curve = BenchCurve();
  for (auto _ : state) StoreCurve(path, curve);
  state.SetItemsProcessed(state.iterations() * kPoints);
  std::remove(path.c_str());
}

void BM_ReadCurve(benchmark::State& state) {
  const std::string path = BenchPath("curve_read");
  {
    CCurveObj curve = BenchCurve();
    StoreCurve(path, curve);
  }
  CCurveObj curve;
  for (auto _ : state) {
    CFile file(path.c_str(), CFile::modeRead);
    CArchive host(&file, CArchive::load);
    CString name = "Bench";
    CArchiveEx ar(&host, name, 4.0, 0);
    if (ar.Read(curve) != 1) state.SkipWithError("read failed");
  }
  state.SetItemsProcessed(state.iterations() * kPoints);
  std::remove(path.c_str());
}

// The floor: every x, then every y, then every flag, each followed by a blank. Its buffers are
// made once and kept, as the library's are, so that no iteration pays for fresh pages.
class FloorText {
 public:
  std::string_view Format(const CCurveObj& curve) {
    m_text.resize(static_cast<std::size_t>(kPoints) * 3 * 26);
    char* at = m_text.data();
    char* const end = m_text.data() + m_text.size();
    CURVEPOINT point;
    for (int group = 0; group < 3; ++group) {
      for (int i = 0; i < kPoints; ++i) {
        curve.GetCurvePoint(i, &point);
        at = group == 0   ? std::to_chars(at, end, point.dX).ptr
             : group == 1 ? std::to_chars(at, end, point.dY).ptr
                          : std::to_chars(at, end, static_cast<unsigned char>(point.cFlag)).ptr;
        *at++ = ' ';
      }
    }
    return {m_text.data(), static_cast<std::size_t>(at - m_text.data())};
  }

 private:
  std::vector<char> m_text;
};

void WriteFloor(const std::string& path, FloorText& floor, const CCurveObj& curve) {
  const std::string_view text = floor.Format(curve);
  CFile file(path.c_str(), CFile::modeCreate | CFile::modeWrite);
  file.Write(text.data(), static_cast<UINT>(text.size()));
}

void BM_FloorWrite(benchmark::State& state) {
  const std::string path = BenchPath("floor_write");
  const CCurveObj& curve = BenchCurve();
  FloorText floor;
  WriteFloor(path, floor, curve);  // touches the buffer before timing starts
  for (auto _ : state) WriteFloor(path, floor, curve);
  state.SetItemsProcessed(state.iterations() * kPoints);
  std::remove(path.c_str());
}

void BM_FloorRead(benchmark::State& state) {
  const std::string path = BenchPath("floor_read");
  {
    FloorText floor;
    WriteFloor(path, floor, BenchCurve());
  }
  std::vector<CURVEPOINT> points(kPoints);
  std::vector<char> text(std::filesystem::file_size(path));  // touched before timing starts
  for (auto _ : state) {
    CFile file(path.c_str(), CFile::modeRead);
    text.resize(file.GetLength());
    file.Read(text.data(), static_cast<UINT>(text.size()));
    const char* at = text.data();
    const char* const end = text.data() + text.size();
    for (int group = 0; group < 3; ++group) {
      for (CURVEPOINT& point : points) {
        unsigned char flag = 0;
        at = group == 0   ? std::from_chars(at, end, point.dX).ptr + 1
             : group == 1 ? std::from_chars(at, end, point.dY).ptr + 1
                          : std::from_chars(at, end, flag).ptr + 1;
        if (group == 2) point.cFlag = static_cast<char>(flag);
      }
    }
    benchmark::DoNotOptimize(points.data());
  }
  state.SetItemsProcessed(state.iterations() * kPoints);
  std::remove(path.c_str());
}

BENCHMARK(BM_WriteCurve)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FloorWrite)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadCurve)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FloorRead)->Unit(benchmark::kMillisecond);

}  // namespace
