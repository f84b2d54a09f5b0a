/*
 * xchdb: the alternate directory engine. Reads "XCHDB.DIC" from the dictionary folder, with
 * the optional delta "xchdbad.dic" from the delta folder (format:
 * components/dictfmt/FORMAT.md). Records are fixed-width; their texts are cp932, the first
 * "length" bytes of the field count, the rest is padded with spaces, and a text too long
 * for its field is cut at a character boundary. Folders are plain paths in the file
 * system's encoding (UTF-8 on Linux; "/" separators).
 *
 * Every function returns 0 on success. Other results:
 *   hXchDB_Open    -1 missing record or handle, or a path length outside 0..128,
 *                  -2 no dictionary file (or an empty dictionary path; also the failure
 *                  the test build injects), -3 out of memory,
 *                  -4 dictionary unreadable (damaged, truncated, foreign, other format
 *                  version, built for the other engine), -6 delta present but unreadable
 *   hXchDB_GetL12  -1 no such handle or no record, -2 index outside 0..area count-1,
 *                  -4 read problem (only injected by the test build; the record is untouched)
 *   hXchDB_Search  -1 no such handle, -3 out of memory, -4 data read problem, -5 failed
 *                  (unknown search kind, no record or count),
 *                  -20 number (kind 2: length outside 1..20, not digits, too long),
 *                  -21 address (kind 1: city code not 1-99999; town length outside 0..40,
 *                  not cp932 or control characters; the unused field at 60 not empty),
 *                  -22 name (person kind not 1, 2 or 3; name length outside 0..80, not
 *                  cp932 or control characters)
 *   hXchDB_Getrec  -1 no such handle or no record, -2 index outside 0..count-1,
 *                  -4 data read problem
 *   hXchDB_Release, hXchDB_Close  -1 no such handle
 */
#pragma once

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef int32_t XchHandle;

typedef struct XchOpenRec {
    int32_t dictPathLength;  /* 0 */
    char dictPath[128];      /* 4: dictionary folder (the CD-ROM root, or the hard-disk folder) */
    int32_t reserved[6];     /* 132: zero */
    int32_t areaCount;       /* 156: written by hXchDB_Open */
    int32_t deltaPathLength; /* 160 */
    char deltaPath[128];     /* 164: delta folder */
} XchOpenRec;

/* Kind 1: the listings of one city whose name (or, for individuals, reading) matches the
 * name pattern ("*" is any run of characters) and whose town begins with the town text
 * (an empty town: any). Kind 2: the listings of a number. Person kind 1 individual,
 * 2 corporate, 3 both. */
typedef struct XchCondRec {
    int32_t searchKind;        /* 0: 1 name, 2 number */
    int32_t personKind;        /* 4 */
    int32_t cityCode;          /* 8 */
    int32_t townLength;        /* 12 */
    char town[40];             /* 16 */
    int32_t unusedLength;      /* 56: must be 0 */
    char unused[40];           /* 60 */
    int32_t namePatternLength; /* 100 */
    char namePattern[80];      /* 104 */
    int32_t numberLength;      /* 184 */
    char number[20];           /* 188: digits only */
} XchCondRec;

typedef struct XchResultRec {
    int32_t personKind;   /* 0 */
    int32_t cityCode;     /* 4: prefecture and city through the area table */
    int32_t numberLength; /* 8 */
    char number[16];      /* 12: hyphenated */
    int32_t zipLength;    /* 28 */
    char zip[12];         /* 32 */
    int32_t nameLength;   /* 44 */
    char name[120];       /* 48 */
    int32_t townLength;   /* 168 */
    char town[48];        /* 172 */
    int32_t blockLength;  /* 220 */
    char block[48];       /* 224 */
} XchResultRec;

typedef struct XchAreaRec {
    int32_t cityCode;       /* 0 */
    int32_t prefNameLength; /* 4 */
    char prefName[12];      /* 8 */
    int32_t cityNameLength; /* 20 */
    char cityName[24];      /* 24 */
} XchAreaRec;

int16_t hXchDB_Open(XchOpenRec* open, XchHandle* handle);
int16_t hXchDB_GetL12(XchHandle handle, int16_t index, XchAreaRec* area);
int16_t hXchDB_Search(XchHandle handle, const XchCondRec* cond, int32_t* count);
int16_t hXchDB_Getrec(XchHandle handle, int32_t index, XchResultRec* rec);
int16_t hXchDB_Release(XchHandle handle);
int16_t hXchDB_Close(XchHandle handle);

#ifdef __cplusplus
}

static_assert(sizeof(XchOpenRec) == 292 && offsetof(XchOpenRec, areaCount) == 156 &&
                  offsetof(XchOpenRec, deltaPath) == 164,
              "XchOpenRec layout");
static_assert(sizeof(XchCondRec) == 208 && offsetof(XchCondRec, town) == 16 &&
                  offsetof(XchCondRec, unused) == 60 && offsetof(XchCondRec, namePattern) == 104 &&
                  offsetof(XchCondRec, number) == 188,
              "XchCondRec layout");
static_assert(sizeof(XchResultRec) == 272 && offsetof(XchResultRec, number) == 12 &&
                  offsetof(XchResultRec, zip) == 32 && offsetof(XchResultRec, name) == 48 &&
                  offsetof(XchResultRec, town) == 172 && offsetof(XchResultRec, block) == 224,
              "XchResultRec layout");
static_assert(sizeof(XchAreaRec) == 48 && offsetof(XchAreaRec, prefName) == 8 &&
                  offsetof(XchAreaRec, cityName) == 24,
              "XchAreaRec layout");
#endif
