// Feeds arbitrary bytes to the composite readers in quiet mode: fonts, text objects, trackers,
// curves and object arrays, then, from the start again, the graph layouts. A read that fails
// must leave its target exactly as it was.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "fuzz/fuzz_input.h"

namespace {

class CFuzzItem : public CObjectEx {
  DECLARE_SERIAL(CFuzzItem)
  void Serialize(CArchiveEx& ar) override { ar.Read(m_strName, CString("Name")); }
  CString m_strName;
};
IMPLEMENT_SERIAL(CFuzzItem, CObjectEx, 1)

template <class T>
bool SameBytes(const T& a, const T& b) {
  return std::memcmp(&a, &b, sizeof(T)) == 0;
}

template <class T>
bool SameValue(const T& a, const T& b) {
  return a == b;
}

template <class T>
void ReadComposite(CArchiveEx& ar, const T& start, bool (*same)(const T&, const T&)) {
  T value = start;
  if (ar.Read(value) != 1 && !same(value, start)) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  labarc::fuzzing::FuzzInput input(data, size, 3.5);
  CArchiveEx& ar = input.Archive();
  ar.ReadHeader();
  tagLOGFONTA font{};
  font.lfHeight = 9;
  ReadComposite<tagLOGFONTA>(ar, font, SameBytes);
  _TEXT text;
  text.strWording = "before";
  ReadComposite<_TEXT>(ar, text, [](const _TEXT& a, const _TEXT& b) { return a == b; });
  CRectTracker tracker(CRect(1, 2, 3, 4), 5);
  ReadComposite<CRectTracker>(ar, tracker, SameBytes);
  CCurveObj curve;
  ReadComposite<CCurveObj>(ar, curve,
                           [](const CCurveObj& a, const CCurveObj& b) { return a == b; });
  CObExArray items;
  try {
    items.Serialize(ar, &CFuzzItem::classCFuzzItem);
  } catch (CException* error) {  // a negative count is refused with the invalid-argument exception
    error->Delete();
  }

  // The graph layouts, in the order a graph document holds them, over a fresh archive.
  labarc::fuzzing::FuzzInput graphInput(data, size, 3.5);
  CArchiveEx& graph = graphInput.Archive();
  graph.ReadHeader();
  _GEOMETRY geometry{};
  geometry.dGPMax[3] = 3;
  ReadComposite<_GEOMETRY>(graph, geometry, SameBytes);
  _TICKLABEL tickLabel;
  tickLabel.nNotation = 2;
  ReadComposite<_TICKLABEL>(graph, tickLabel, SameValue);
  TICKMARK tickMark;
  tickMark.dTickIncrement = 0.5;
  ReadComposite<TICKMARK>(graph, tickMark, SameValue);
  _AXIS axis;
  axis.text.strWording = "before";
  axis.rcHitArea = CRect(1, 2, 3, 4);
  ReadComposite<_AXIS>(graph, axis, SameValue);
  CLegend legend;
  legend.m_strTitle = "before";
  legend.m_nDrawGeneration = 7;
  ReadComposite<CLegend>(graph, legend, SameValue);
  _WINDOW window;
  window.titles[2].strWording = "before";
  window.legend = legend;
  ReadComposite<_WINDOW>(graph, window, SameValue);
  CResultsWnd results;
  results.m_strResults = "before";
  results.m_nTextGeneration = 9;
  ReadComposite<CResultsWnd>(graph, results, SameValue);
  return 0;
}
