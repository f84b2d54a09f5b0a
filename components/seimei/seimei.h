/*
 * seimei: the personal-name dictionary. Opens "Seimei.dic" (format: FORMAT.md beside this
 * file) and answers the written forms of a reading: every surname of the reading, most common
 * first, then every given name of it, each written form once.
 *
 * Texts cross this boundary in fixed fields: the dictionary path in the file system's own
 * encoding (UTF-8 here), readings and written forms in cp932. An input text ends at its first
 * NUL byte or at its field's end; trailing blanks (0x20) are not part of it. The length fields
 * the caller fills are not relied upon. A key is a reading in half-width katakana and is
 * looked up exactly as it is.
 *
 * Handles are numbers above 0, never reused within a process. Each handle keeps the
 * candidates of its last successful search for HNameDB_GetName. Calls may come from several
 * threads; one handle is meant for one thread at a time.
 *
 * Result codes:
 *   HNameDB_Open     0 opened; 1 missing record or handle, or an empty path; 2 the file cannot
 *                    be opened or mapped (missing, unreadable, empty); 3 the file is no name
 *                    dictionary of this format (damaged, truncated, foreign, other version);
 *                    4 out of memory. The handle is 0 unless the result is 0.
 *   HNameDB_Search   0 searched (the count may be 0); 1 unknown handle; 2 missing record or
 *                    an empty key; 5 the file shrank on disk since it was opened.
 *                    On any result but 0 the count is 0.
 *   HNameDB_GetName  0 filled; 1 unknown handle; 2 missing record; 3 index outside
 *                    0..count-1 of the last search; 5 damaged bytes met. On any result
 *                    but 0 the written form is empty.
 *   HNameDB_Close    0 closed; 1 unknown handle.
 */
#pragma once

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Open record, 148 bytes. */
typedef struct HNameOpenRec {
    int32_t reserved1;  /* 0 */
    int32_t pathLength; /* 4: twice the number of characters of the path */
    char path[128];     /* 8: full path of the dictionary file */
    int32_t reserved2;  /* 136 */
    int32_t reserved3;  /* 140 */
    int32_t reserved4;  /* 144 */
} HNameOpenRec;

/* Search record, 112 bytes. */
typedef struct HNameSearchRec {
    int32_t keyLength; /* 0: twice the number of characters of the key */
    char key[100];     /* 4: the reading in half-width katakana (cp932) */
    int32_t reserved;  /* 104: 0 */
    int32_t count;     /* 108: out: number of candidates */
} HNameSearchRec;

/* Candidate record, 320 bytes. */
typedef struct HNameCandidateRec {
    int32_t kind;        /* 0: out: 1 surname, 2 given name */
    int32_t index;       /* 4: out: the candidate index asked for */
    char name[100];      /* 8: out: the written form (cp932), NUL-ended unless 100 long */
    int32_t reserved1;   /* 108: out: 0 */
    char reserved2[100]; /* 112: out: zeros */
    int32_t reserved3;   /* 212: out: 0 */
    char reserved4[100]; /* 216: out: zeros */
    int32_t reserved5;   /* 316: out: 0 */
} HNameCandidateRec;

int32_t HNameDB_Open(const HNameOpenRec* open, int32_t* handle);
int32_t HNameDB_Search(int32_t handle, HNameSearchRec* search);
int32_t HNameDB_GetName(int32_t handle, int32_t index, HNameCandidateRec* candidate);
int32_t HNameDB_Close(int32_t handle);

#ifdef __cplusplus
}

static_assert(sizeof(HNameOpenRec) == 148, "HNameOpenRec layout");
static_assert(offsetof(HNameOpenRec, path) == 8 && offsetof(HNameOpenRec, reserved2) == 136,
              "HNameOpenRec fields");
static_assert(sizeof(HNameSearchRec) == 112, "HNameSearchRec layout");
static_assert(offsetof(HNameSearchRec, key) == 4 && offsetof(HNameSearchRec, reserved) == 104 &&
                  offsetof(HNameSearchRec, count) == 108,
              "HNameSearchRec fields");
static_assert(sizeof(HNameCandidateRec) == 320, "HNameCandidateRec layout");
static_assert(offsetof(HNameCandidateRec, name) == 8 &&
                  offsetof(HNameCandidateRec, reserved1) == 108 &&
                  offsetof(HNameCandidateRec, reserved2) == 112 &&
                  offsetof(HNameCandidateRec, reserved4) == 216 &&
                  offsetof(HNameCandidateRec, reserved5) == 316,
              "HNameCandidateRec fields");
#endif
