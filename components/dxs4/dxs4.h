/*
 * dxs4: the directory search engine. Reads "dxs9999.dct" from the hard-disk dictionary folder
 * or the CD-ROM root, with the optional delta "DXS5001.dct" from the delta folder (format:
 * components/dictfmt/FORMAT.md). Texts cross this boundary as NUL-terminated cp932 bytes;
 * folders are plain paths in the file system's encoding (UTF-8 on Linux; "/" separators; a
 * CD-ROM root ends with "/").
 *
 * Opening into a block that still holds an open dictionary (or assigning into a block that
 * holds a search handle) gives that one up first: a block reused after a CD-ROM was taken
 * out does not keep the old files mapped. Hits of an earlier search handle stay readable
 * until that handle is released.
 *
 * Calls come from one thread. Records keep their field order; pointers have the platform's
 * size, so the byte offsets of a 32-bit build (given beside each field) hold only there.
 *
 * Result codes (0 is success everywhere):
 *   Dxs4_OpenDic        -1 missing record or block, -2 no dictionary file,
 *                       -3 out of memory, -4 dictionary unreadable (damaged, truncated,
 *                       foreign, other format version, built for the other engine),
 *                       -6 delta dictionary present but unreadable
 *   Dxs4_Search         -1 no search handle, -3 out of memory, -4 data read problem,
 *                       -5 failed (unknown search kind, negative hit limit, no count),
 *                       -20 number (kind 1: empty, more than 18 digits, not digits),
 *                       -21 address (kind 2: city code not 1-99999; town pattern not cp932
 *                       or control characters; the unused text at offset 32 not empty),
 *                       -22 name (person kind not 0, 1 or 2 — 0 only for a number search;
 *                       name pattern not cp932 or control characters),
 *                       -23 industry (the unused text at offset 52 not empty)
 *   Dxs4_GetRec         -1 no search handle, -2 index outside 0..count-1, -4 data read
 *                       problem
 */
#pragma once

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Open record: the folder texts with their cp932 byte lengths (24 bytes on 32-bit). */
typedef struct DxsOpenRec {
    int32_t hddPathLength;   /* 0 */
    const char* hddPath;     /* 4: hard-disk dictionary folder, "" for CD-ROM */
    int32_t cdromPathLength; /* 8 */
    const char* cdromPath;   /* 12: CD-ROM root, "" for hard disk */
    int32_t deltaPathLength; /* 16 */
    const char* deltaPath;   /* 20: delta folder, may be "" */
} DxsOpenRec;

/* Caller-owned engine blocks; their content is the engine's. */
typedef struct DxsDicHandle {
    unsigned char block[64];
} DxsDicHandle;

typedef struct DxsSearchHandle {
    unsigned char block[64];
} DxsSearchHandle;

/* One city of the area table (24 bytes on 32-bit). */
typedef struct DxsAreaRec {
    int32_t cityCode;       /* 0 */
    int32_t prefNameLength; /* 4 */
    const char* prefName;   /* 8 */
    int32_t cityNameLength; /* 12 */
    const char* cityName;   /* 16 */
    int32_t reserved;       /* 20 */
} DxsAreaRec;

/* Dictionary information (116 bytes on 32-bit). The area table stays valid until
 * Dxs4_CloseDic. */
typedef struct DxsDicInfo {
    int32_t formatVersion;      /* 0 */
    int32_t listingCount;       /* 4: main dictionary */
    int32_t deltaListingCount;  /* 8: listings the delta adds or replaces */
    int32_t deltaMaskedCount;   /* 12: numbers the delta replaces or removes */
    char buildDate[20];         /* 16: "YYYY/MM/DD hh:mm:ss" (UTC), NUL-terminated */
    DxsAreaRec** areaTable;     /* 36 */
    int32_t areaCount;          /* 40 */
    unsigned char reserved[72]; /* 44 */
} DxsDicInfo;

/* Search condition (336 bytes on 32-bit). Kind 1: number search over the whole directory;
 * kind 2: the listings of one city whose name (or, for individuals, reading) matches the
 * name pattern and whose town matches the town pattern, at most hitLimit (0: all). In
 * patterns "*" is any run of characters; everything else stands for itself. */
typedef struct DxsCondRec {
    int32_t searchKind;          /* 0: 1 number, 2 name */
    int32_t hitLimit;            /* 4 */
    int32_t numberLength;        /* 8 */
    const char* number;          /* 12: digits only */
    int32_t cityCode;            /* 16 */
    int32_t townPatternLength;   /* 20 */
    const char* townPattern;     /* 24 */
    int32_t unused1Length;       /* 28 */
    const char* unused1;         /* 32: must be empty */
    int32_t personKind;          /* 36: 0 both (number search), 1 individual, 2 corporate */
    int32_t namePatternLength;   /* 40 */
    const char* namePattern;     /* 44 */
    int32_t unused2Length;       /* 48 */
    const char* unused2;         /* 52: must be empty */
    unsigned char reserved[280]; /* 56 */
} DxsCondRec;

/* One hit (92 bytes on 32-bit). Texts are owned by the engine and stay valid until the next
 * search, Dxs4_ReleaseResultMem or Dxs4_ReleaseSearchHandle on the same handle; each length
 * is its text's byte count. */
typedef struct DxsResultRec {
    int32_t hitIndex;            /* 0 */
    int32_t cityCode;            /* 4 */
    int32_t personKind;          /* 8 */
    int32_t reserved1;           /* 12 */
    const char* number;          /* 16: as the directory prints it, hyphenated */
    int32_t numberLength;        /* 20 */
    const char* zip;             /* 24 */
    int32_t zipLength;           /* 28 */
    const char* name;            /* 32 */
    int32_t nameLength;          /* 36 */
    const char* prefName;        /* 40 */
    int32_t prefNameLength;      /* 44 */
    const char* cityName;        /* 48 */
    int32_t cityNameLength;      /* 52 */
    const char* town;            /* 56 */
    int32_t townLength;          /* 60 */
    const char* block;           /* 64 */
    int32_t blockLength;         /* 68 */
    unsigned char reserved2[20]; /* 72 */
} DxsResultRec;

/* Progress of Dxs4_CopyDic in percent; a nonzero return cancels the copy. */
typedef int32_t (*DxsCallback1)(int32_t percent);

int32_t Dxs4_OpenDic(const DxsOpenRec* open, DxsDicHandle* dic, DxsDicInfo* info);
int32_t Dxs4_AssignSearchHandle(DxsDicHandle* dic, DxsSearchHandle* search);
int32_t Dxs4_Search(DxsSearchHandle* search, const DxsCondRec* cond, int32_t* count);
int32_t Dxs4_GetRec(DxsSearchHandle* search, int32_t index, DxsResultRec* rec);
int32_t Dxs4_ReleaseResultMem(DxsSearchHandle* search);
int32_t Dxs4_ReleaseSearchHandle(DxsSearchHandle* search);
int32_t Dxs4_CloseDic(DxsDicHandle* dic);

/* Copies the open dictionary (and its delta) into a folder (a path of the given byte
 * length), reporting progress to the callback set with Dxs4_SetCallbackFunc1. 0 copied,
 * -1 no handle or folder, -2 cancelled, -4 a file could not be read or written. */
int32_t Dxs4_CopyDic(DxsDicHandle* dic, int32_t folderLength, const char* folder);
/* Sets (or, with NULL, clears) the progress callback of Dxs4_CopyDic. */
int32_t Dxs4_SetCallbackFunc1(DxsCallback1 callback);

#ifdef __cplusplus
}

static_assert(sizeof(void*) != 4 || sizeof(DxsOpenRec) == 24, "DxsOpenRec layout");
static_assert(sizeof(DxsDicHandle) == 64 && sizeof(DxsSearchHandle) == 64, "engine blocks");
static_assert(sizeof(void*) != 4 || sizeof(DxsAreaRec) == 24, "DxsAreaRec layout");
static_assert(sizeof(void*) != 4 || sizeof(DxsDicInfo) == 116, "DxsDicInfo layout");
static_assert(sizeof(void*) != 4 || sizeof(DxsCondRec) == 336, "DxsCondRec layout");
static_assert(sizeof(void*) != 4 || sizeof(DxsResultRec) == 92, "DxsResultRec layout");
static_assert(offsetof(DxsDicInfo, areaTable) == (sizeof(void*) == 4 ? 36 : 40), "area table");
static_assert(offsetof(DxsResultRec, number) == 16, "hit texts start at 16");
static_assert(offsetof(DxsCondRec, searchKind) == 0 && offsetof(DxsCondRec, hitLimit) == 4 &&
                  offsetof(DxsCondRec, numberLength) == 8,
              "condition head");
#endif
