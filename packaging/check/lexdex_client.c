/* A program of someone else's, built against the installed liblexdex-dev:
 * indexes one word in a new index folder and finds it again.
 *   lexdex_client FOLDER   exit 0 when the word comes back as written */
#include <stdio.h>
#include <string.h>

#include <lexdex.h>

enum { kGroup = 7, kPosition = 120, kLength = 3 };

int main(int argc, char **argv) {
  if (argc != 2) {
    fprintf(stderr, "uso: lexdex_client PASTA\n");
    return 2;
  }
  ACL_Init();
  if (ACL_Open(argv[1], ACL_OPEN_CREATE) != ACL_OPEN_OK) {
    fprintf(stderr, "ACL_Open falhou em %s\n", argv[1]);
    return 1;
  }
  ACL_BeginGroup(kGroup);
  ACL_AddElem("renda", (int)strlen("renda"), kPosition, kLength);
  ACL_EndGroup();
  ACL_Close();

  ACL_Open(argv[1], ACL_OPEN_SEARCH_ONLY);
  tacl_find *find = ACL_BeginFind("renda", (int)strlen("renda"));
  int triple[3] = {0, 0, 0};
  int found = find && ACL_Find(find, triple) == 0;
  if (find) ACL_EndFind(find);
  ACL_Close();
  ACL_End();
  if (!found || triple[0] != kGroup || triple[1] != kPosition || triple[2] != kLength) {
    fprintf(stderr, "renda: encontrado %d, {%d, %d, %d}\n", found, triple[0], triple[1], triple[2]);
    return 1;
  }
  printf("renda: grupo %d, %d:%d\n", triple[0], triple[1], triple[2]);
  return 0;
}
