// SVG pictures the tests make, rendered by a real SVG renderer (rsvg-convert) and read back as
// pixels.
#pragma once

#include <array>
#include <string>
#include <vector>

namespace labarc::testing {

struct Picture {
  int width = 0;
  int height = 0;
  std::vector<unsigned char> rgba;
  std::array<int, 3> At(int x, int y) const;
};

// Renders the SVG file at `svgPath` to a PNG beside it and reads its pixels. Fails the current
// test (and returns an empty picture) when the renderer refuses the file.
Picture RenderSvg(const std::string& svgPath);

}  // namespace labarc::testing
