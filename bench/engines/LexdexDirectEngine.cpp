// lexdex through its C interface alone ("lexdex-engine"): the index opened
// once for searching, each phrase word searched with ACL_BeginFindAmong (the
// other words as the filter) and the words aligned on their ordinals. It
// shows the engine's own cost, without the word index's directory lock,
// which the program takes and releases around every search.
// Ordinals are never negative, so (group, ordinal) keys order as pairs.

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>

#include "Engine.h"
#include "WordIndex.h"
#include "lexdex.h"

namespace engines {
namespace {

constexpr int kFound = 0;

std::uint64_t Key(int group, int ordinal) {
  return static_cast<std::uint64_t>(static_cast<std::uint32_t>(group)) << 32 | static_cast<std::uint32_t>(ordinal);
}

class LexdexDirectEngine : public Engine {
 public:
  ~LexdexDirectEngine() override {
    if (open_) ACL_Close();
  }

  void Build(const std::string& corpusFile, const std::string& folder) override {
    MakeLexdexEngine()->Build(corpusFile, folder);  // the same index, built as the program does
  }

  void Open(const std::string& folder) override {
    ACL_Init();
    open_ = ACL_Open(TWordIndex(folder).EngineFolder().c_str(), ACL_OPEN_SEARCH_ONLY) == ACL_OPEN_OK;
  }

  // Each word's triples ascend by group and, within a group, by ordinal (the
  // order the words were added): one merge pass finds the phrases.
  std::vector<int> Search(const Query& query) override {
    std::vector<std::vector<std::array<int, 3>>> triples;
    for (std::size_t w = 0; w < query.tokens.size(); ++w) triples.push_back(FindAmong(query.tokens, w));
    std::vector<std::size_t> next(triples.size(), 0);
    std::vector<int> documents;
    for (const auto& first : triples.front()) {
      if (!documents.empty() && documents.back() == first[0]) continue;
      bool match = true;
      for (std::size_t w = 1; w < triples.size() && match; ++w) {
        const std::uint64_t wanted = Key(first[0], first[2] + static_cast<int>(w));
        const auto& list = triples[w];
        while (next[w] < list.size() && Key(list[next[w]][0], list[next[w]][2]) < wanted) ++next[w];
        match = next[w] < list.size() && Key(list[next[w]][0], list[next[w]][2]) == wanted;
      }
      if (match && first[0] != TWordIndex::TitleGroup) documents.push_back(first[0]);
    }
    return documents;
  }

 private:
  // Every triple of word `w`, in groups that may hold all the words.
  static std::vector<std::array<int, 3>> FindAmong(const std::vector<std::string>& words, std::size_t w) {
    std::vector<const char*> others;
    std::vector<int> lengths;
    for (std::size_t o = 0; o < words.size(); ++o) {
      if (o == w) continue;
      others.push_back(words[o].data());
      lengths.push_back(static_cast<int>(words[o].size()));
    }
    tacl_find* find = ACL_BeginFindAmong(words[w].data(), static_cast<int>(words[w].size()), others.data(),
                                         lengths.data(), static_cast<int>(others.size()));
    std::vector<std::array<int, 3>> triples;
    std::array<int, 3> triple{};
    while (ACL_Find(find, triple.data()) == kFound) triples.push_back(triple);
    ACL_EndFind(find);
    return triples;
  }

  bool open_ = false;
};

}  // namespace

std::unique_ptr<Engine> MakeLexdexDirectEngine() { return std::make_unique<LexdexDirectEngine>(); }

}  // namespace engines
