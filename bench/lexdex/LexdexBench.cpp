// bench_lexdex: indexing throughput and one-word search latency of the lexdex
// engine, through its C interface (the shared library, as the program uses it).
//
// What it does:
//   1. Generates a vocabulary of Portuguese-like words (syllables, some
//      Windows-1252 accented letters) from a fixed seed, and 50,000 groups of
//      200 to 400 words each (about 300) drawn with Zipfian frequencies
//      (exponent 1). a = character position, b = ordinal, as for documents.
//   2. Builds the index in create mode in a scratch folder and reports
//      elements indexed per second and the index size (hint.il, group files).
//   3. Reopens it in search mode and runs complete single-word searches
//      (begin, every triple, end) for three classes of words: rare (ranks
//      20,000 and up, a handful of groups), medium (ranks 200 to 2,000) and
//      very common (the 10 most frequent, in nearly every group). It prints
//      the median and 95th percentile latency per class. The files are in the
//      page cache by then: these are warm-cache figures.
//   4. Removes the folder.
// Every figure is given in wall-clock time and in the process's CPU time
// (user + system): on a busy machine the CPU figures are the steadier ones.
//
// Run from the build folder (about 1.5 minutes; needs ~380 MB of scratch space):
//   build/bin/bench_lexdex [scratch-parent-folder]
// The default parent is /dev/shm (memory) when it exists, else the system's
// temporary folder. On a disk, removing 50,000 files that the kernel has
// already written out can take minutes of metadata I/O (timed apart, at the
// end); pass a folder on the disk to measure indexing there.

#include <algorithm>
#include <chrono>
#include <cmath>
#include <ctime>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <unordered_set>
#include <vector>

#include <unistd.h>

#include "lexdex.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr std::uint64_t kSeed = 20261207;
constexpr int kGroups = 50'000;
constexpr int kMinWordsPerGroup = 200;
constexpr int kMaxWordsPerGroup = 400;
constexpr int kVocabulary = 60'000;
constexpr double kZipfExponent = 1.0;

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }
double CpuSeconds() { return static_cast<double>(std::clock()) / CLOCKS_PER_SEC; }

// Distinct words made of syllables, ranked by the order they were made.
std::vector<std::string> MakeVocabulary(std::mt19937_64& random) {
  static const char* const kOnsets[] = {"", "b", "c", "d", "f", "g", "l", "m", "n", "p", "r", "s",
                                        "t", "v", "ch", "lh", "nh", "pr", "tr", "br", "qu", "gr"};
  static const char* const kVowels[] = {"a", "e", "i", "o", "u", "a", "e", "o", "\xE3", "\xE9",
                                        "\xE1", "\xF5", "\xED", "\xF3", "\xEA"};
  static const char* const kCodas[] = {"", "", "", "s", "r", "m", "l", "n", "\xE7\xE3o", "dade"};
  auto pick = [&random](const auto& list) {
    return list[random() % (sizeof list / sizeof list[0])];
  };
  std::vector<std::string> words;
  std::unordered_set<std::string> seen;
  while (static_cast<int>(words.size()) < kVocabulary) {
    // Frequent words come first and are short, as in real text.
    const int syllables = 1 + static_cast<int>(random() % (words.size() < 100 ? 2 : 4));
    std::string word;
    for (int s = 0; s < syllables; ++s) word += std::string(pick(kOnsets)) + pick(kVowels);
    word += pick(kCodas);
    if (seen.insert(word).second) words.push_back(word);
  }
  return words;
}

// Cumulative Zipf weights, for drawing a rank with one binary search.
std::vector<double> ZipfCumulative() {
  std::vector<double> cumulative(kVocabulary);
  double sum = 0;
  for (int rank = 0; rank < kVocabulary; ++rank) {
    sum += 1.0 / std::pow(rank + 1, kZipfExponent);
    cumulative[rank] = sum;
  }
  for (double& c : cumulative) c /= sum;
  return cumulative;
}

std::uint64_t FolderBytes(const fs::path& folder, std::uint64_t* files) {
  std::uint64_t bytes = 0;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    if (!entry.is_regular_file()) continue;
    bytes += entry.file_size();
    ++*files;
  }
  return bytes;
}

struct SearchStats {
  std::vector<double> micros;
  std::vector<double> cpuMicros;
  std::uint64_t triples = 0;
};

SearchStats RunSearches(const std::vector<std::string>& words) {
  SearchStats stats;
  for (const std::string& word : words) {
    const auto start = Clock::now();
    const double cpuStart = CpuSeconds();
    tacl_find* find = ACL_BeginFind(word.data(), static_cast<int>(word.size()));
    int triple[3];
    while (ACL_Find(find, triple) == 0) ++stats.triples;
    ACL_EndFind(find);
    stats.micros.push_back(Seconds(Clock::now() - start) * 1e6);
    stats.cpuMicros.push_back((CpuSeconds() - cpuStart) * 1e6);
  }
  return stats;
}

double Percentile(std::vector<double> values, double fraction) {
  std::sort(values.begin(), values.end());
  const auto index = static_cast<std::size_t>(fraction * (values.size() - 1) + 0.5);
  return values[index];
}

void PrintClass(const char* name, const std::vector<std::string>& words) {
  const SearchStats stats = RunSearches(words);
  std::printf("  %-12s %4zu searches %9.1f triples/search  wall: median %9.0f us, p95 %9.0f us"
              "  cpu: median %9.0f us, p95 %9.0f us\n",
              name, words.size(), double(stats.triples) / words.size(), Percentile(stats.micros, 0.5),
              Percentile(stats.micros, 0.95), Percentile(stats.cpuMicros, 0.5),
              Percentile(stats.cpuMicros, 0.95));
}

}  // namespace

int main(int argc, char** argv) {
  std::setvbuf(stdout, nullptr, _IOLBF, 0);  // figures appear as they are measured
  const auto benchStart = Clock::now();
  std::error_code noShm;
  const fs::path parent = argc > 1                               ? fs::path(argv[1])
                          : fs::is_directory("/dev/shm", noShm) ? fs::path("/dev/shm")
                                                                 : fs::temp_directory_path();
  const fs::path folder = parent / ("lexdex-bench-" + std::to_string(::getpid()));
  std::mt19937_64 random(kSeed);
  const std::vector<std::string> vocabulary = MakeVocabulary(random);
  const std::vector<double> cumulative = ZipfCumulative();
  std::uniform_real_distribution<double> unit(0.0, 1.0);

  ACL_Init();
  if (ACL_Open(folder.string().c_str(), ACL_OPEN_CREATE) != ACL_OPEN_OK) {
    std::fprintf(stderr, "cannot create the index in %s\n", folder.string().c_str());
    return 1;
  }
  std::uint64_t elements = 0;
  Clock::duration indexing{};
  double indexingCpu = 0;
  std::vector<int> ranks;
  for (int group = 0; group < kGroups; ++group) {
    // The text is drawn outside the timed part.
    const int count = kMinWordsPerGroup + static_cast<int>(random() % (kMaxWordsPerGroup - kMinWordsPerGroup + 1));
    ranks.clear();
    for (int i = 0; i < count; ++i) {
      ranks.push_back(static_cast<int>(std::lower_bound(cumulative.begin(), cumulative.end(), unit(random)) -
                                       cumulative.begin()));
    }
    const auto start = Clock::now();
    const double cpuStart = CpuSeconds();
    ACL_BeginGroup(group);
    int position = 0;
    for (int i = 0; i < count; ++i) {
      const std::string& word = vocabulary[std::min(ranks[i], kVocabulary - 1)];
      ACL_AddElem(word.data(), static_cast<int>(word.size()), position, i);
      position += static_cast<int>(word.size()) + 1;
    }
    ACL_EndGroup();
    indexing += Clock::now() - start;
    indexingCpu += CpuSeconds() - cpuStart;
    elements += count;
  }
  const auto closeStart = Clock::now();
  const double closeCpuStart = CpuSeconds();
  ACL_Close();
  indexing += Clock::now() - closeStart;
  indexingCpu += CpuSeconds() - closeCpuStart;

  std::uint64_t files = 0;
  const auto sizeStart = Clock::now();
  const std::uint64_t total = FolderBytes(folder, &files);
  const std::uint64_t hint = fs::file_size(folder / "hint.il");
  std::printf("index folder: %s\n", folder.string().c_str());
  std::printf("lexdex benchmark: %d groups, %llu elements, vocabulary %d, Zipf exponent %.1f\n", kGroups,
              static_cast<unsigned long long>(elements), kVocabulary, kZipfExponent);
  std::printf("indexing: wall %.2f s, %.0f elements/s, %.0f groups/s; cpu %.2f s, %.0f elements/s\n",
              Seconds(indexing), elements / Seconds(indexing), kGroups / Seconds(indexing), indexingCpu,
              elements / indexingCpu);
  std::printf("index size: %.1f MiB in all (hint.il %.1f MiB, %llu group files %.1f MiB)\n",
              total / 1048576.0, hint / 1048576.0, static_cast<unsigned long long>(files - 1),
              (total - hint) / 1048576.0);

  std::printf("(measuring the size took %.1f s)\n", Seconds(Clock::now() - sizeStart));
  if (ACL_Open(folder.string().c_str(), ACL_OPEN_SEARCH_ONLY) != ACL_OPEN_OK) return 1;
  std::vector<std::string> rare;
  std::vector<std::string> medium;
  std::vector<std::string> common;
  for (int i = 0; i < 200; ++i) rare.push_back(vocabulary[20'000 + static_cast<int>(random() % 40'000)]);
  for (int i = 0; i < 100; ++i) medium.push_back(vocabulary[200 + static_cast<int>(random() % 1'800)]);
  for (int i = 0; i < 10; ++i) common.push_back(vocabulary[i]);
  std::printf("search (warm cache, complete searches):\n");
  PrintClass("rare", rare);
  PrintClass("medium", medium);
  PrintClass("very common", common);
  ACL_Close();
  const auto removeStart = Clock::now();
  ACL_Remove(folder.string().c_str());
  std::printf("removing the index: %.1f s; whole run %.1f s\n", Seconds(Clock::now() - removeStart),
              Seconds(Clock::now() - benchStart));
  ACL_End();
  return 0;
}
