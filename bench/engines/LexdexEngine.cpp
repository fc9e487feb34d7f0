// lexdex as the program drives it: the index is built through the word
// index's create lock (one group per document, words from its tokenizer), and
// every query goes through the word index's phrase search.

#include <memory>

#include "Corpus.h"
#include "Engine.h"
#include "Prompts.h"
#include "WordIndex.h"
#include "WordIndexLockWrite.h"

namespace engines {
namespace {

class LexdexEngine : public Engine {
 public:
  LexdexEngine() { SetPrompts(&prompts_); }  // nobody answers questions here

  void Build(const std::string& corpusFile, const std::string& folder) override {
    TWordIndex index(folder);
    const std::unique_ptr<TWordIndexLockCreate> lock = index.OpenCreate();
    ForEachDocument(corpusFile, [&](Document& document) {
      lock->IndexText(document.number, std::move(document.text));
    });
  }

  void Open(const std::string& folder) override { index_ = std::make_unique<TWordIndex>(folder); }

  std::vector<int> Search(const Query& query) override {
    const TSearchResultList found = index_->Search(query.text);
    std::vector<int> documents;
    for (int i = 0; i < found.Count(); ++i) documents.push_back(found.Items(i).DocumentId());
    return documents;
  }

 private:
  TScriptedPrompts prompts_;
  std::unique_ptr<TWordIndex> index_;
};

}  // namespace

std::unique_ptr<Engine> MakeLexdexEngine() { return std::make_unique<LexdexEngine>(); }

}  // namespace engines
