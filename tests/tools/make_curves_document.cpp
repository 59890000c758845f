// Writes a document of CURVES curves of POINTS points each (every kind of double among them),
// for CI and for measuring the tool: make_curves_document OUT CURVES POINTS
#include <cstdlib>
#include <fstream>
#include <iostream>

#include "tools/tool_test_support.h"

int main(int argc, char** argv) {
  if (argc != 4) {
    std::cerr << "usage: make_curves_document OUT CURVES POINTS\n";
    return 2;
  }
  std::ofstream(argv[1], std::ios::binary)
      << labarc::testing::CurvesDocument(std::atoi(argv[2]), std::atoi(argv[3]));
  return 0;
}
