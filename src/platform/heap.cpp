#include "heap.h"

// Before any test of __GLIBC__, which the C library's own headers define.
#include <cstdlib>

#ifdef __GLIBC__
#include <malloc.h>
#endif

void useProgramHeap()
{
#ifdef __GLIBC__
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
    mallopt(M_ARENA_MAX, 1);
#endif
}

void releaseFreedMemory()
{
#ifdef __GLIBC__
    malloc_trim(0);
#endif
}
