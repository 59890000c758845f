// Documents read and written on several threads at once, while other threads change the string
// table, register classes and replace the report handler. Run under the thread sanitizer in CI.
#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "support/test_support.h"

namespace {

using namespace labarc::testing;

class CPart : public CObjectEx {
  DECLARE_SERIAL(CPart)

  explicit CPart(int weight = 0) : m_nWeight(weight) {}
  void Serialize(CArchiveEx& ar) override {
    ar.IsStoring() ? ar.Write(m_nWeight, CString("Weight")) : ar.Read(m_nWeight, CString("Weight"));
  }
  int m_nWeight;
};
IMPLEMENT_SERIAL(CPart, CObjectEx, 1)

constexpr UINT kTitleLabel = 7100;
constexpr int kThreads = 4, kRounds = 40;

// What one worker saw: documents that read back as written, and reports that reached its sink.
struct Outcome {
  int soundDocuments = 0;
  int failuresCaught = 0;
  int reportsReceived = 0;
};

// Writes a document with an object array and a labelled title, reads it back, then reads a
// damaged copy with reports on, all through archives whose reports go to this worker only.
void Work(int worker, Outcome& outcome) {
  const ReportHandler sink = [&](HWND, std::string_view, std::string_view, UINT) {
    ++outcome.reportsReceived;
    return IDOK;
  };
  for (int round = 0; round < kRounds; ++round) {
    const int weight = worker * 1000 + round;
    CObExArray parts;
    parts.Add(new CPart(weight));
    CMemFile file;
    {
      CArchive host(&file, CArchive::store);
      CArchiveEx ar(&host, CString(kApplName), kApplVersion, 1);
      ar.SetReportSink(sink);
      ar.WriteHeader();
      ar.WriteSectionHeader(CString("Run"));
      ar.Write(CString("Title"), kTitleLabel);
      ar.Write(weight * 0.5, CString("Gain"));
      parts.Serialize(ar, CPart::GetThisClass());
      ar.Close();
    }
    std::string text(file.Contents());
    for (const bool damaged : {false, true}) {
      if (damaged) text.replace(text.find("Gain="), 5, "Gian=");
      CMemFile source(text);
      CArchive host(&source, CArchive::load);
      CArchiveEx ar(&host, CString(kApplName), kApplVersion, 1);
      ar.SetReportSink(sink);
      CObExArray loaded;
      CString title;
      double gain = 0;
      try {
        if (ar.ReadHeader() == 1 && ar.GoToSection(CString("Run")) == 1 &&
            ar.Read(title, kTitleLabel) == 1 && ar.Read(gain, CString("Gain")) == 1 &&
            loaded.Serialize(ar, CPart::GetThisClass()) == 1 && gain == weight * 0.5 &&
            static_cast<CPart*>(loaded.GetAt(0))->m_nWeight == weight)
          ++outcome.soundDocuments;
      } catch (CArchiveException* error) {
        const CArchiveEx::Failure* failure = CArchiveEx::FailureOf(error);
        if (failure && failure->expected == "Gain") ++outcome.failuresCaught;
        error->Delete();
      }
    }
  }
}

TEST(ThreadsTest, DocumentsOnSeveralThreadsReportToTheirOwnCallers) {
  AfxSetStringResource(kTitleLabel, "Title");
  std::atomic<bool> done = false;
  std::atomic<int> processReports = 0;
  // Meanwhile the process-wide parts change under the workers' feet.
  std::thread changer([&] {
    static CRuntimeClass extra = {"CExtra", 0, 1, nullptr, nullptr, nullptr};
    for (int turn = 0; !done; ++turn) {
      AfxSetStringResource(kTitleLabel, "Title");
      AfxSetStringResource(kTitleLabel + 1 + turn % 8, std::to_string(turn));
      AfxClassInit(&extra);
      SetReportHandler([&](HWND, std::string_view, std::string_view, UINT) {
        ++processReports;
        return IDOK;
      });
      std::this_thread::yield();
    }
  });
  std::vector<Outcome> outcomes(kThreads);
  std::vector<std::thread> workers;
  for (int worker = 0; worker < kThreads; ++worker)
    workers.emplace_back(Work, worker, std::ref(outcomes[worker]));
  for (std::thread& worker : workers) worker.join();
  done = true;
  changer.join();
  SetReportHandler(nullptr);
  AfxRemoveStringResource(kTitleLabel);
  for (const Outcome& outcome : outcomes) {
    EXPECT_EQ(outcome.soundDocuments, kRounds);
    EXPECT_EQ(outcome.failuresCaught, kRounds);
    EXPECT_EQ(outcome.reportsReceived, kRounds);
  }
  EXPECT_EQ(processReports, 0);
  EXPECT_NE(CRuntimeClass::FromName("CExtra"), nullptr);
}

}  // namespace
