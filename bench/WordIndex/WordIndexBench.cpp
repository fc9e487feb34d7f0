// bench_wordindex: the word index client over a whole document base.
//
// Goals:
//   - Building the complete index of a 20,000-document base (what
//     "pandecta-tool index DATA EXTRA" and the build window do) runs at 250
//     documents per second or more, and the time splits so that no stage
//     but the unavoidable reading of the documents dominates: reading and
//     decoding the bodies, RTF to plain text, tokenizing, and the engine
//     (measured as the build minus the first three).
//   - Phrase search through TWordIndex::Search (directory lock, engine open,
//     one engine search per word, phrase alignment, result list): median at
//     most 50 ms and 95th percentile at most 200 ms, over one-, two- and
//     three-word phrases drawn from the documents.
//
// Run from the build folder (several minutes; about 400 MB of scratch space):
//   bin/bench_wordindex [DATA]   DATA: an existing base to use instead of
//                                generating one (20,000 documents, seed 1)
// The index is built into a scratch folder beside the generated base, which
// is removed at the end. The same build from the command line:
//   bin/pandecta-tool generate-base /tmp/b --entries 24000 --documents 20000
//   time bin/pandecta-tool index /tmp/b /tmp/b-extra
//
// Measured on a shared 2-core machine under heavy load (load average about
// 8), RelWithDebInfo: 19,422 text documents (36.7 million words) in 205 s,
// 95 documents/s; reading 11%, RTF 15%, tokenizing 3%, engine 70%. Search:
// median 1.6 s, 95th percentile 5.6 s, almost all of it inside the engine
// (common words occur in nearly every document and are read one element at
// a time). Both goals are missed on that machine; the engine is where to look.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include <unistd.h>

#include "ACLUnit.h"
#include "BaseGenerator.h"
#include "IndexBuildSequence.h"
#include "RichTextPlainText.h"
#include "TOMODocumentBody.h"
#include "TOMODocumentSet.h"
#include "TOMOTree.h"
#include "WordIndex.h"

namespace {

using TClock = std::chrono::steady_clock;

constexpr std::int32_t kGeneratedEntries = 24000;
constexpr std::int32_t kGeneratedDocuments = 20000;
constexpr int kSearches = 300;

double SecondsSince(TClock::time_point start) {
  return std::chrono::duration<double>(TClock::now() - start).count();
}

double Seconds(const std::function<void()>& work) {
  const auto start = TClock::now();
  work();
  return SecondsSince(start);
}

class TSilentReport : public TIndexBuildReport {
 public:
  void AddLog(TLineKind, const std::string&) override {}
  void ResetProgress(int) override {}
  void SetProgress(int) override {}
};

std::vector<TTOMORecordH> TextEntries(const TTOMOTree& tree) {
  std::vector<TTOMORecordH> entries;
  for (auto it = tree.Iterator(); !it.Eof(); it.Next()) {
    if (it.Current()->Record().Kind == kKindRichText) entries.push_back(it.Current()->Record());
  }
  return entries;
}

std::string ReadContent(TTOMODocumentSet& documents, const TTOMORecordH& entry) {
  const auto document = documents.GetDocument(entry.DocumentNumber, false);
  std::string content = ReadDocumentBody(document->OpenRead()).Content;
  document->CloseDocument();
  return content;
}

// Times each stage on its own over every text document: reading, reading +
// RTF, reading + RTF + tokenizing. Keeps the plain texts for the phrases.
struct TStageTimes {
  double Reading = 0;
  double Rtf = 0;
  double Tokenizing = 0;
  std::int64_t Words = 0;
};

TStageTimes TimeStages(TTOMODocumentSet& documents, const std::vector<TTOMORecordH>& entries,
                       std::vector<std::string>& texts) {
  TStageTimes times;
  std::vector<std::string> contents;
  times.Reading = Seconds([&] {
    for (const TTOMORecordH& entry : entries) contents.push_back(ReadContent(documents, entry));
  });
  times.Rtf = Seconds([&] {
    for (const std::string& content : contents) texts.push_back(RtfToPlainText(content));
  });
  times.Tokenizing = Seconds([&] {
    for (const std::string& text : texts) {
      std::string copy = text;
      times.Words += SplitTextWords(copy.data(), [](char*, int, int, int) {});
    }
  });
  return times;
}

std::vector<std::string> DrawPhrases(const std::vector<std::string>& texts) {
  std::mt19937 random(7);
  std::vector<std::string> phrases;
  while (phrases.size() < kSearches) {
    std::string text = texts[random() % texts.size()];
    std::vector<std::string> words;
    SplitTextWords(text.data(), [&](char* word, int length, int, int) { words.emplace_back(word, length); });
    if (words.size() < 3) continue;
    const size_t count = 1 + phrases.size() % 3;
    const size_t at = random() % (words.size() - count + 1);
    std::string phrase;
    for (size_t k = 0; k < count; ++k) phrase += words[at + k] + " ";
    phrases.push_back(phrase);
  }
  return phrases;
}

double Percentile(std::vector<double> values, double fraction) {
  std::sort(values.begin(), values.end());
  return values[static_cast<size_t>(fraction * static_cast<double>(values.size() - 1))];
}

}  // namespace

int main(int argc, char** argv) {
  const std::filesystem::path scratch =
      std::filesystem::temp_directory_path() / ("bench-wordindex-" + std::to_string(::getpid()));
  std::string dataFolder = argc > 1 ? argv[1] : (scratch / "Dados").string();
  if (argc <= 1) {
    std::printf("generating %d documents...\n", kGeneratedDocuments);
    GenerateBase(dataFolder, {kGeneratedEntries, kGeneratedDocuments, 1});
  }
  const TTOMOTree tree(dataFolder);
  TTOMODocumentFolder documents(dataFolder);
  const std::vector<TTOMORecordH> entries = TextEntries(tree);
  const double count = static_cast<double>(entries.size());

  TWordIndex index((scratch / "Extra").string());
  TSilentReport report;
  std::int64_t words = 0;
  const double build = Seconds([&] {
    TIndexBuildSequence sequence(index, tree, documents, report);
    while (sequence.Step()) {
    }
    words = sequence.WordsIndexed();
  });
  std::printf("build: %.0f text documents, %lld words in %.1f s: %.0f documents/s\n", count,
              static_cast<long long>(words), build, count / build);

  std::vector<std::string> texts;
  const TStageTimes stages = TimeStages(documents, entries, texts);
  const double engine = build - stages.Tokenizing - stages.Rtf - stages.Reading;
  const auto share = [&](double seconds) { return 100.0 * seconds / build; };
  std::printf("  reading bodies %.1f s (%.0f%%), RTF to text %.1f s (%.0f%%), tokenizing %.1f s (%.0f%%),"
              " engine and the rest %.1f s (%.0f%%)\n",
              stages.Reading, share(stages.Reading), stages.Rtf, share(stages.Rtf), stages.Tokenizing,
              share(stages.Tokenizing), engine, share(engine));

  std::vector<double> latencies;
  std::int64_t results = 0;
  for (const std::string& phrase : DrawPhrases(texts)) {
    const auto start = TClock::now();
    results += index.Search(phrase).Count();
    latencies.push_back(SecondsSince(start) * 1000.0);
  }
  std::printf("search: %d phrases of 1-3 words, %lld results; median %.1f ms, 95th percentile %.1f ms\n",
              kSearches, static_cast<long long>(results), Percentile(latencies, 0.5),
              Percentile(latencies, 0.95));

  std::error_code ignored;
  std::filesystem::remove_all(scratch, ignored);
  return 0;
}
