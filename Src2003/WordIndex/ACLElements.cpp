#include "ACLUnit.h"
#include "lexdex.h"

// The engine gets pointers into the text itself; nothing is copied per word.

int AddTextWords(char* text) {
  return SplitTextWords(text, [](const char* word, int length, int position, int ordinal) {
    ACL_AddElem(word, length, position, ordinal);
  });
}

void AddTitleWords(int group, int& ordinal, char* text) {
  SplitTextWords(text, [&](const char* word, int length, int, int) {
    ACL_AddElem(word, length, group, ordinal);
    ++ordinal;
  });
}
