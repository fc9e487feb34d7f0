#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "SearchResultList.h"
#include "TOMORecord.h"
#include "WordIndex.h"

// A document of a test index: entry Id and its text (UTF-8 in the test,
// Windows-1252 in the index).
struct TTestDocument {
  std::int32_t Id;
  std::string Text;
};

// A title-group entry: Id, title and summary (UTF-8).
TTOMORecordH TitledEntry(std::int32_t id, const std::string& title, const std::string& summary = "");

// Builds the index from scratch with the documents and, when given, the
// title group; the lock is closed again before returning.
void BuildTestIndex(TWordIndex& index, const std::vector<TTestDocument>& documents,
                    const std::vector<TTOMORecordH>& titles = {});

// Search with a UTF-8 phrase.
TSearchResultList SearchUtf8(TWordIndex& index, const std::string& phrase);

// "id:start:length,...;T" per result, e.g. "7:10:5,7:200:5" or "42:T".
std::string Describe(const TSearchResultList& list);
