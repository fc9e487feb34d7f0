// bench_readline — how fast ReadLine reads a text file through TLxFileStream.
//
// Goal: ReadLine over TLxFileStream reads lines at no less than half the rate
// of std::getline over std::ifstream (ratio getline / ReadLine <= 2.0). The
// document base reads its index file and document headers line by line, and
// the file stream's buffer is what keeps ReadLine's byte-at-a-time contract
// from costing one system call per byte.
//
// Run: build/bin/bench_readline [megabytes]   (default 50)
// It writes a file of CR LF lines of that size in the current folder
// (bench_readline.txt, removed at the end), reads it three times each way and
// prints the best rate of each in MB/s and their ratio. Exit status 1 when the
// goal is missed.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "LxFileStream.h"
#include "LxLineIO.h"

namespace {

constexpr const char* kFileName = "bench_readline.txt";
constexpr double kGoalRatio = 2.0;
constexpr int kRounds = 3;

void WriteSample(std::int64_t bytes) {
  TLxFileStream file(kFileName, TLxFileMode::Create);
  std::uint32_t seed = 2003;
  std::int64_t written = 0;
  std::string line;
  while (written < bytes) {
    seed = seed * 1103515245u + 12345u;
    // Lines of 0 to 119 characters, like the index file's records and headers.
    line.assign(seed >> 25, 'a' + static_cast<char>(seed % 26));
    WriteLine(file, line);
    written += static_cast<std::int64_t>(line.size()) + 2;
  }
  file.Close();
}

template <typename Reader>
double BestSeconds(Reader read, std::int64_t& lines) {
  double best = 1e30;
  for (int round = 0; round < kRounds; ++round) {
    const auto start = std::chrono::steady_clock::now();
    lines = read();
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    if (took.count() < best) best = took.count();
  }
  return best;
}

}  // namespace

int main(int argc, char** argv) {
  const std::int64_t megabytes = argc > 1 ? std::atoll(argv[1]) : 50;
  const std::int64_t bytes = megabytes * 1000 * 1000;
  WriteSample(bytes);

  std::int64_t lxLines = 0;
  std::int64_t lxChars = 0;
  const double lxSeconds = BestSeconds(
      [&] {
        TLxFileStream file(kFileName, TLxFileMode::OpenRead);
        std::string line;
        std::int64_t count = 0;
        lxChars = 0;
        while (ReadLine(file, line)) {
          ++count;
          lxChars += static_cast<std::int64_t>(line.size());
        }
        return count;
      },
      lxLines);

  std::int64_t stdLines = 0;
  std::int64_t stdChars = 0;
  const double stdSeconds = BestSeconds(
      [&] {
        std::ifstream file(kFileName, std::ios::binary);
        std::string line;
        std::int64_t count = 0;
        stdChars = 0;
        while (std::getline(file, line)) {
          if (!line.empty() && line.back() == '\r') line.pop_back();
          ++count;
          stdChars += static_cast<std::int64_t>(line.size());
        }
        return count;
      },
      stdLines);
  std::remove(kFileName);

  const double mb = static_cast<double>(bytes) / 1e6;
  const double ratio = lxSeconds / stdSeconds;
  std::printf("file: %.1f MB, %lld lines\n", mb, static_cast<long long>(lxLines));
  std::printf("ReadLine over TLxFileStream: %8.1f MB/s\n", mb / lxSeconds);
  std::printf("std::getline over ifstream:  %8.1f MB/s\n", mb / stdSeconds);
  std::printf("ratio of times ReadLine/getline: %.2f (goal <= %.1f)\n", ratio, kGoalRatio);
  if (lxLines != stdLines || lxChars != stdChars) {
    std::printf("MISMATCH: ReadLine %lld lines/%lld chars, getline %lld lines/%lld chars\n",
                static_cast<long long>(lxLines), static_cast<long long>(lxChars), static_cast<long long>(stdLines),
                static_cast<long long>(stdChars));
    return 1;
  }
  return ratio <= kGoalRatio ? 0 : 1;
}
