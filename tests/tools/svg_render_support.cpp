#include "tools/svg_render_support.h"

#include <gtest/gtest.h>
#include <png.h>

#include <cstdlib>

#include "tools/tool_test_support.h"

namespace labarc::testing {

std::array<int, 3> Picture::At(int x, int y) const {
  if (x < 0 || y < 0 || x >= width || y >= height) return {-1, -1, -1};
  const std::size_t at = (static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                          static_cast<std::size_t>(x)) *
                         4;
  return {rgba[at], rgba[at + 1], rgba[at + 2]};
}

Picture RenderSvg(const std::string& svgPath) {
  Picture picture;
  const std::string pngPath = svgPath + ".png", errors = svgPath + ".render-errors.txt";
  const std::string command =
      LABARC_RSVG_CONVERT " -f png -o '" + pngPath + "' '" + svgPath + "' 2>'" + errors + "'";
  const int status = std::system(command.c_str());
  const std::string complaints = FileText(errors);
  EXPECT_EQ(status, 0) << svgPath << ": " << complaints;
  EXPECT_EQ(complaints, "") << svgPath;
  if (status != 0) return picture;
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, pngPath.c_str())) {
    ADD_FAILURE() << pngPath << ": " << image.message;
    return picture;
  }
  image.format = PNG_FORMAT_RGBA;
  picture.rgba.resize(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, picture.rgba.data(), 0, nullptr)) {
    ADD_FAILURE() << pngPath << ": " << image.message;
    picture.rgba.clear();
    return picture;
  }
  picture.width = static_cast<int>(image.width);
  picture.height = static_cast<int>(image.height);
  return picture;
}

}  // namespace labarc::testing
