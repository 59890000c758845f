// A third direction over the composites' descriptions, walking nested composites itself: the
// labels it lists are exactly the lines the writer stores, so a schema needs no label list of
// its own.
#include <string>
#include <vector>

#include <labarc/graph/axis_describe.h>
#include <labarc/graph/geometry_describe.h>
#include <labarc/graph/legend_describe.h>
#include <labarc/graph/results_describe.h>
#include <labarc/graph/ticks_describe.h>
#include <labarc/graph/window_describe.h>
#include <labarc/values/font_describe.h>
#include <labarc/values/text_describe.h>
#include <labarc/values/tracker_describe.h>
#include "graph/graph_samples.h"

namespace labarc {
namespace {

// Lists each line's label (a bare line's text) in file order; holds no values of its own.
class LabelWalk : public DescriptionWalk {
 public:
  explicit LabelWalk(std::vector<std::string>& labels) : m_labels(labels) {}
  template <class T>
  bool operator()(const char* label, T&) const {
    m_labels.emplace_back(label);
    return true;
  }
  template <class T>
  bool operator()(T& composite) const {
    return Describe(*this, composite);
  }
  bool Line(CString& text) const { return (*this)(text.GetString(), text); }
  template <class T, class Format>
  bool Formatted(const char* label, T& value, Format) const {
    return (*this)(label, value);
  }
  using DescriptionWalk::Blocks;
  template <class Block>
  static bool Blocks(const BlockCount& count, Block block) {
    return Blocks(count.count, block);
  }

 private:
  std::vector<std::string>& m_labels;
};

template <class T>
void ExpectWalkListsTheStoredLabels(T value) {
  std::vector<std::string> walked, stored;
  Describe(LabelWalk(walked), value);
  const std::string text = testing::Stored(value);
  for (std::size_t at = 0; at < text.size(); at = text.find("\r\n", at) + 2) {
    const std::string line = text.substr(at, text.find("\r\n", at) - at);
    stored.push_back(line.substr(0, line.find('=')));
  }
  EXPECT_EQ(walked, stored);
}

TEST(DescribeTest, AWalkingDirectionListsEveryStoredLabel) {
  ExpectWalkListsTheStoredLabels(testing::SampleGeometry());
  ExpectWalkListsTheStoredLabels(testing::SampleAxis());
  ExpectWalkListsTheStoredLabels(testing::SampleWindow());
  ExpectWalkListsTheStoredLabels(testing::SampleResults());
}

}  // namespace
}  // namespace labarc
