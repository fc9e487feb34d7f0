// bench_internet_update: the Internet update of 2,000 changed documents of a
// generated base from lighttpd on 127.0.0.1, directly and through tinyproxy
// with a password, and the cost of the tree save that ends every batch on a
// 200,000-entry tree.
//
// Reports documents and bytes per second and where the time goes: the steps
// that start requests (state 23), the batch installs (state 24: check, copy,
// merge, tree save, indexing), and the rest, which is waiting for the
// network. The same update runs once with a word index to show indexing.
//
// The tree save is set against a plain write of the same bytes: one fwrite of
// the saved file's content into a new file, without and with fsync.
//
// How to run (alone: `flock -x /work/.machine.lock`):
//   build/bin/bench_internet_update [WORK_FOLDER]   (default /tmp/bench-internet-update)
//   build/bin/bench_internet_update --tree-save [BASE_FOLDER]
//     only the tree save, on BASE_FOLDER's TOMOIdx.dat (copied) or on a
//     generated 200,000-entry tree
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <string>

#include <unistd.h>

#include <QCoreApplication>

#include "BaseGenerator.h"
#include "ConfigUnit.h"
#include "DocumentFileName.h"
#include "HttpTestServers.h"
#include "IndexBuildSequence.h"
#include "InstalledCollection.h"
#include "LxConfigStore.h"
#include "LxFileStream.h"
#include "LxZLIBStream.h"
#include "OperationRunner.h"
#include "TOMODocumentBody.h"
#include "TOMODocumentFile.h"
#include "TOMODocumentSet.h"
#include "TOMOTree.h"
#include "THttpCli.h"
#include "InternetUpdate.h"
#include "WordIndex.h"

namespace fs = std::filesystem;
using TClock = std::chrono::steady_clock;

namespace {

constexpr int kEntries = 12'000;
constexpr int kDocuments = 3'000;
constexpr int kReplaced = 2'000;
constexpr int kLargeTreeEntries = 200'000;
constexpr int kLargeTreeDocuments = 100;
constexpr int kTreeSaves = 5;
constexpr char kProxyUser[] = "bench";
constexpr char kProxyPassword[] = "bench-senha";

double SecondsSince(TClock::time_point start) {
  return std::chrono::duration<double>(TClock::now() - start).count();
}

class TQuietReport : public TIndexBuildReport {
 public:
  void AddLog(TLineKind, const std::string&) override {}
  void ResetProgress(int) override {}
  void SetProgress(int) override {}
};

// The update with the time of every state summed.
class TTimedUpdate : public TInternetUpdate {
 public:
  using TInternetUpdate::TInternetUpdate;
  std::map<int, double> SecondsByState;

 protected:
  void Step(const TOperationStep& message, int& nextState, int& nextParameter) override {
    const auto start = TClock::now();
    TInternetUpdate::Step(message, nextState, nextParameter);
    SecondsByState[message.State] += SecondsSince(start);
  }
};

// NEW: OLD with the first kReplaced rich-text documents rewritten, later.
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
      record.DocumentSize = static_cast<std::int32_t>(fs::file_size(DocumentFileName(folder, record.DocumentNumber)));
      ++replaced;
    }
    edited.AddNode(record);
  }
  edited.SaveToFile(folder);
}

// The layout make-server writes.
void WriteLayout(const std::string& base, const std::string& layout) {
  const TTOMOTree tree(base);
  for (auto it = tree.Iterator(); !it.Eof(); it.Next()) {
    const std::int32_t number = it.Current()->Record().DocumentNumber;
    if (number <= 0) continue;
    const std::string target = TInternetUpdate::LowerCaseURL(DocumentFileName(layout, number));
    fs::create_directories(fs::path(target).parent_path());
    fs::copy_file(DocumentFileName(base, number), target, fs::copy_options::overwrite_existing);
  }
  TLxFileStream source(base + "/TOMOIdx.dat", TLxFileMode::OpenRead);
  TLxFileStream file(layout + "/tomoidxz.dat", TLxFileMode::Create);
  TLxZLIBStream block(file);
  block.CopyFrom(source, source.Size());
  block.Finish();
}

struct TRunFigures {
  double Seconds = 0;
  std::map<int, double> SecondsByState;
  int Batches = 0;
  bool Succeeded = false;
  std::string StepTimes;
};

TRunFigures Update(const fs::path& work, const std::string& url, TTinyproxy* proxy, bool withIndex) {
  const fs::path data = work / "data";
  const fs::path extra = work / "extra";
  fs::remove_all(data);
  fs::remove_all(extra);
  fs::remove_all(work / "download");
  fs::copy(work / "old", data, fs::copy_options::recursive);
  TWordIndex index(extra.string());
  if (withIndex) {
    TTOMODocumentFolder documents(data.string());
    TTOMOTree tree(data.string());
    TQuietReport report;
    TIndexBuildSequence build(index, tree, documents, report);
    while (build.Step()) {
    }
  }
  TTOMODocumentFolder documents(data.string());
  TInstalledCollection collection([data] { return data.string(); }, [] { return nullptr; });
  collection.LoadTree();
  TTimedUpdate update(collection, withIndex ? &index : nullptr);
  update.SetDownloadFolder((work / "download").string());
  update.SetUpdateURL(url);
  if (proxy) {
    update.Transfer().HttpCli().SetProxy("127.0.0.1");
    update.Transfer().HttpCli().SetProxyPort(std::to_string(proxy->Port()));
    update.Transfer().HttpCli().SetProxyUsername(kProxyUser);
    update.Transfer().HttpCli().SetProxyPassword(kProxyPassword);
  }
  const auto start = TClock::now();
  update.Start();
  RunOperation(update);
  TRunFigures figures;
  figures.Seconds = SecondsSince(start);
  figures.SecondsByState = update.SecondsByState;
  figures.Batches = update.BatchesInstalled();
  figures.StepTimes = update.StepTimes().Summary();
  figures.Succeeded = update.Finished() && !update.Failed();
  return figures;
}

void Report(const char* name, const TRunFigures& run, int documents, std::int64_t bytes) {
  double inSteps = 0;
  for (const auto& [state, seconds] : run.SecondsByState) inSteps += seconds;
  std::printf("%-22s %6.2f s, %4.0f documents/s, %5.2f MB/s, %d batches%s\n", name, run.Seconds,
              documents / run.Seconds, bytes / run.Seconds / 1e6, run.Batches, run.Succeeded ? "" : " (FAILED)");
  const auto at = [&run](int state) {
    const auto found = run.SecondsByState.find(state);
    return found == run.SecondsByState.end() ? 0.0 : found->second;
  };
  std::printf("  tree file and list (20-22) %.2f s, request starts (23) %.2f s, batch installs (24) %.2f s "
              "(%.1f ms a batch), waiting for the network %.2f s\n",
              at(20) + at(21) + at(22), at(23), at(24), run.Batches ? at(24) * 1000 / run.Batches : 0.0,
              run.Seconds - inSteps);
  std::printf("  %s\n", run.StepTimes.c_str());
}

// The tree save's bytes written once more as plainly as C can: one fwrite of
// the finished file into a new file, then fsync, as the save's commit also
// puts its file on the disk. The anchor the save is measured against.
double PlainWriteMilliseconds(const fs::path& folder, const std::string& bytes, bool sync) {
  const fs::path target = folder / "plain-write.tmp";
  const auto start = TClock::now();
  std::FILE* file = std::fopen(target.c_str(), "wb");
  if (file == nullptr) return 0;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size() && std::fflush(file) == 0;
  if (sync) ::fsync(::fileno(file));
  std::fclose(file);
  const double milliseconds = SecondsSince(start) * 1000;
  fs::remove(target);
  return written ? milliseconds : 0;
}

std::string FileBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A tree save as a batch ends it: one node merged, the whole tree written.
// `base` is a folder holding a large TOMOIdx.dat, or empty to generate one.
void MeasureTreeSave(const fs::path& work, const fs::path& base) {
  const fs::path large = work / "large";
  if (base.empty()) {
    TBaseGeneratorOptions options;
    options.Entries = kLargeTreeEntries;
    options.Documents = kLargeTreeDocuments;
    GenerateBase(large.string(), options);
  } else {
    fs::create_directories(large);
    fs::copy_file(base / "TOMOIdx.dat", large / "TOMOIdx.dat", fs::copy_options::overwrite_existing);
  }
  TTOMODocumentFolder documents(large.string());
  TInstalledCollection collection([large] { return large.string(); }, [] { return nullptr; });
  collection.LoadTree();
  TTOMOTree changes(large.string());
  const auto start = TClock::now();
  auto it = changes.Iterator();
  for (int save = 0; save < kTreeSaves; ++save, it.Next()) {
    TTOMONode* node = it.Current();
    TTOMORecordH record = node->Record();
    record.Changed += 1;
    TTOMOTree one;
    collection.MergeNode(one.AddNode(record));
    collection.SaveTreeIfChanged();
  }
  const double saveMs = SecondsSince(start) * 1000 / kTreeSaves;
  const std::string bytes = FileBytes(large / "TOMOIdx.dat");
  double plainMs = 0, plainSyncedMs = 0;
  for (int write = 0; write < kTreeSaves; ++write) {
    plainMs += PlainWriteMilliseconds(large, bytes, false) / kTreeSaves;
    plainSyncedMs += PlainWriteMilliseconds(large, bytes, true) / kTreeSaves;
  }
  std::printf("tree save of %d entries (%zu bytes): %.0f ms a batch\n", collection.Tree()->NodeCount(), bytes.size(),
              saveMs);
  std::printf("  anchor, one fwrite of the same bytes: %.0f ms (save %.2fx); with fsync: %.0f ms (save %.2fx)\n",
              plainMs, saveMs / plainMs, plainSyncedMs, saveMs / plainSyncedMs);
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication application(argc, argv);
  ReplaceConfig(std::make_unique<TTOMOConfig>(std::make_unique<TLxMemoryConfigStore>()));
  const bool treeSaveOnly = argc > 1 && std::string(argv[1]) == "--tree-save";
  if (treeSaveOnly) {
    const fs::path work = "/tmp/bench-tree-save";
    fs::remove_all(work);
    MeasureTreeSave(work, argc > 2 ? fs::path(argv[2]) : fs::path());
    fs::remove_all(work);
    return 0;
  }
  const fs::path work = argc > 1 ? fs::path(argv[1]) : fs::path("/tmp/bench-internet-update");
  fs::remove_all(work);
  fs::create_directories(work / "www" / "atualizacao");

  TBaseGeneratorOptions options;
  options.Entries = kEntries;
  options.Documents = kDocuments;
  GenerateBase((work / "old").string(), options);
  fs::copy(work / "old", work / "new", fs::copy_options::recursive);
  ReplaceDocuments((work / "new").string());
  WriteLayout((work / "new").string(), (work / "www" / "atualizacao").string());
  std::int64_t bytes = 0;
  for (const auto& entry : fs::recursive_directory_iterator(work / "www")) {
    if (entry.is_regular_file() && entry.path().filename() != "tomoidxz.dat") bytes += entry.file_size();
  }

  TLighttpd server((work / "www").string(), false);
  TTinyproxy proxy(kProxyUser, kProxyPassword);
  if (!server.Start() || !proxy.Start()) {
    std::fprintf(stderr, "servers: %s %s\n", server.Error().c_str(), proxy.Error().c_str());
    return 1;
  }
  const std::string url = server.Url("/atualizacao");
  std::printf("server: %d changed documents of %d entries, %lld document bytes\n", kReplaced, kEntries,
              static_cast<long long>(bytes));
  Report("direct, no index", Update(work, url, nullptr, false), kReplaced, bytes);
  Report("tinyproxy, no index", Update(work, url, &proxy, false), kReplaced, bytes);
  Report("direct, word index", Update(work, url, nullptr, true), kReplaced, bytes);
  MeasureTreeSave(work, fs::path());
  fs::remove_all(work);
  return 0;
}
