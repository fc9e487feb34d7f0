// wordindex_lock_holder FOLDER create|update|search
//
// Another process holding the word index at FOLDER, for the tests of waiting
// for it: opens the index in the given way, prints "locked", and keeps it
// until a line (or the end of input) arrives on standard input.

#include <cstdio>
#include <iostream>
#include <memory>
#include <string>

#include "WordIndex.h"
#include "WordIndexLockSearch.h"
#include "WordIndexLockWrite.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "uso: wordindex_lock_holder PASTA create|update|search\n");
    return 2;
  }
  const std::string mode = argv[2];
  try {
    TWordIndex index{std::string(argv[1])};
    std::unique_ptr<TWordIndexLock> lock;
    if (mode == "create") lock = index.OpenCreate();
    else if (mode == "update") lock = index.OpenUpdate();
    else lock = index.OpenSearch("qualquer");
    std::printf("locked\n");
    std::fflush(stdout);
    std::string line;
    std::getline(std::cin, line);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "%s\n", error.what());
    return 1;
  }
  return 0;
}
