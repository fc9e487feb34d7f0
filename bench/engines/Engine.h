#pragma once

// One search engine under comparison: builds an index of the corpus in a
// folder, then, in another process, opens it and answers word and phrase
// queries with the ascending numbers of the documents that hold them.

#include <memory>
#include <string>
#include <vector>

namespace engines {

struct Query {
  std::string text;                 // the words, folded, separated by spaces
  std::vector<std::string> tokens;  // the same words one by one
};

class Engine {
 public:
  virtual ~Engine() = default;
  virtual void Build(const std::string& corpusFile, const std::string& folder) = 0;
  virtual void Open(const std::string& folder) = 0;
  // Documents holding the words next to each other in this order, ascending.
  virtual std::vector<int> Search(const Query& query) = 0;
};

// "lexdex" (through the program's word index), "lexdex-engine" (its C
// interface alone), "sqlite" or "xapian"; null for any other name.
std::unique_ptr<Engine> MakeEngine(const std::string& name);

std::unique_ptr<Engine> MakeLexdexEngine();
std::unique_ptr<Engine> MakeLexdexDirectEngine();
std::unique_ptr<Engine> MakeSqliteEngine();
std::unique_ptr<Engine> MakeXapianEngine();

inline std::unique_ptr<Engine> MakeEngine(const std::string& name) {
  if (name == "lexdex") return MakeLexdexEngine();
  if (name == "lexdex-engine") return MakeLexdexDirectEngine();
  if (name == "sqlite") return MakeSqliteEngine();
  if (name == "xapian") return MakeXapianEngine();
  return nullptr;
}

}  // namespace engines
