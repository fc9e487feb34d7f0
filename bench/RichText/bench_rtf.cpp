// Speed of the RTF reader.
//
// Goal: plain-text extraction (RtfToPlainText, what the index build runs over
// every document) at 100 MB/s of RTF or more; building the view document at
// most 5 times slower than the plain text.
//
// Times are the thread's CPU time, not wall-clock time.
//
// Input: the LibreOffice- and Word-style fixtures of tests/data/rtf, read one
// by one as the index build reads documents, and the same documents with their
// bodies repeated to about 4 MB each, as long single documents.
//
// Run from the build folder: bin/bench_rtf [--plain] [fixture folder]
// (default: the source tree's tests/data/rtf; --plain skips the view).
#include <ctime>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "RichTextPlainText.h"
#include "TempFolder.h"

#ifdef BENCH_RTF_VIEW
#include <QGuiApplication>
#include "RichTextView.h"
#endif

namespace {

constexpr size_t kLargeDocumentBytes = 4 << 20;
constexpr size_t kSmallDocumentsBytes = 8 << 20;
constexpr double kBytesPerMegabyte = 1 << 20;

struct TCorpus {
  std::string name;
  std::vector<std::string> documents;
  size_t bytes = 0;
};

// The first \pard directly inside the document's group: where the body starts.
size_t BodyStart(const std::string& rtf) {
  int depth = 0;
  for (size_t i = 0; i < rtf.size(); ++i) {
    if (rtf[i] == '\\' && i + 1 < rtf.size() && rtf[i + 1] != 'p') {
      ++i;  // an escaped brace or backslash is no group
    } else if (rtf[i] == '{') {
      ++depth;
    } else if (rtf[i] == '}') {
      --depth;
    } else if (depth == 1 && rtf.compare(i, 5, "\\pard") == 0) {
      return i;
    }
  }
  return std::string::npos;
}

// A document whose body (from its first \pard to its last brace) repeats
// until the whole is about `size` bytes.
std::string Enlarged(const std::string& rtf, size_t size) {
  const size_t bodyStart = BodyStart(rtf);
  const size_t end = rtf.rfind('}');
  if (bodyStart == std::string::npos || end == std::string::npos || end <= bodyStart) return rtf;
  const std::string body = rtf.substr(bodyStart, end - bodyStart);
  std::string out = rtf.substr(0, end);
  while (out.size() < size) out += body;
  return out + "}";
}

// CPU time of this thread: the build machines are shared, and wall-clock time
// there measures the neighbours as much as the reader.
double ThreadSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + now.tv_nsec / 1e9;
}

double SecondsFor(const TCorpus& corpus, const std::function<size_t(const std::string&)>& work) {
  size_t sink = 0;
  const double start = ThreadSeconds();
  for (const std::string& document : corpus.documents) sink += work(document);
  const double elapsed = ThreadSeconds() - start;
  if (sink == 0) std::puts("(no output)");
  return elapsed;
}

bool measureView = true;

void Measure(const TCorpus& corpus) {
  const double megabytes = corpus.bytes / kBytesPerMegabyte;
  const double plain = SecondsFor(corpus, [](const std::string& rtf) { return RtfToPlainText(rtf).size(); });
  std::printf("%-28s %7.1f MB  plain text %8.1f MB/s", corpus.name.c_str(), megabytes, megabytes / plain);
#ifdef BENCH_RTF_VIEW
  if (!measureView) {
    std::printf("\n");
    return;
  }
  const double view = SecondsFor(corpus, [](const std::string& rtf) {
    return static_cast<size_t>(BuildTextDocumentFromBody(rtf)->characterCount());
  });
  std::printf("  view %7.1f MB/s (%.1fx slower)", megabytes / view, view / plain);
#endif
  std::printf("\n");
}

}  // namespace

int main(int argc, char** argv) {
#ifdef BENCH_RTF_VIEW
  QGuiApplication application(argc, argv);
#endif
  int argument = 1;
  if (argument < argc && std::string(argv[argument]) == "--plain") {
    measureView = false;
    ++argument;
  }
  const std::filesystem::path folder = argument < argc ? argv[argument] : BENCH_RTF_FIXTURES;
  std::vector<std::pair<std::string, std::string>> fixtures;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (entry.path().extension() == ".rtf") {
      fixtures.emplace_back(entry.path().stem().string(), ReadWholeFile(entry.path()));
    }
  }
  if (fixtures.empty()) {
    std::fprintf(stderr, "no .rtf files in %s\n", folder.string().c_str());
    return 1;
  }
  TCorpus small{"all fixtures, one by one", {}, 0};
  while (small.bytes < kSmallDocumentsBytes) {
    for (const auto& fixture : fixtures) {
      small.documents.push_back(fixture.second);
      small.bytes += fixture.second.size();
    }
  }
  Measure(small);
  for (const auto& [name, rtf] : fixtures) {
    TCorpus large{name, {Enlarged(rtf, kLargeDocumentBytes)}, 0};
    large.bytes = large.documents.front().size();
    Measure(large);
  }
  return 0;
}
