// Host objects in the text archive: two classes of the host derived from CObjectEx, stored as
// one array section each and created again by class when the document is loaded.
#include <cstdio>
#include <string>

#include "labarc.h"

namespace {

// A measured specimen: a name, a batch number and a weight.
class CSpecimen : public CObjectEx {
  DECLARE_SERIAL(CSpecimen)

  CSpecimen() = default;
  CSpecimen(const char* name, int batch, double weight)
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
IMPLEMENT_SERIAL(CSpecimen, CObjectEx, 1)

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
bool Serialize(CMemFile& file, UINT mode, CObExArray& specimens, CObExArray& markers) {
  CArchive host(&file, mode);
  CString applName = "Example Plotter";
  CArchiveEx ar(&host, applName, 3.6, TRUE);
  try {
    return (ar.IsStoring() ? ar.WriteHeader() : ar.ReadHeader()) == 1 &&
           specimens.Serialize(ar, &CSpecimen::classCSpecimen) == 1 &&
           markers.Serialize(ar, &CMarker::classCMarker) == 1;
  } catch (CArchiveException* error) {
    error->Delete();
    return false;
  }
}

}  // namespace

void RunObjectsDemo() {
  CObExArray specimens;
  specimens.Add(new CSpecimen("Quartz A", 12, 3.25));
  specimens.Add(new CSpecimen("Quartz B", 12, 2.5));
  CObExArray markers;
  markers.Add(new CMarker(0.75, 6));

  CMemFile file;
  Serialize(file, CArchive::store, specimens, markers);
  const std::string text(file.Contents());
  std::printf("\nStored objects:\n%s\n", text.c_str());

  CObExArray loadedSpecimens;
  CObExArray loadedMarkers;
  CMemFile input(text);
  input.SetFilePath("/examples/objects.txt");
  if (!Serialize(input, CArchive::load, loadedSpecimens, loadedMarkers)) return;
  for (int i = 0; i < loadedSpecimens.GetSize(); ++i) {
    const auto* specimen = static_cast<CSpecimen*>(loadedSpecimens.GetAt(i));
    std::printf("Loaded specimen %s, batch %d, weight %g\n", specimen->m_strName.GetString(),
                specimen->m_nBatch, specimen->m_dWeight);
  }
  for (int i = 0; i < loadedMarkers.GetSize(); ++i) {
    const auto* marker = static_cast<CMarker*>(loadedMarkers.GetAt(i));
    std::printf("Loaded marker at %g, width %ld\n", marker->m_dPosition, marker->m_lWidth);
  }

  // A copy cut off inside the specimen array, which promises more than it holds.
  CMemFile damaged(text.substr(0, text.find("Name=Quartz B")));
  damaged.SetFilePath("/examples/objects-cut.txt");
  std::printf("\nLoading a copy cut off after the first specimen:\n");
  CObExArray partSpecimens;
  CObExArray partMarkers;
  if (!Serialize(damaged, CArchive::load, partSpecimens, partMarkers))
    std::printf("\nThe cut copy was refused; %d specimen was read and is owned by the array.\n",
                partSpecimens.GetSize());
}
