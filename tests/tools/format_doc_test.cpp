#include <fstream>
#include <sstream>

#include "tools/tool_test_support.h"

namespace labarc::testing {
namespace {

// The format reference lists every composite's steps as `labarc schema` prints them from the
// describe functions, so the document cannot drift from the code.
TEST(FormatReference, ListsEveryCompositeAsTheSchemaDirectionDoes) {
  std::stringstream document;
  document << std::ifstream(LABARC_SOURCE_DIR "/docs/format.md").rdbuf();
  const std::string text = document.str();
  ASSERT_FALSE(text.empty());
  for (const tool::CompositeType& type : tool::KnownComposites()) {
    SCOPED_TRACE(type.name);
    std::ostringstream schema, err;
    ASSERT_EQ(tool::RunSchema(type.name, {schema, err, false}), 0);
    EXPECT_NE(text.find("### " + type.name + "\n"), std::string::npos);
    EXPECT_NE(text.find("```\n" + schema.str() + "```\n"), std::string::npos)
        << "docs/format.md lacks:\n"
        << schema.str();
  }
}

}  // namespace
}  // namespace labarc::testing
