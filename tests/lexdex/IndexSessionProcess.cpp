// lexdex_session_process: the engine in a process of its own, as another
// program (or another machine) sharing an index folder uses it.
//
//   lexdex_session_process write FOLDER GROUP WORD:A:B...
//       one update session: the group is deleted if it exists and written
//       anew with the given elements, then the index is closed (every hint
//       block used is written back); creates the index when there is none.
//   lexdex_session_process search FOLDER
//       reads lines "find WORD" and answers each with one search session
//       (open for search only, find, close), as the program searches:
//       "GROUP:A:B GROUP:A:B ... | reads N", N being the read calls the
//       search made (from /proc/self/io), so that a caller sees whether
//       files were read or the answer came from memory. "quit" ends.

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "lexdex.h"

namespace {

constexpr int kFound = 0;

long long ReadCalls() {
  std::ifstream io("/proc/self/io");
  std::string name;
  long long value = 0;
  while (io >> name >> value) {
    if (name == "syscr:") return value;
  }
  return -1;
}

int Write(const std::string& folder, int group, const std::vector<std::string>& elements) {
  if (ACL_Open(folder.c_str(), ACL_OPEN_UPDATE) != ACL_OPEN_OK &&
      ACL_Open(folder.c_str(), ACL_OPEN_CREATE) != ACL_OPEN_OK) {
    std::fprintf(stderr, "cannot open %s\n", folder.c_str());
    return 1;
  }
  if (ACL_GroupExist(group)) ACL_DeleteGroup(group);
  ACL_BeginGroup(group);
  for (const std::string& element : elements) {
    char word[256] = {};
    int a = 0;
    int b = 0;
    if (std::sscanf(element.c_str(), "%255[^:]:%d:%d", word, &a, &b) != 3) return 2;
    ACL_AddElem(word, static_cast<int>(std::strlen(word)), a, b);
  }
  ACL_EndGroup();
  ACL_Close();
  return 0;
}

// Looking at /proc/self/io costs read calls itself.
long long ReadCallsOfALook() {
  const long long before = ReadCalls();
  return ReadCalls() - before;
}

std::string Search(const std::string& folder, const std::string& word) {
  static const long long lookCost = ReadCallsOfALook();
  const long long before = ReadCalls();
  if (ACL_Open(folder.c_str(), ACL_OPEN_SEARCH_ONLY) != ACL_OPEN_OK) return "cannot open";
  tacl_find* find = ACL_BeginFind(word.data(), static_cast<int>(word.size()));
  std::string answer;
  int triple[3] = {};
  while (ACL_Find(find, triple) == kFound) {
    answer += std::to_string(triple[0]) + ':' + std::to_string(triple[1]) + ':' + std::to_string(triple[2]) + ' ';
  }
  ACL_EndFind(find);
  ACL_Close();
  return answer + "| reads " + std::to_string(ReadCalls() - before - lookCost);
}

int Serve(const std::string& folder) {
  for (std::string line; std::getline(std::cin, line) && line != "quit";) {
    std::istringstream request(line);
    std::string command, word;
    request >> command >> word;
    std::cout << (command == "find" ? Search(folder, word) : "unknown request") << std::endl;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  ACL_Init();
  int result = 2;
  if (argc >= 4 && std::strcmp(argv[1], "write") == 0) {
    result = Write(argv[2], std::atoi(argv[3]), std::vector<std::string>(argv + 4, argv + argc));
  } else if (argc == 3 && std::strcmp(argv[1], "search") == 0) {
    result = Serve(argv[2]);
  } else {
    std::fprintf(stderr, "usage: lexdex_session_process write FOLDER GROUP WORD:A:B... | search FOLDER\n");
  }
  ACL_End();
  return result;
}
