// pandecta-tool search EXTRA PHRASE [--and PHRASE2 | --or PHRASE2]
//
// Searches the word index in the folder EXTRA for PHRASE (UTF-8), combined
// with PHRASE2 as the search panel's E (--and) or Ou (--or), and prints one
// line per result, ascending by entry:
//   DocumentId<TAB>TitleMatch<TAB>ranges
// TitleMatch is 1 when the entry's title or summary holds the phrase, else 0;
// ranges are the text's hits as start:length joined by commas (empty when the
// entry was found only through its title).

#include <cstdio>
#include <string>
#include <vector>

#include "LxCodePage.h"
#include "SearchResultList.h"
#include "TerminalPrompts.h"
#include "ToolCommand.h"
#include "WordIndex.h"

namespace {

enum class TCombination { None, And, Or };

struct TSearchArguments {
  std::string Folder;
  std::string Phrase;
  TCombination Combination = TCombination::None;
  std::string SecondPhrase;
};

TSearchArguments ParseArguments(const std::vector<std::string>& arguments) {
  if (arguments.size() == 2) return {arguments[0], arguments[1], TCombination::None, ""};
  if (arguments.size() == 4 && (arguments[2] == "--and" || arguments[2] == "--or")) {
    const TCombination combination = arguments[2] == "--and" ? TCombination::And : TCombination::Or;
    return {arguments[0], arguments[1], combination, arguments[3]};
  }
  throw EToolUsage{"Informe a pasta do índice e a frase, e opcionalmente --and ou --or e a segunda frase."};
}

std::string ResultLine(const TSearchResult& result) {
  std::string line = std::to_string(result.DocumentId()) + '\t' + (result.TitleMatch() ? '1' : '0') + '\t';
  for (int i = 0; i < result.Count(); ++i) {
    if (i > 0) line += ',';
    line += std::to_string(result.Ranges(i).Start) + ':' + std::to_string(result.Ranges(i).Length);
  }
  return line + '\n';
}

int RunSearch(const std::vector<std::string>& arguments) {
  const TSearchArguments search = ParseArguments(arguments);
  TTerminalPrompts prompts;
  TScopedPrompts scopedPrompts(prompts);
  TWordIndex index(search.Folder);
  TSearchResultList results = index.Search(Utf8ToWin1252(search.Phrase));
  if (search.Combination != TCombination::None) {
    const TSearchResultList second = index.Search(Utf8ToWin1252(search.SecondPhrase));
    if (search.Combination == TCombination::And) results.IntersectWith(second);
    else results.UnionWith(second);
  }
  std::string out;
  for (int i = 0; i < results.Count(); ++i) out += ResultLine(results.Items(i));
  if (std::fwrite(out.data(), 1, out.size(), stdout) != out.size()) return 1;
  return std::fflush(stdout) == 0 ? 0 : 1;
}

const bool registered =
    RegisterToolCommand({"search", "search EXTRA PHRASE [--and PHRASE2 | --or PHRASE2]", RunSearch});

}  // namespace
