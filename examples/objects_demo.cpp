// Host objects in the text archive: two classes of the host derived from CObjectEx, stored as
// one array section each and created again by class when the document is loaded.
#include <cstdio>
#include <string>

#include "labarc.h"

namespace {

// A measured sample: a name, a batch number and a weight.
class CSample : public CObjectEx {
  DECLARE_SERIAL(CSample)

  CSample() = default;
  CSample(const char* name, int batch, double weight)
      : m_strName(name), m_nBatch(batch), m_dWeight(weight) {}

  void Serialize(CArchiveEx& ar) override {
    if (ar.IsStoring()) {
      ar.Write(m_strName, CString("Name"));
      ar.Write(m_nBatch, CString("Batch"));
      ar.Write(m_dWeight, CString("Weight"));
    } else {
      ar.Read(m_strName, CString("Name"));
      ar.Read(m_nBatch, CString("Batch"));
      ar.Read(m_dWeight, CString("Weight"));
    }
  }

  CString m_strName;
  int m_nBatch = 0;
  double m_dWeight = 0;
};
IMPLEMENT_SERIAL(CSample, CObjectEx, 1)

// A marker on the graph: where it stands and how wide it is drawn.
class CMarker : public CObjectEx {
  DECLARE_SERIAL(CMarker)

  CMarker() = default;
  CMarker(double position, long width) : m_dPosition(position), m_lWidth(width) {}

  void Serialize(CArchiveEx& ar) override {
    if (ar.IsStoring()) {
      ar.Write(m_dPosition, CString("Position"));
      ar.Write(m_lWidth, CString("Width"));
    } else {
      ar.Read(m_dPosition, CString("Position"));
      ar.Read(m_lWidth, CString("Width"));
    }
  }

  double m_dPosition = 0;
  long m_lWidth = 0;
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
  samples.Add(new CSample("Quartz A", 12, 3.25));
  samples.Add(new CSample("Quartz B", 12, 2.5));
  CObExArray markers;
  markers.Add(new CMarker(0.75, 6));

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
    std::printf("Loaded sample %s, batch %d, weight %g\n", sample->m_strName.GetString(),
                sample->m_nBatch, sample->m_dWeight);
  }
  for (int i = 0; i < loadedMarkers.GetSize(); ++i) {
    const auto* marker = static_cast<CMarker*>(loadedMarkers.GetAt(i));
    std::printf("Loaded marker at %g, width %ld\n", marker->m_dPosition, marker->m_lWidth);
  }

  // A copy cut off inside the sample array, which promises more than it holds.
  CMemFile damaged(text.substr(0, text.find("Name=Quartz B")));
  damaged.SetFilePath("/examples/objects-cut.txt");
  std::printf("\nLoading a copy cut off after the first sample:\n");
  CObExArray partSamples;
  CObExArray partMarkers;
  if (!Serialize(damaged, CArchive::load, partSamples, partMarkers))
    std::printf("\nThe cut copy was refused; %d sample was read and is owned by the array.\n",
                partSamples.GetSize());
}
