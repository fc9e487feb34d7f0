#pragma once

#include <string>
#include <vector>

#include "SearchResultList.h"

class TWordIndex;

// How a second phrase joins the first.
enum class TPhraseCombination {
  And,  // "E": entries found by both phrases
  Or,   // "Ou": entries found by either
};

// What the user asked for on the search page: a phrase and, when the
// advanced settings are open, a second phrase. Texts are Windows-1252.
struct TSearchQuery {
  std::string Phrase;
  std::string MorePhrase;  // empty: the first phrase alone
  TPhraseCombination Combination = TPhraseCombination::And;
};

// Searches the phrase and, when there is one, the second phrase, and
// combines them:
//   "renda" E "imposto" keeps the entries holding both phrases, with the
//   ranges of both; "renda" Ou "imposto" keeps those holding either.
// Raises the word index's errors (missing, held elsewhere, already open).
TSearchResultList RunSearchQuery(TWordIndex& index, const TSearchQuery& query);

// The letter or digit runs of a phrase too short to be words (one or two
// characters), which the search passes over, each once, as typed:
//   "imposto de renda a pagar" gives "de", "a".
std::vector<std::string> SkippedQueryWords(const std::string& phrase);
