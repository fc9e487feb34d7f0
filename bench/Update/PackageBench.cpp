// bench_package: applying an update package that replaces 2,000 documents of
// a generated base, and indexing them.
//
// Reports documents per second, the share of the time taken by indexing
// (the same package applied once with the word index and once without), and
// the longest single step: the window stays responsive when no step takes
// over 50 ms.
//
// How to run (alone: `flock -x /work/.machine.lock`):
//   build/bin/bench_package [WORK_FOLDER]      (default /tmp/bench-package)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include <QCoreApplication>

#include "BaseGenerator.h"
#include "ConfigUnit.h"
#include "DocumentFileName.h"
#include "IndexBuildSequence.h"
#include "InstalledCollection.h"
#include "LxConfigStore.h"
#include "OperationRunner.h"
#include "PackageWriter.h"
#include "StepTimer.h"
#include "TOMODocumentBody.h"
#include "TOMODocumentFile.h"
#include "TOMODocumentSet.h"
#include "TOMOTree.h"
#include "PackageUpdate.h"
#include "WordIndex.h"

namespace fs = std::filesystem;
using TClock = std::chrono::steady_clock;

namespace {

constexpr int kEntries = 12'000;
constexpr int kDocuments = 3'000;
constexpr int kReplaced = 2'000;
constexpr double kStepGoalMs = std::chrono::duration<double, std::milli>(TStepTimer::kStepGoal).count();

class TQuietReport : public TIndexBuildReport {
 public:
  void AddLog(TLineKind, const std::string&) override {}
  void ResetProgress(int) override {}
  void SetProgress(int) override {}
};

// NEW: OLD with the first kReplaced documents rewritten, a day later.
void ReplaceDocuments(const std::string& folder) {
  const TTOMOTree tree(folder);
  TTOMOTree edited;
  int replaced = 0;
  const TDateTime newer = EncodeDate(2031, 1, 2);
  for (auto it = tree.Iterator(); !it.Eof(); it.Next()) {
    TTOMORecordH record = it.Current()->Record();
    if (record.Kind == kKindRichText && replaced < kReplaced) {
      TTOMODocumentFile document(DocumentFileName(folder, record.DocumentNumber), false);
      TTOMODocumentBody body = ReadDocumentBody(document.OpenRead());
      document.CloseDocument();
      TTOMODocumentFile rewritten(DocumentFileName(folder, record.DocumentNumber), false);
      rewritten.SetProperty("Data", DateToStr(newer));
      body.Content.insert(body.Content.size() - 1, " revisado");
      WriteDocumentBody(rewritten.OpenWrite(), newer, body.Content, body.Hyperlinks);
      rewritten.CloseDocument();
      record.DocumentDate = newer;
      ++replaced;
    }
    edited.AddNode(record);
  }
  edited.SaveToFile(folder);
}

struct TRunFigures {
  double Seconds = 0;
  double LongestStepMs = 0;
  int LongestState = 0;
  int Steps = 0;
  int SlowSteps = 0;
  bool Completed = false;
};

TRunFigures Apply(const fs::path& work, bool withIndex) {
  const fs::path data = work / (withIndex ? "data-indexed" : "data-plain");
  const fs::path extra = work / (withIndex ? "extra-indexed" : "extra-plain");
  fs::remove_all(data);
  fs::remove_all(extra);
  fs::copy(work / "old", data, fs::copy_options::recursive);
  TWordIndex index(extra.string());
  {
    TTOMODocumentFolder documents(data.string());
    if (withIndex) {
      TTOMOTree tree(data.string());
      TQuietReport report;
      TIndexBuildSequence build(index, tree, documents, report);
      while (build.Step()) {
      }
    }
  }
  TTOMODocumentFolder documents(data.string());
  TInstalledCollection collection([data] { return data.string(); }, [] { return nullptr; });
  collection.LoadTree();
  TPackageUpdate update(collection, withIndex ? &index : nullptr);
  update.SetDownloadFolder((work / "download").string());
  const auto start = TClock::now();
  update.StartPackage((work / "out" / "atualizacao.dat").string());
  RunOperation(update);
  TRunFigures figures;
  figures.Seconds = std::chrono::duration<double>(TClock::now() - start).count();
  const TStepTimer& times = update.StepTimes();
  figures.LongestStepMs = times.LongestMilliseconds();
  figures.LongestState = times.LongestState();
  figures.SlowSteps = static_cast<int>(times.StepsOverGoal());
  figures.Steps = static_cast<int>(times.Steps());
  figures.Completed = update.Completed();
  return figures;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication application(argc, argv);
  ReplaceConfig(std::make_unique<TTOMOConfig>(std::make_unique<TLxMemoryConfigStore>()));
  const fs::path work = argc > 1 ? fs::path(argv[1]) : fs::path("/tmp/bench-package");
  fs::remove_all(work);
  fs::create_directories(work);

  TBaseGeneratorOptions options;
  options.Entries = kEntries;
  options.Documents = kDocuments;
  GenerateBase((work / "old").string(), options);
  fs::copy(work / "old", work / "new", fs::copy_options::recursive);
  ReplaceDocuments((work / "new").string());
  TPackageRequest request;
  request.OldFolder = (work / "old").string();
  request.NewFolder = (work / "new").string();
  request.OutFolder = (work / "out").string();
  request.Title = "Bench";
  request.Id = "B-1";
  const TPackageSummary summary = WritePackage(request);
  std::printf("package: %d documents, %lld payload bytes\n", summary.Documents,
              static_cast<long long>(summary.PayloadBytes));

  const TRunFigures plain = Apply(work, false);
  const TRunFigures indexed = Apply(work, true);
  const double share = indexed.Seconds > 0 ? (indexed.Seconds - plain.Seconds) / indexed.Seconds : 0;
  std::printf("without index: %.2f s, %.0f documents/s, %d steps, longest step %.1f ms (state %d)%s\n", plain.Seconds,
              summary.Documents / plain.Seconds, plain.Steps, plain.LongestStepMs, plain.LongestState, plain.Completed ? "" : " (NOT COMPLETED)");
  std::printf("with index:    %.2f s, %.0f documents/s, %d steps, longest step %.1f ms (state %d)%s\n", indexed.Seconds,
              summary.Documents / indexed.Seconds, indexed.Steps, indexed.LongestStepMs, indexed.LongestState,
              indexed.Completed ? "" : " (NOT COMPLETED)");
  std::printf("indexing share: %.0f %%; steps over %.0f ms: %d without index, %d with\n", share * 100, kStepGoalMs,
              plain.SlowSteps, indexed.SlowSteps);
  fs::remove_all(work);
  return 0;
}
