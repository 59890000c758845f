// Times LoadDocument on one file, for comparison with the language bindings' loads:
//   labarc_document_load_timer PATH [REPEATS] [text|values]
// ("values": without comparing point lines with the writer's text, as the Python load does) and
// prints the fastest of REPEATS loads in seconds (wall and processor time), the document's curve
// and point counts, and the process's peak resident memory in KiB.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <string>

#include <labarc/document/document.h>

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: labarc_document_load_timer PATH [REPEATS] [text|values]\n");
    return 2;
  }
  const int repeats = argc > 2 ? std::atoi(argv[2]) : 5;
  labarc::WalkOptions options;
  options.comparePointText = argc <= 3 || std::string(argv[3]) != "values";
  double fastest = 1e300, fastestCpu = 1e300;
  std::size_t curves = 0, points = 0;
  for (int i = 0; i < repeats; ++i) {
    labarc::Document document;
    std::string error;
    const auto start = std::chrono::steady_clock::now();
    const std::clock_t startCpu = std::clock();
    if (!labarc::LoadDocument(labarc::DocumentSource::File(argv[1]), options, document, error)) {
      std::fprintf(stderr, "%s: %s\n", argv[1], error.c_str());
      return 1;
    }
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    fastest = std::min(fastest, took.count());
    fastestCpu = std::min(fastestCpu, double(std::clock() - startCpu) / CLOCKS_PER_SEC);
    curves = points = 0;
    for (const labarc::DocumentSection& section : document.sections)
      for (const labarc::DocumentItem& item : section.items)
        if (!item.points.x.empty()) ++curves, points += item.points.size();
  }
  // The process's own high-water mark (getrusage would report the parent's where it was higher).
  long peak = 0;
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);)
    if (line.rfind("VmHWM:", 0) == 0) peak = std::atol(line.c_str() + 6);
  std::printf("seconds %.6f cpu %.6f curves %zu points %zu peak_kib %ld\n", fastest, fastestCpu,
              curves, points, peak);
  return 0;
}
