// Writing and reading a million labelled number entries through the text archive, in memory.
#include <benchmark/benchmark.h>

#include <string>

#include <labarc/labarc.h>

namespace {

constexpr int kEntries = 1'000'000;

template <class T>
T ValueAt(int i) {
  if constexpr (std::is_same_v<T, double>)
    return i * 1.000123 - 5e5;
  else
    return i * 7 - 3'000'000;
}

// Stores the entries into `file`, which starts empty.
template <class T>
void StoreEntries(CMemFile& file) {
  {
    CArchive host(&file, CArchive::store);
    CString name = "Bench";
    CArchiveEx ar(&host, name, 1.0, 0);
    const CString label = "Sample Value";
    for (int i = 0; i < kEntries; ++i) ar.Write(ValueAt<T>(i), label);
  }
}

template <class T>
void BM_WriteEntries(benchmark::State& state) {
  for (auto _ : state) {
    CMemFile file;
    StoreEntries<T>(file);
    benchmark::DoNotOptimize(file.Contents().data());
  }
  state.SetItemsProcessed(state.iterations() * kEntries);
}

template <class T>
void BM_ReadEntries(benchmark::State& state) {
  CMemFile stored;
  StoreEntries<T>(stored);
  const std::string text(stored.Contents());
  for (auto _ : state) {
    CMemFile file(text);
    CArchive host(&file, CArchive::load);
    CString name = "Bench";
    CArchiveEx ar(&host, name, 1.0, 0);
    const CString label = "Sample Value";
    T value{};
    for (int i = 0; i < kEntries; ++i)
      if (ar.Read(value, label) != 1) state.SkipWithError("read failed");
    benchmark::DoNotOptimize(value);
  }
  state.SetItemsProcessed(state.iterations() * kEntries);
}

BENCHMARK(BM_WriteEntries<double>)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadEntries<double>)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteEntries<int>)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadEntries<int>)->Unit(benchmark::kMillisecond);

}  // namespace
