/*
 * Failure injection of the test build of xchdb (library pikotel_xchdb_testhooks): the next
 * n calls of hXchDB_Open, or of hXchDB_GetL12, fail as a slow or absent CD-ROM would make
 * them fail, so that the program's retry loops can be shown. Not in the normal build.
 */
#pragma once

#ifdef __cplusplus
extern "C" {
#endif

void xchdb_test_fail_next_opens(int n);
void xchdb_test_fail_next_area_fetches(int n);

#ifdef __cplusplus
}
#endif
