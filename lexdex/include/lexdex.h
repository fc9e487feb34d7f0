/* lexdex: the word-index engine of Pandecta.
 *
 * One index lives in one folder: a hint bitmap (hint.il) and one file per
 * group (grpXX/YY.sl). The caller feeds a group's words as elements (a word
 * plus two integers a and b of its own meaning) and searches one exact word
 * at a time, getting back (group, a, b) triples in ascending group order and,
 * within a group, in the order the elements were added.
 *
 * Typical use:
 *   ACL_Init();
 *   ACL_Open("/data/idx", ACL_OPEN_CREATE);
 *   ACL_BeginGroup(7);
 *   ACL_AddElem("renda", 5, 120, 3);       word bytes, length 1..255, a, b
 *   ACL_EndGroup();                        writes grp00/07.sl
 *   tacl_find *f = ACL_BeginFind("renda", 5);
 *   int t[3];
 *   while (ACL_Find(f, t) == 0) { ... }    t = {7, 120, 3}
 *   ACL_EndFind(f);
 *   ACL_Close();
 *   ACL_End();
 *
 * Calls outside the limits are ignored rather than undefined: words of length
 * 0 or over 255, groups outside 0..65535, calls while no index is open.
 * One thread; one open index per process.
 *
 * Searching an index opened with ACL_OPEN_SEARCH_ONLY reads, at a search's
 * first ACL_Find, the hint rows of its words and all the group files they
 * point to at once: on a local disk on up to two threads (through io_uring
 * where the kernel offers it), on a network folder with many requests in
 * flight, since there each open, read and close waits for the server. The
 * threads live only inside that call. The triples are kept in memory for
 * later searches of the process (64 MiB at most) as long as the hint file
 * keeps its size and times of change (every session that writes groups
 * changes it when it closes); triples read within 3 seconds of this process
 * first seeing those times serve only the session (ACL_Open to ACL_Close)
 * that read them, since a change within the same tick of the file system's
 * clock would not show in them. Within one session the caller keeps writers
 * out (the word index's directory lock does).
 */
#ifndef LEXDEX_H
#define LEXDEX_H

#include <stdio.h>

#if defined(_WIN32)
#  if defined(LEXDEX_BUILDING)
#    define LEXDEX_API __declspec(dllexport)
#  else
#    define LEXDEX_API __declspec(dllimport)
#  endif
#elif defined(__GNUC__)
#  define LEXDEX_API __attribute__((visibility("default")))
#else
#  define LEXDEX_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* An active search; owned by the engine, opaque to the caller. */
typedef struct tacl_find tacl_find;

/* Brackets the library's use in a process. */
LEXDEX_API void ACL_Init(void);
LEXDEX_API void ACL_End(void);

/* Open modes of ACL_Open (bits of its flags; the values are fixed). */
enum {
  /* Creates the folder (one level) and an empty hint.il. */
  ACL_OPEN_CREATE = 1,
  /* Opens an existing index for update. */
  ACL_OPEN_UPDATE = 2,
  /* Opens an existing index read-only; the hint file is never written. */
  ACL_OPEN_SEARCH_ONLY = 4
};

/* Results of ACL_Open. */
enum { ACL_OPEN_OK = 0, ACL_OPEN_FAILED = 1 };

/* Opens the index in `folder` in one of the modes above. Returns ACL_OPEN_OK,
 * or ACL_OPEN_FAILED when hint.il cannot be opened or created. */
LEXDEX_API int ACL_Open(const char *folder, int flags);
/* Writes cached hint blocks back (unless ACL_OPEN_SEARCH_ONLY) and closes the
 * index. */
LEXDEX_API void ACL_Close(void);
/* Deletes `folder` with all its files and subfolders (index closed). */
LEXDEX_API void ACL_Remove(const char *folder);

/* Building a group: BeginGroup, AddElem for each word, EndGroup. */
LEXDEX_API void ACL_BeginGroup(int group);
LEXDEX_API void ACL_AddElem(const char *word, int length, int a, int b);
LEXDEX_API void ACL_EndGroup(void);
/* Clears the group's hint bits and deletes its file (and its folder when that
 * becomes empty). A missing group is left alone. */
LEXDEX_API void ACL_DeleteGroup(int group);
/* 1 when a change to the index files failed since the last ACL_Open (a group
 * file, a deletion or hint blocks that did not reach the disk), else 0; still
 * answered after ACL_Close. Such an index may answer wrongly: rebuild it. */
LEXDEX_API int ACL_WriteFailed(void);
/* 1 if the group's file exists and opens for reading, else 0. */
LEXDEX_API int ACL_GroupExist(int group);

/* Binary search in a group file opened for reading and positioned at its
 * start. word: a length byte, then the bytes. Returns the word's number of
 * pairs (file left at the first pair), or 0 if absent or the file is damaged.
 * Example: word "\3abc" in a file holding abc with 3 pairs gives 3. */
LEXDEX_API int wfind(FILE *file, const unsigned char *word);

/* Searching one exact word. ACL_Find stores (group, a, b) in triple[0..2] and
 * returns 0, or returns 1 when there are no more triples (and keeps returning
 * 1). Any number of searches may be active at once. */
LEXDEX_API tacl_find *ACL_BeginFind(const char *word, int length);
LEXDEX_API int ACL_Find(tacl_find *find, int *triple);
LEXDEX_API void ACL_EndFind(tacl_find *find);

/* Extension for phrase searches. Like ACL_BeginFind(word, length), but the
 * search visits only the groups whose hint bits are also set for each of the
 * otherCount words others[i] (of lengths otherLengths[i]; invalid ones are
 * ignored). A group holding all the words is never skipped, so the triples
 * are exactly those of ACL_BeginFind that lie in groups which may hold every
 * word; a phrase matcher gets the same matches while group files that cannot
 * hold the whole phrase are never read. Ended with ACL_EndFind.
 * Example: "renda" among {"imposto"} returns renda's triples only from groups
 * where the hint bits of both words are set. */
LEXDEX_API tacl_find *ACL_BeginFindAmong(const char *word, int length, const char *const *others,
                                         const int *otherLengths, int otherCount);

/* Extension for searches that need only some groups. Limits a search begun
 * with ACL_BeginFind or ACL_BeginFindAmong, before its first ACL_Find, to the
 * `count` groups listed in `groups` (any order; numbers outside 0..65535 are
 * left out, and an empty list finds nothing): no group file of another group
 * is read, and the triples are exactly those of the unlimited search that lie
 * in the listed groups. A second call keeps the groups both lists name.
 * Ignored once the search has been stepped.
 * Example: int title = 30000; ACL_LimitFind(f, &title, 1) searches the title
 * group alone. */
LEXDEX_API void ACL_LimitFind(tacl_find *find, const int *groups, int count);

#ifdef __cplusplus
}
#endif

#endif /* LEXDEX_H */
