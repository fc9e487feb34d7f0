// The word index as a search meets it on a damaged folder. A real index of
// one group is built once; each input then replaces either that group's file
// (first byte even) or the start of hint.il (first byte odd), and words are
// searched alone and as a phrase.

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "FuzzSupport.h"
#include "lexdex.h"

namespace {
constexpr int kGroup = 5;
const char* const kWords[] = {"a", "renda", "imposto", "zz"};
const int kLengths[] = {1, 5, 7, 2};
constexpr int kWordCount = 4;
constexpr int kMaxStepsPerSearch = 100000;

std::string ReadAll(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// hint.il and the group file of an index holding every word a few times.
struct TValidIndex {
  std::string Hint;
  std::string Group;
  TValidIndex() {
    const std::string folder = FuzzScratchFolder() + "/valid";
    ACL_Open(folder.c_str(), ACL_OPEN_CREATE);
    ACL_BeginGroup(kGroup);
    for (int i = 0; i < kWordCount; ++i) {
      ACL_AddElem(kWords[i], kLengths[i], i * 10, i);
      ACL_AddElem(kWords[i], kLengths[i], i * 10 + 100, i + 10);
    }
    ACL_EndGroup();
    ACL_Close();
    Hint = ReadAll(folder + "/hint.il");
    Group = ReadAll(folder + "/grp00/05.sl");
  }
};

void Search(int word) {
  tacl_find* find = ACL_BeginFindAmong(kWords[word], kLengths[word], kWords, kLengths, kWordCount);
  if (!find) return;
  int triple[3];
  for (int steps = 0; steps < kMaxStepsPerSearch && ACL_Find(find, triple) == 0; ++steps) {
  }
  ACL_EndFind(find);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  static const TValidIndex valid;
  const std::string_view rest = AsText(data + 1, size - 1);
  std::string hint = valid.Hint;
  std::string group = valid.Group;
  if (data[0] % 2 == 0) {
    group.assign(rest);
  } else {
    hint.replace(0, std::min(rest.size(), hint.size()), rest.substr(0, std::min(rest.size(), hint.size())));
  }
  const std::string folder = FuzzScratchFolder() + "/index";
  WriteFuzzFile(folder + "/hint.il", hint);
  WriteFuzzFile(folder + "/grp00/05.sl", group);
  if (ACL_Open(folder.c_str(), ACL_OPEN_SEARCH_ONLY) != ACL_OPEN_OK) return 0;
  for (int word = 0; word < kWordCount; ++word) Search(word);
  ACL_Close();
  return 0;
}
