// bench_base: loading and saving the document tree, and reading a document.
//
// Goals:
//   - Loading the tree of a 200,000-entry base (realistic titles and
//     summaries) takes at most 3x a bare line split of the same index file
//     (read the file, cut it into lines). Memory per node is reported.
//   - Saving the same tree is reported beside them.
//   - Opening and decoding a 1 MB document takes at most 2x zlib's own
//     inflate of the same block (uncompress() on the bytes in memory).
//
// Run from the build folder:
//   bin/bench_base [DATA]          DATA: an existing generated base to use
//                                  (default: one is generated in a temp folder)
// Each figure is the best of several runs, in milliseconds.

#include <malloc.h>
#include <unistd.h>
#include <zlib.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "BaseGenerator.h"
#include "DocumentBaseUnit.h"
#include "LxFilUtl.h"
#include "SyntheticText.h"
#include "TOMOTree.h"

namespace fs = std::filesystem;

namespace {

constexpr std::int32_t kEntries = 200'000;
constexpr std::int32_t kDocuments = 50;
constexpr int kRuns = 5;
constexpr std::int32_t kLargeDocumentBytes = 1024 * 1024;
constexpr std::int32_t kLargeDocumentNumber = 999'999;

double BestMilliseconds(const std::function<void()>& work, int runs = kRuns) {
  double best = 1e30;
  for (int i = 0; i < runs; ++i) {
    const auto start = std::chrono::steady_clock::now();
    work();
    const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
    best = std::min(best, took.count());
  }
  return best;
}

// The reference: the whole file read and cut into lines, nothing parsed.
size_t BareLineSplit(const std::string& fileName) {
  std::ifstream file(fileName, std::ios::binary);
  std::vector<std::string> lines;
  for (std::string line; std::getline(file, line);) lines.push_back(std::move(line));
  return lines.size();
}

std::string ReadWholeFileForBench(const std::string& fileName) {
  std::ifstream file(fileName, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

size_t HeapInUse() { return mallinfo2().uordblks; }

void BenchTree(const std::string& data) {
  const std::string index = PathJoin(data, "TOMOIdx.dat");
  size_t lines = 0;
  const double split = BestMilliseconds([&] { lines = BareLineSplit(index); });
  std::int32_t nodes = 0;
  const double load = BestMilliseconds([&] { nodes = TTOMOTree(data).NodeCount(); });

  const size_t before = HeapInUse();
  auto tree = std::make_unique<TTOMOTree>(data);
  const size_t after = HeapInUse();

  const std::string copy = PathJoin(data, "copia");
  const double save = BestMilliseconds([&] { tree->SaveToFile(copy); });

  std::printf("index file: %.1f MB, %zu lines, %d nodes\n", static_cast<double>(FileSize(index)) / 1e6, lines, nodes);
  std::printf("bare line split      %8.1f ms\n", split);
  std::printf("load tree            %8.1f ms  (%.2fx the split; goal <= 3x)\n", load, load / split);
  std::printf("save tree            %8.1f ms\n", save);
  std::printf("memory per node      %8.0f bytes (heap, record and texts included)\n",
              static_cast<double>(after - before) / tree->NodeCount());
}

std::string LargeRichText() {
  TSyntheticText text;
  TSyntheticRandom random(42);
  std::string rtf = "{\\rtf1\\ansi\\deff0 ";
  while (static_cast<std::int32_t>(rtf.size()) < kLargeDocumentBytes) rtf += text.Sentence(random, 60) + "\\par\r\n";
  return rtf + "}";
}

void BenchDocument(const std::string& data) {
  TTOMODocumentFolder folder(data);
  {
    auto document = folder.GetDocument(kLargeDocumentNumber, true);
    document->SetProperty(DocumentDateProperty(), "01/02/2003");
    WriteDocumentBody(document->OpenWrite(), 37653, LargeRichText(), {});
    document->CloseDocument();
  }
  const std::string fileName = DocumentFileName(data, kLargeDocumentNumber);

  std::vector<char> buffer(2 * kLargeDocumentBytes);
  std::int32_t bodySize = 0;
  const double ours = BestMilliseconds([&] {
    auto document = folder.GetDocument(kLargeDocumentNumber, false);
    TLxStream& body = document->OpenRead();
    bodySize = 0;
    for (std::int32_t got; (got = body.Read(buffer.data(), static_cast<std::int32_t>(buffer.size()))) > 0;) bodySize += got;
    document->CloseDocument();
  }, 20);

  // zlib alone: the same block, already in memory.
  const std::string stored = ReadWholeFileForBench(fileName);
  const size_t blockAt = stored.find("\r\n\r\n") + 4;
  const std::string block = stored.substr(blockAt + 8);
  uLongf expanded = 0;
  const double zlibOnly = BestMilliseconds([&] {
    expanded = static_cast<uLongf>(buffer.size());
    uncompress(reinterpret_cast<Bytef*>(buffer.data()), &expanded, reinterpret_cast<const Bytef*>(block.data()),
               block.size());
  }, 20);
  std::printf("document: %d bytes of body, %zu bytes stored\n", bodySize, stored.size());
  std::printf("zlib inflate         %8.2f ms\n", zlibOnly);
  std::printf("open + decode        %8.2f ms  (%.2fx zlib; goal <= 2x)\n", ours, ours / zlibOnly);
  (void)expanded;
}

}  // namespace

int main(int argc, char** argv) {
  std::string data;
  fs::path scratch;
  if (argc > 1) {
    data = argv[1];
  } else {
    scratch = fs::temp_directory_path() / ("pandecta-bench-base-" + std::to_string(::getpid()));
    data = scratch.string();
    TBaseGeneratorOptions options;
    options.Entries = kEntries;
    options.Documents = kDocuments;
    options.Seed = 2003;
    const auto start = std::chrono::steady_clock::now();
    GenerateBase(data, options);
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    std::printf("generated %d entries, %d documents in %.1f s\n", kEntries, kDocuments, took.count());
  }
  BenchTree(data);
  BenchDocument(data);
  if (!scratch.empty()) fs::remove_all(scratch);
  return 0;
}
