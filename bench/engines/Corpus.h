#pragma once

// The benchmark's documents, kept in one file of records (number, length,
// Windows-1252 text with CR LF line breaks) so that every engine's build reads
// them one at a time and holds only its own index in memory.

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace engines {

struct Document {
  std::int32_t number = 0;
  std::string text;
};

// Writes the corpus file from a folder of plain-text pages (.txt, one page per
// document), repeating the pages in name order with new document numbers
// until there are `documents` of them. Returns the number written.
int WriteCorpusFromPages(const std::string& pageFolder, int documents, const std::string& corpusFile);

// Writes the corpus file from the documents 1..maxNumber of a document base
// (those that exist and have text). Returns the number written.
int WriteCorpusFromBase(const std::string& dataFolder, int maxNumber, const std::string& corpusFile);

// Calls visit(document) for every document of the corpus file, in order.
void ForEachDocument(const std::string& corpusFile, const std::function<void(Document&)>& visit);

// The words of `text` as the word index takes them (folded, in order).
std::vector<std::string> TokensOf(std::string text);

// A token as UTF-8 (each Windows-1252 byte read as the code point of the
// same number), for engines that take UTF-8 text.
std::string TokenAsUtf8(const std::string& token);

}  // namespace engines
