#include "Corpus.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <stdexcept>

#include "ACLUnit.h"
#include "DocumentText.h"
#include "TOMODocumentSet.h"

namespace engines {
namespace {

namespace fs = std::filesystem;

void WriteRecord(std::FILE* file, std::int32_t number, const std::string& text) {
  const std::uint32_t header[2] = {static_cast<std::uint32_t>(number), static_cast<std::uint32_t>(text.size())};
  std::fwrite(header, sizeof header, 1, file);
  std::fwrite(text.data(), 1, text.size(), file);
}

std::FILE* CreateOrThrow(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) throw std::runtime_error("cannot create " + path);
  return file;
}

// The word index takes CR LF line breaks, as the text view shows them.
std::string WithCrLf(const std::string& text) {
  std::string out;
  out.reserve(text.size() + text.size() / 32);
  for (char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

}  // namespace

int WriteCorpusFromPages(const std::string& pageFolder, int documents, const std::string& corpusFile) {
  std::vector<fs::path> pages;
  for (const auto& entry : fs::directory_iterator(pageFolder)) {
    if (entry.path().extension() == ".txt" && entry.file_size() > 0) pages.push_back(entry.path());
  }
  std::sort(pages.begin(), pages.end());
  if (pages.empty()) throw std::runtime_error("no .txt pages in " + pageFolder);
  std::vector<std::string> texts;
  for (const fs::path& page : pages) {
    std::ifstream in(page, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    texts.push_back(WithCrLf(text.str()));
  }
  std::FILE* file = CreateOrThrow(corpusFile);
  for (int number = 1; number <= documents; ++number) {
    WriteRecord(file, number, texts[static_cast<std::size_t>(number - 1) % texts.size()]);
  }
  std::fclose(file);
  return documents;
}

int WriteCorpusFromBase(const std::string& dataFolder, int maxNumber, const std::string& corpusFile) {
  TTOMODocumentFolder documents(dataFolder);
  std::FILE* file = CreateOrThrow(corpusFile);
  int written = 0;
  for (int number = 1; number <= maxNumber; ++number) {
    try {
      const std::string text = ReadDocumentText(documents, number);
      if (text.empty()) continue;
      WriteRecord(file, number, text);
      ++written;
    } catch (const std::exception&) {
      // Numbers without a document are skipped.
    }
  }
  std::fclose(file);
  return written;
}

void ForEachDocument(const std::string& corpusFile, const std::function<void(Document&)>& visit) {
  std::FILE* file = std::fopen(corpusFile.c_str(), "rb");
  if (file == nullptr) throw std::runtime_error("cannot open " + corpusFile);
  Document document;
  std::uint32_t header[2];
  while (std::fread(header, sizeof header, 1, file) == 1) {
    document.number = static_cast<std::int32_t>(header[0]);
    document.text.resize(header[1]);
    if (std::fread(document.text.data(), 1, header[1], file) != header[1]) break;
    visit(document);
  }
  std::fclose(file);
}

std::vector<std::string> TokensOf(std::string text) {
  BuildCharTables();
  std::vector<std::string> tokens;
  SplitTextWords(text.data(), [&](const char* word, int length, int, int) { tokens.emplace_back(word, length); });
  return tokens;
}

std::string TokenAsUtf8(const std::string& token) {
  std::string out;
  for (unsigned char c : token) {
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

}  // namespace engines
