// bench_snippets: the work the result list does for one screenful of
// snippets, without a word index: for each hit row on screen, read the
// document's plain text (as the word index takes it) and cut the line
// around its first hit.
//
// Goal: within 16 ms per screenful on the 45,000-document base.
// Measured (run alone, load average 2.31 at the start), 200,000 entries,
// 43,634 text documents, "que", 40 screens spread over the base: 3.86-3.98 ms
// per screenful on average, slowest 17.1-17.8 ms.
//
// How to run:
//   build/bin/pandecta-tool generate-base /tmp/bench/Dados --entries 200000 --documents 45000
//   build/bin/bench_snippets /tmp/bench/Dados [word] [screens]
// Rows per screenful: 15, every one a hit (a real list interleaves folders,
// which cost nothing). The first occurrence of the word stands for the
// first hit; finding it is timed too.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "DocumentText.h"
#include "TOMODocumentSet.h"
#include "TOMONode.h"
#include "TOMOTree.h"
#include "TextSnippet.h"

namespace {

constexpr int kRowsPerScreen = 15;
constexpr int kDefaultScreens = 40;

using TClock = std::chrono::steady_clock;

double Milliseconds(TClock::duration spent) { return std::chrono::duration<double, std::milli>(spent).count(); }

// Text position of byte `at`: every CR LF before it counts one.
std::int32_t PositionOf(const std::string& text, std::size_t at) {
  std::int32_t breaks = 0;
  for (std::size_t i = 0; i + 1 < at; ++i) breaks += text[i] == '\r' && text[i + 1] == '\n';
  return static_cast<std::int32_t>(at) - breaks;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "uso: bench_snippets DADOS [PALAVRA] [TELAS]\n");
    return 2;
  }
  const std::string word = argc > 2 ? argv[2] : "que";
  const int screens = argc > 3 ? std::max(1, std::atoi(argv[3])) : kDefaultScreens;
  const TTOMOTree tree(argv[1]);
  TTOMODocumentFolder documents(argv[1]);
  std::vector<const TTOMONode*> texts;
  for (auto it = tree.Iterator(); !it.Eof(); it.Next()) {
    const TTOMORecordH& record = it.Current()->Record();
    if (record.DocumentNumber != 0 && record.Kind == 'T') texts.push_back(it.Current());
  }
  if (texts.empty()) return 1;
  // Screens spread over the whole base, as a user scrolling a long list.
  const std::size_t stride = std::max<std::size_t>(1, texts.size() / static_cast<std::size_t>(screens * kRowsPerScreen));
  double slowest = 0;
  double total = 0;
  int made = 0;
  for (int screen = 0; screen < screens; ++screen) {
    const TClock::time_point start = TClock::now();
    for (int row = 0; row < kRowsPerScreen; ++row) {
      const std::size_t index = (static_cast<std::size_t>(screen * kRowsPerScreen + row) * stride) % texts.size();
      const std::string text = ReadDocumentText(documents, texts[index]->Record().DocumentNumber);
      const std::size_t at = text.find(word);
      const std::int32_t position = at == std::string::npos ? 0 : PositionOf(text, at);
      made += !MakeTextSnippet(text, {{position, static_cast<std::int32_t>(word.size())}}).Empty();
    }
    const double spent = Milliseconds(TClock::now() - start);
    slowest = std::max(slowest, spent);
    total += spent;
  }
  std::printf("%zu documentos de texto; %d telas de %d linhas, %d trechos: %.2f ms por tela em média, "
              "a mais lenta %.2f ms\n",
              texts.size(), screens, kRowsPerScreen, made, total / screens, slowest);
  return 0;
}
