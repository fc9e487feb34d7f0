// The exported C functions: thin wrappers over the one open index and the
// search records, which are the library's global state.

#include "lexdex.h"

#include <cstdint>

#include "GroupReader.h"
#include "Index.h"
#include "RemoveFolder.h"
#include "Search.h"

namespace {

lexdex::Index& TheIndex() {
  static lexdex::Index index;
  return index;
}

lexdex::SearchPool& TheSearches() {
  static lexdex::SearchPool pool;
  return pool;
}

const std::uint8_t* Bytes(const char* text) { return reinterpret_cast<const std::uint8_t*>(text); }

}  // namespace

extern "C" {

// The CRC table is built at compile time; nothing is left to set up or tear down.
void ACL_Init(void) {}
void ACL_End(void) {}

int ACL_Open(const char* folder, int flags) {
  if (folder == nullptr) return 1;
  TheSearches().ExhaustAll();  // searches never outlive the index they walk
  return TheIndex().Open(folder, flags);
}

void ACL_Close(void) {
  TheSearches().ExhaustAll();
  TheIndex().Close();
}

void ACL_Remove(const char* folder) {
  if (folder != nullptr && *folder != '\0') lexdex::RemoveFolder(folder);
}

void ACL_BeginGroup(int group) { TheIndex().BeginGroup(group); }

void ACL_AddElem(const char* word, int length, int a, int b) {
  TheIndex().AddElem(Bytes(word), length, a, b);
}

void ACL_EndGroup(void) { TheIndex().EndGroup(); }

void ACL_DeleteGroup(int group) { TheIndex().DeleteGroup(group); }

int ACL_WriteFailed(void) { return TheIndex().WriteFailed() ? 1 : 0; }

int ACL_GroupExist(int group) { return TheIndex().GroupExist(group) ? 1 : 0; }

int wfind(FILE* file, const unsigned char* word) {
  if (file == nullptr || word == nullptr || word[0] == 0) return 0;
  return static_cast<int>(lexdex::FindWordInGroupFile(file, word + 1, word[0]));
}

tacl_find* ACL_BeginFind(const char* word, int length) {
  tacl_find* record = TheSearches().Acquire();
  lexdex::Index& index = TheIndex();
  // Without an open index the search finds nothing.
  if (index.IsOpen()) index.RefreshForSearch();
  lexdex::BeginSearch(*record, Bytes(word), index.IsOpen() ? length : 0);
  return record;
}

tacl_find* ACL_BeginFindAmong(const char* word, int length, const char* const* others,
                              const int* otherLengths, int otherCount) {
  tacl_find* record = ACL_BeginFind(word, length);
  if (others == nullptr || otherLengths == nullptr) return record;
  for (int i = 0; i < otherCount; ++i) {
    lexdex::AlsoRequireWord(*record, Bytes(others[i]), otherLengths[i]);
  }
  return record;
}

void ACL_LimitFind(tacl_find* find, const int* groups, int count) {
  if (find != nullptr && find->active) lexdex::LimitSearchToGroups(*find, groups, count);
}

int ACL_Find(tacl_find* find, int* triple) {
  if (find == nullptr || triple == nullptr || !find->active || !TheIndex().IsOpen()) return 1;
  return lexdex::NextTriple(*find, TheIndex(), triple) ? 0 : 1;
}

void ACL_EndFind(tacl_find* find) { TheSearches().Release(find); }

}  // extern "C"
