// Host objects in the text archive: two classes of the host derived from CObjectEx, stored as
// one array section each and created again by class when the document is loaded.
#include <cstdio>
#include <string>

#include <labarc/labarc.h>

namespace {

// A measured sample: a name, the colour it is drawn in and a weight.
class CSample : public CObjectEx {
  DECLARE_SERIAL(CSample)

  CSample() = default;
  CSample(const char* name, unsigned long colour, double weight)
      : m_strName(name), m_crColour(colour), m_dWeight(weight) {}

  void Serialize(CArchiveEx& ar) override {
    if (ar.IsStoring()) {
      ar.Write(m_strName, CString("Name"));
      ar.Write(m_crColour, CString("Colour"));
      ar.Write(m_dWeight, CString("Weight"));
    } else {
      ar.Read(m_strName, CString("Name"));
      ar.Read(m_crColour, CString("Colour"));
      ar.Read(m_dWeight, CString("Weight"));
    }
  }

  CString m_strName;
  unsigned long m_crColour = 0;
  double m_dWeight = 0;
};
IMPLEMENT_SERIAL(CSample, CObjectEx, 1)

// A marked area of the graph and the day it was marked.
class CMarker : public CObjectEx {
  DECLARE_SERIAL(CMarker)

  CMarker() = default;
  CMarker(const CRect& area, const CDate& date) : m_rcArea(area), m_date(date) {}

  void Serialize(CArchiveEx& ar) override {
    if (ar.IsStoring()) {
      ar.Write(m_rcArea, CString("Area"));
      ar.Write(m_date, CString("Marked"));
    } else {
      ar.Read(m_rcArea, CString("Area"));
      ar.Read(m_date, CString("Marked"));
    }
  }

  CRect m_rcArea;
  CDate m_date;
};
IMPLEMENT_SERIAL(CMarker, CObjectEx, 1)

// Stores the two arrays into `file`, or loads them from it; false (after the error report) when
// the file is damaged.
bool Serialize(CMemFile& file, UINT mode, CObExArray& samples, CObExArray& markers) {
  CArchive host(&file, mode);
  CString applName = "Example Plotter";
  CArchiveEx ar(&host, applName, 3.6, TRUE);
  try {
    return (ar.IsStoring() ? ar.WriteHeader() : ar.ReadHeader()) == 1 &&
           samples.Serialize(ar, &CSample::classCSample) == 1 &&
           markers.Serialize(ar, &CMarker::classCMarker) == 1;
  } catch (CArchiveException* error) {
    error->Delete();
    return false;
  }
}

}  // namespace

void RunObjectsDemo() {
  CObExArray samples;
  samples.Add(new CSample("Quartz A", RGB(200, 40, 0), 3.25));
  samples.Add(new CSample("Quartz B", RGB(0, 90, 160), 2.5));
  CObExArray markers;
  CDate marked;
  marked.SetDate(11, 30, 2026);
  markers.Add(new CMarker(CRect(40, 10, 120, 60), marked));

  CMemFile file;
  Serialize(file, CArchive::store, samples, markers);
  const std::string text(file.Contents());
  std::printf("\nStored objects:\n%s\n", text.c_str());

  CObExArray loadedSamples;
  CObExArray loadedMarkers;
  CMemFile input(text);
  input.SetFilePath("/examples/objects.txt");
  if (!Serialize(input, CArchive::load, loadedSamples, loadedMarkers)) return;
  for (int i = 0; i < loadedSamples.GetSize(); ++i) {
    const auto* sample = static_cast<CSample*>(loadedSamples.GetAt(i));
    std::printf("Loaded sample %s, colour %d %d %d, weight %g\n", sample->m_strName.GetString(),
                GetRValue(sample->m_crColour), GetGValue(sample->m_crColour),
                GetBValue(sample->m_crColour), sample->m_dWeight);
  }
  for (int i = 0; i < loadedMarkers.GetSize(); ++i) {
    const auto* marker = static_cast<CMarker*>(loadedMarkers.GetAt(i));
    CString day;
    marker->m_date.FmtMMsDDsYYYY(day, '/');
    const CRect& area = marker->m_rcArea;
    std::printf("Loaded marker over %d %d %d %d, marked %s\n", area.left, area.top, area.right,
                area.bottom, day.GetString());
  }

  // A copy cut off inside the sample array, which promises more than it holds.
  CMemFile damaged(text.substr(0, text.find("Name=Quartz B")));
  damaged.SetFilePath("/examples/objects-cut.txt");
  std::printf("\nLoading a copy cut off after the first sample:\n");
  CObExArray partSamples;
  CObExArray partMarkers;
  if (!Serialize(damaged, CArchive::load, partSamples, partMarkers))
    std::printf("\nThe cut copy was refused; the array owns the %d samples it created.\n",
                partSamples.GetSize());
}
