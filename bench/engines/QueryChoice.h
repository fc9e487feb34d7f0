#pragma once

// The queries of a run, drawn from the corpus itself with a fixed seed:
// single words by document frequency (rare, medium, very common) and two- and
// three-word phrases cut from random places of random documents.

#include <string>
#include <vector>

#include "Engine.h"

namespace engines {

struct ClassedQuery {
  std::string queryClass;  // "rare", "medium", "common", "phrase2", "phrase3"
  Query query;
};

inline const std::vector<std::string> kQueryClasses = {"rare", "medium", "common", "phrase2", "phrase3"};

std::vector<ClassedQuery> ChooseQueries(const std::string& corpusFile, int perClass);

void WriteQueries(const std::vector<ClassedQuery>& queries, const std::string& path);
std::vector<ClassedQuery> ReadQueries(const std::string& path);

}  // namespace engines
